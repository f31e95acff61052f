#include "reports/engine/layout.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

#include "app/brformat.h"

namespace rpt {

PaperSpec paperSpec(Paper paper) {
    switch (paper) {
        case Paper::A4Portrait:
            return {{210, 297}, {10, 10, 10, 10}};
        case Paper::A4Landscape:
            return {{297, 210}, {10, 10, 10, 10}};
        case Paper::LetterPortrait:
            return {{215.9, 279.4}, {10, 10, 10, 10}};
        case Paper::Receipt74x120:
            return {{74, 120}, {0, 0, 0, 0}};
        case Paper::Receipt74x165:
            return {{74, 165}, {0, 0, 0, 0}};
    }
    return {{210, 297}, {10, 10, 10, 10}};
}

QPageLayout pageLayout(Paper paper) {
    const QMarginsF none;
    switch (paper) {
        case Paper::A4Portrait:
            return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, none);
        case Paper::A4Landscape:
            return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, none);
        case Paper::LetterPortrait:
            return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, none);
        default: {
            const QSizeF mm = paperSpec(paper).sizeMm;
            return QPageLayout(
                QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, none);
        }
    }
}

QString bandKindName(BandKind kind) {
    switch (kind) {
        case BandKind::PageHeader:
            return QStringLiteral("PageHeader");
        case BandKind::Title:
            return QStringLiteral("Title");
        case BandKind::ColumnHeader:
            return QStringLiteral("ColumnHeader");
        case BandKind::GroupHeader:
            return QStringLiteral("GroupHeader");
        case BandKind::Detail:
            return QStringLiteral("Detail");
        case BandKind::GroupFooter:
            return QStringLiteral("GroupFooter");
        case BandKind::Summary:
            return QStringLiteral("Summary");
        case BandKind::PageFooter:
            return QStringLiteral("PageFooter");
    }
    return {};
}

namespace {
Item base(ItemKind kind, double x, double y, double w, double pt) {
    Item it;
    it.kind = kind;
    it.mm = QRectF(x, y, w, pt * 0.3528 * 1.45);
    it.pt = pt;
    return it;
}
}  // namespace

Band band(BandKind kind, double height, std::vector<Item> items) {
    Band b;
    b.kind = kind;
    b.height = height;
    b.items = std::move(items);
    return b;
}

Item label(double x, double y, double w, const QString &text, double pt, bool bold, Align align) {
    Item it = base(ItemKind::Label, x, y, w, pt);
    it.text = text;
    it.bold = bold;
    it.align = align;
    return it;
}

Item field(double x, double y, double w, const QString &name, const QString &mask, Align align,
           double pt, bool bold) {
    Item it = base(ItemKind::Field, x, y, w, pt);
    it.field = name;
    it.mask = mask;
    it.align = align;
    it.bold = bold;
    return it;
}

Item exprField(double x, double y, double w, Expr expr, const QString &mask, Align align, double pt,
               bool bold) {
    Item it = field(x, y, w, QString(), mask, align, pt, bold);
    it.expr = std::move(expr);
    return it;
}

Item text(double x, double y, double w, const QString &key, const QString &prefix, double pt,
          bool bold, Align align) {
    Item it = base(ItemKind::Text, x, y, w, pt);
    it.field = key;
    it.text = prefix;
    it.bold = bold;
    it.align = align;
    return it;
}

Item sys(ItemKind kind, double x, double y, double w, const QString &prefix, double pt,
         Align align) {
    Item it = base(kind, x, y, w, pt);
    it.text = prefix;
    it.align = align;
    return it;
}

Item sum(double x, double y, double w, const QString &name, const QString &mask,
         const QString &prefix, Align align, double pt, bool bold) {
    Item it = base(ItemKind::Sum, x, y, w, pt);
    it.field = name;
    it.mask = mask;
    it.text = prefix;
    it.align = align;
    it.bold = bold;
    return it;
}

Item sumOf(double x, double y, double w, Expr expr, const QString &mask, Align align, double pt,
           bool bold) {
    Item it = sum(x, y, w, QString(), mask, QString(), align, pt, bold);
    it.expr = std::move(expr);
    return it;
}

Item hline(double x, double y, double w, double thickness) {
    Item it;
    it.kind = ItemKind::Line;
    it.mm = QRectF(x, y, w, 0);
    it.pt = thickness;  // a line's thickness in millimetres
    return it;
}

Item rect(double x, double y, double w, double h) {
    Item it;
    it.kind = ItemKind::Rect;
    it.mm = QRectF(x, y, w, h);
    it.pt = 0.3;
    return it;
}

QString formatValue(const QVariant &v, const QString &mask) {
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
        case QMetaType::QDate:
            return br::formatDate(v.toDate());
        case QMetaType::QDateTime:
            return br::formatDate(v.toDateTime().date());
        case QMetaType::QTime:
            return br::formatTime(v.toTime());
        default:
            break;
    }
    if (!mask.isEmpty()) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        return br::formatFloat(mask, ok ? d : 0.0);
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        // Codes and counts are stored as doubles: print them without decimals.
        const double d = v.toDouble();
        if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return br::formatFloat(QStringLiteral("#,##0.00"), d);
    }
    return v.toString();
}

}  // namespace rpt
