#include "reports/engine/page.h"

#include <algorithm>
#include <cmath>

namespace rpt {

std::vector<TextLine> textLines(const Page &page) {
    std::vector<TextLine> out;
    for (const PrintedBand &band : page.bands) {
        std::vector<TextLine> lines;
        for (const PrintedItem &it : band.items) {
            if (it.kind != PrintedItem::Text || it.text.isEmpty()) continue;
            const double y = std::round(it.mm.top() * 2) / 2;
            auto found = std::find_if(lines.begin(), lines.end(),
                                      [&](const TextLine &l) { return std::fabs(l.y - y) < 1.0; });
            if (found == lines.end()) {
                lines.push_back({y, page.originMm.x(), {}});
                found = lines.end() - 1;
            }
            found->items.push_back(&it);
        }
        std::stable_sort(lines.begin(), lines.end(),
                         [](const TextLine &a, const TextLine &b) { return a.y < b.y; });
        for (TextLine &l : lines) {
            std::stable_sort(l.items.begin(), l.items.end(),
                             [](const PrintedItem *a, const PrintedItem *b) {
                                 return a->mm.left() < b->mm.left();
                             });
            out.push_back(std::move(l));
        }
    }
    return out;
}

QString lineText(const TextLine &line, double mmPerChar) {
    QString out;
    for (const PrintedItem *it : line.items) {
        const QString t = it->text.simplified();
        const QRectF r = it->mm.translated(-line.left, 0);
        int col = int(std::lround(r.left() / mmPerChar));
        if (it->align == Align::Right)
            col = int(std::lround(r.right() / mmPerChar)) - int(t.size());
        else if (it->align == Align::Center)
            col = int(std::lround(r.center().x() / mmPerChar)) - int(t.size()) / 2;
        // Never let a text run into the one before it.
        if (!out.isEmpty()) col = std::max(col, int(out.size()) + 1);
        col = std::max(col, 0);
        out += QString(col - out.size(), u' ');
        out += t;
    }
    return out;
}

}  // namespace rpt
