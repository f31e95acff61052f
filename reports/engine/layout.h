#pragma once

#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

// Declarative report layouts: bands of items placed in millimetres. The
// engine turns a layout and a stream of records into pages; it knows
// nothing of databases or widgets.
namespace rpt {

enum class Paper { A4Portrait, A4Landscape, LetterPortrait, Receipt74x120, Receipt74x165 };

struct PaperSpec {
    QSizeF sizeMm;
    QMarginsF marginsMm;
};
PaperSpec paperSpec(Paper paper);
QPageLayout pageLayout(Paper paper);  // the paper as printers and PDF writers take it

// One row of the data being printed. Field names are matched without
// regard to case.
class Record {
public:
    virtual ~Record() = default;
    virtual QVariant value(const QString &field) const = 0;
    virtual std::unique_ptr<Record> clone() const = 0;
};

using Expr = std::function<QVariant(const Record &)>;

enum class BandKind {
    PageHeader,
    Title,
    ColumnHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    Summary,
    PageFooter
};
QString bandKindName(BandKind kind);

enum class ItemKind {
    Label,       // fixed text
    Field,       // a column of the current row, or an expression over it
    Text,        // a text the caller supplies by key (title line, company name)
    Date,        // text followed by the date the report started
    DateTime,    // text followed by date and time
    Time,        // text followed by the time of day
    PageNumber,  // text followed by the page number
    RowCount,    // text followed by the count of detail rows printed so far
    Sum,         // text followed by the sum of a field since the last reset
    Line,        // from the top-left to the bottom-right corner of the rectangle
    Rect
};

enum class Align { Left, Center, Right };

struct Item {
    ItemKind kind = ItemKind::Label;
    QRectF mm;     // relative to the band
    QString text;  // label, or the prefix printed before the value
    QString field;
    Expr expr;  // overrides `field` when set
    QString mask;
    Align align = Align::Left;
    double pt = 9;
    bool bold = false;
    bool boxed = false;  // a boxed cell: the rectangle drawn around the text
};

struct Band {
    BandKind kind = BandKind::Detail;
    double height = 5;
    std::vector<Item> items;
    bool framed = false;    // a rectangle around the whole band
    bool fillPage = false;  // as tall as what is left of the page: one per page
};

struct Group {
    QString field;  // break value; `key` overrides it
    Expr key;
    bool newPage = false;  // every group starts a page of its own
    std::vector<Band> headers;
    std::vector<Band> footers;
};

struct Layout {
    QString name;
    Paper paper = Paper::A4Portrait;
    std::vector<Band> pageHeader;
    std::vector<Band> title;
    std::vector<Band> columnHeader;  // under the page header on every page
    std::vector<Group> groups;       // outermost first
    std::vector<Band> detail;
    std::vector<Band> summary;
    std::vector<Band> pageFooter;
    int maxRows = -1;  // a form printed once takes only the first row
    QHash<QString, QString> texts;
};

// Helpers that keep the layout tables short.
Item label(double x, double y, double w, const QString &text, double pt = 9, bool bold = false,
           Align align = Align::Left);
Item field(double x, double y, double w, const QString &name, const QString &mask = {},
           Align align = Align::Left, double pt = 9, bool bold = false);
Item exprField(double x, double y, double w, Expr expr, const QString &mask = {},
               Align align = Align::Left, double pt = 9, bool bold = false);
Item text(double x, double y, double w, const QString &key, const QString &prefix = {},
          double pt = 9, bool bold = false, Align align = Align::Left);
Item sys(ItemKind kind, double x, double y, double w, const QString &prefix, double pt = 9,
         Align align = Align::Left);
Item sum(double x, double y, double w, const QString &name, const QString &mask,
         const QString &prefix = {}, Align align = Align::Right, double pt = 9, bool bold = false);
Item sumOf(double x, double y, double w, Expr expr, const QString &mask, Align align = Align::Right,
           double pt = 9, bool bold = false);
Item hline(double x, double y, double w, double thickness = 0.3);
Band band(BandKind kind, double height, std::vector<Item> items);
Item rect(double x, double y, double w, double h);

// Value of a record as printed: masks through br::formatFloat, dates as
// dd/MM/yyyy, whole numbers without decimals, null as nothing.
QString formatValue(const QVariant &value, const QString &mask);

}  // namespace rpt
