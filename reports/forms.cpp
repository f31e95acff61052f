#include "reports/forms.h"

#include "reports/frame.h"

namespace reports {

namespace {
const std::vector<ReportDef> &all() {
    static const std::vector<ReportDef> defs = [] {
        std::vector<ReportDef> d;
        addListings(d);
        addLetters(d);
        addCardAndCheque(d);
        addReceipts(d);
        return d;
    }();
    return defs;
}

QVariantHash toHash(const cr::ResultSet &rs, int row) {
    QVariantHash h;
    for (int c = 0; c < rs.columns.size(); ++c) {
        const QString name = rs.columns[c].name.toLower();
        if (!h.contains(name)) h.insert(name, rs.rows[row].value(c, rs.columns[c]));
    }
    return h;
}
}  // namespace

const ReportDef *findReport(const QString &name) {
    for (const ReportDef &d : all())
        if (d.name == name) return &d;
    return nullptr;
}

QStringList reportNames() {
    QStringList n;
    for (const ReportDef &d : all()) n << d.name;
    return n;
}

QVariantHash firstRow(cr::Connection &conn, const QString &sql, const cr::Params &params) {
    const cr::ResultSet rs = conn.select(sql, params);
    return rs.rows.isEmpty() ? QVariantHash() : toHash(rs, 0);
}

QList<QVariantHash> allRows(cr::Connection &conn, const QString &sql, const cr::Params &params) {
    const cr::ResultSet rs = conn.select(sql, params);
    QList<QVariantHash> out;
    for (int i = 0; i < rs.rows.size(); ++i) out << toHash(rs, i);
    return out;
}

QString keyText(const QVariant &v) { return rpt::formatValue(v, QString()); }

namespace form {

using namespace rpt;

Band titles(const std::vector<Col> &cols, const QStringList &texts, bool framed, BandKind kind) {
    Band b = band(kind, 6.5, {});
    for (size_t i = 0; i < cols.size() && int(i) < texts.size(); ++i)
        b.items.push_back(
            label(cols[i].x, 0.8, cols[i].w, texts[int(i)], 8.5, true, cols[i].align));
    if (framed) {
        b.framed = true;
    } else {
        const double right = cols.back().x + cols.back().w;
        b.items.push_back(hline(0, 6, right, 0.25));
    }
    return b;
}

Band row(const std::vector<Col> &cols, const QStringList &fields, const QStringList &masks) {
    Band b = band(BandKind::Detail, 4.6, {});
    for (size_t i = 0; i < cols.size() && int(i) < fields.size(); ++i)
        b.items.push_back(field(cols[i].x, 0.3, cols[i].w, fields[int(i)], masks.value(int(i)),
                                cols[i].align, 8.5));
    return b;
}

Band pageHeader(double width, ItemKind dateKind, const QString &datePrefix,
                const QString &pagePrefix, bool framed) {
    Band b = band(BandKind::PageHeader, framed ? 15 : 14,
                  {text(framed ? 2 : 0, 1, width - 80, kCompany, {}, 12, true),
                   sys(dateKind, width - 72, 1.5, framed ? 70 : 72, datePrefix, 9, Align::Right),
                   text(framed ? 2 : 0, 7.5, width - 60, kTitle, {}, 10, true),
                   sys(ItemKind::PageNumber, width - 42, 7.5, framed ? 40 : 42, pagePrefix, 9,
                       Align::Right)});
    if (framed) {
        b.items.push_back(rect(0, 0, width, 14));
    } else {
        b.items.push_back(hline(0, 13.5, width, 0.4));
    }
    return b;
}

Item labelBefore(const Col &valueCol, double labelWidth, const QString &textValue, bool bold) {
    return label(valueCol.x - labelWidth - 1, 0.5, labelWidth, textValue, 8.5, bold, Align::Right);
}

}  // namespace form

}  // namespace reports
