#include "reports/engine/engine.h"

#include <cmath>

#include "app/brformat.h"

namespace rpt {

namespace {

bool sameKey(const QVariant &a, const QVariant &b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

// Sum items hold their slot number in `field` once compiled; the original
// field name moves to the slot.
void compileSums(std::vector<Band> &bands, std::vector<QString> &fields, std::vector<Expr> &exprs,
                 std::vector<int> *footerSlots) {
    for (Band &b : bands)
        for (Item &it : b.items)
            if (it.kind == ItemKind::Sum) {
                fields.push_back(it.field);
                exprs.push_back(it.expr);
                it.field = QString::number(fields.size() - 1);
                if (footerSlots) footerSlots->push_back(int(fields.size() - 1));
            }
}

}  // namespace

Engine::Engine(const Layout &layout, PageSink &sink, const QDateTime &now)
    : m_layout(layout), m_sink(sink), m_now(now), m_paper(paperSpec(layout.paper)) {
    std::vector<QString> fields;
    std::vector<Expr> exprs;
    for (auto *bands : {&m_layout.pageHeader, &m_layout.title, &m_layout.columnHeader,
                        &m_layout.detail, &m_layout.summary, &m_layout.pageFooter})
        compileSums(*bands, fields, exprs, nullptr);
    for (Group &g : m_layout.groups) {
        compileSums(g.headers, fields, exprs, nullptr);
        m_groupFooterSlots.emplace_back();
        compileSums(g.footers, fields, exprs, &m_groupFooterSlots.back());
    }
    for (size_t i = 0; i < fields.size(); ++i) m_sums.push_back({fields[i], exprs[i], 0});

    double footer = 0;
    for (const Band &b : m_layout.pageFooter) footer += b.height;
    m_bottom = m_paper.sizeMm.height() - m_paper.marginsMm.bottom() - footer;
    m_sink.begin(m_layout);
}

Engine::~Engine() = default;

QVariant Engine::keyOf(const Group &g, const Record &rec) const {
    return g.key ? g.key(rec) : rec.value(g.field);
}

void Engine::add(const Record &rec) {
    if (m_finished) return;
    if (m_layout.maxRows >= 0 && m_rows >= m_layout.maxRows) return;

    std::vector<QVariant> keys;
    keys.reserve(m_layout.groups.size());
    for (const Group &g : m_layout.groups) keys.push_back(keyOf(g, rec));

    size_t changed = 0;
    if (m_prev) {
        changed = keys.size();
        for (size_t i = 0; i < keys.size(); ++i)
            if (!sameKey(keys[i], m_prevKeys[i])) {
                changed = i;
                break;
            }
        closeGroups(changed);
    }
    openGroups(changed, rec);

    // The page break comes first, so the page it closes counts only its rows.
    if (!m_layout.detail.empty()) makeRoom(m_layout.detail.front(), &rec);
    ++m_rows;
    for (SumSlot &s : m_sums) {
        const QVariant v = s.expr ? s.expr(rec) : rec.value(s.field);
        if (!v.isNull()) s.value += v.toDouble();
    }
    for (const Band &b : m_layout.detail) place(b, &rec);

    m_prev = rec.clone();
    m_prevKeys = std::move(keys);
}

void Engine::closeGroups(size_t from) {
    for (size_t i = m_layout.groups.size(); i-- > from;) {
        for (const Band &b : m_layout.groups[i].footers) place(b, m_prev.get());
        // A group's sums start again after its footer has printed them.
        for (int slot : m_groupFooterSlots[i]) m_sums[slot].value = 0;
    }
}

void Engine::openGroups(size_t from, const Record &rec) {
    for (size_t i = from; i < m_layout.groups.size(); ++i) {
        const Group &g = m_layout.groups[i];
        if (g.newPage && m_page && m_pageHasBody) closePage();
        for (const Band &b : g.headers) place(b, &rec);
    }
}

void Engine::finish() {
    if (m_finished) return;
    if (m_prev) closeGroups(0);
    for (const Band &b : m_layout.summary) place(b, m_prev.get());
    if (!m_page) openPage(m_prev.get());
    closePage();
    m_finished = true;
    m_sink.end();
}

void Engine::openPage(const Record *rec) {
    m_page = std::make_unique<Page>();
    m_page->number = ++m_pageNumber;
    m_page->sizeMm = m_paper.sizeMm;
    m_page->originMm = QPointF(m_paper.marginsMm.left(), m_paper.marginsMm.top());
    m_y = m_paper.marginsMm.top();
    m_pageHasBody = false;
    for (const Band &b : m_layout.pageHeader) place(b, rec, false);
    if (m_pageNumber == 1)
        for (const Band &b : m_layout.title) place(b, rec, false);
    for (const Band &b : m_layout.columnHeader) place(b, rec, false);
}

void Engine::closePage() {
    if (!m_page) return;
    m_y = m_bottom;
    const Record *rec = m_prev.get();
    for (const Band &b : m_layout.pageFooter) place(b, rec, false);
    Page done = std::move(*m_page);
    m_page.reset();
    m_sink.page(std::move(done));
}

void Engine::makeRoom(const Band &band, const Record *rec) {
    if (!m_page) openPage(rec);
    const bool tooTall = band.fillPage ? m_pageHasBody : m_y + band.height > m_bottom + 1e-6;
    if (tooTall && m_pageHasBody) {
        closePage();
        openPage(rec);
    }
}

void Engine::place(const Band &band, const Record *rec, bool body) {
    if (body)
        makeRoom(band, rec);
    else if (!m_page)
        openPage(rec);
    const double h = band.fillPage ? std::max(band.height, m_bottom - m_y) : band.height;
    const double x0 = m_paper.marginsMm.left();
    PrintedBand pb;
    pb.kind = band.kind;
    pb.mm = QRectF(
        x0, m_y, m_paper.sizeMm.width() - m_paper.marginsMm.left() - m_paper.marginsMm.right(), h);
    if (band.framed) {
        PrintedItem r;
        r.kind = PrintedItem::Rect;
        r.mm = pb.mm;
        pb.items.push_back(r);
    }
    for (const Item &it : band.items) pb.items.push_back(render(it, rec, x0, m_y));
    m_page->bands.push_back(std::move(pb));
    m_y += h;
    if (body) m_pageHasBody = true;
}

PrintedItem Engine::render(const Item &it, const Record *rec, double x, double y) {
    PrintedItem out;
    out.mm = it.mm.translated(x, y);
    out.align = it.align;
    out.pt = it.pt;
    out.bold = it.bold;
    out.boxed = it.boxed;
    switch (it.kind) {
        case ItemKind::Line:
            out.kind = PrintedItem::Line;
            return out;
        case ItemKind::Rect:
            out.kind = PrintedItem::Rect;
            return out;
        case ItemKind::Label:
            out.text = it.text;
            return out;
        case ItemKind::Field: {
            QVariant v;
            if (rec) v = it.expr ? it.expr(*rec) : rec->value(it.field);
            out.text = it.text + formatValue(v, it.mask);
            if (!it.mask.isEmpty() && !v.isNull() && it.text.isEmpty()) out.raw = v.toDouble();
            return out;
        }
        case ItemKind::Text:
            out.text = it.text + m_layout.texts.value(it.field);
            return out;
        case ItemKind::Date:
            out.text = it.text + br::formatDate(m_now.date());
            return out;
        case ItemKind::DateTime:
            out.text = it.text + br::formatDateTime(m_now);
            return out;
        case ItemKind::Time:
            out.text = it.text + br::formatTime(m_now.time());
            return out;
        case ItemKind::PageNumber:
            out.text = it.text + QString::number(m_pageNumber);
            return out;
        case ItemKind::RowCount:
            out.text = it.text + br::formatFloat(QStringLiteral("###,##0.###"), m_rows);
            if (it.text.isEmpty()) out.raw = m_rows;
            return out;
        case ItemKind::Sum: {
            const double v = m_sums[size_t(it.field.toInt())].value;
            out.text = it.text + br::formatFloat(it.mask, v);
            if (it.text.isEmpty()) out.raw = v;
            return out;
        }
    }
    return out;
}

}  // namespace rpt
