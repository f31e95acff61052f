#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

#include "data/connection.h"
#include "reports/engine/layout.h"

// The report forms: for each, its main query, caption, paper and bands.
namespace reports {

// What a form reads besides its main query, before it prints.
struct RunData {
    QVariantHash company;                  // first configuracao row, lower-case names
    QHash<QString, QVariantHash> clients;  // cliente rows by Codigocliente (back of the letter)
    QVariantHash sale;                     // first row of the sale query (sale receipt)
    QList<QVariantHash> installments;      // installment rows (sale receipt)
};

struct ReportRequest;

struct ReportDef {
    QString name;  // class name: TRptValesAberto ...
    QString sql;   // main query, with :DataI/:DataF or :MNota
    QString caption;
    QString captionFiscal;  // caption with setting "F", when it differs
    bool fiscal = false;    // honours FILTRORELATORIOFISCAL
    bool hasTitle = true;   // writes the title line
    bool byNote = false;    // a receipt: parameter MNota instead of a period
    std::function<void(cr::Connection &, const ReportRequest &, RunData &)> prepare;
    std::function<rpt::Layout(const RunData &)> layout;
};

const ReportDef *findReport(const QString &name);  // null when unknown
QStringList reportNames();

// Text keys the layouts print and the frame fills.
inline const QString kCompany = QStringLiteral("empresa");
inline const QString kTitle = QStringLiteral("titulo");

// Lower-case names -> values of the first row of a select (empty when none).
QVariantHash firstRow(cr::Connection &conn, const QString &sql, const cr::Params &params = {});
QList<QVariantHash> allRows(cr::Connection &conn, const QString &sql,
                            const cr::Params &params = {});
// The value of a record field as a lookup key ("6048" for 6048.0).
QString keyText(const QVariant &v);

namespace form {

struct Col {
    double x, w;
    rpt::Align align = rpt::Align::Left;
};

using rpt::band;
// Column titles over `cols`, with a rule under them (or a frame around).
rpt::Band titles(const std::vector<Col> &cols, const QStringList &texts, bool framed = false,
                 rpt::BandKind kind = rpt::BandKind::ColumnHeader);
// One detail line: field names (or "=" + nothing for a computed item) with masks.
rpt::Band row(const std::vector<Col> &cols, const QStringList &fields, const QStringList &masks);

// The listings' page header: company name and a date item on the first
// line, the title line and the page number on the second.
rpt::Band pageHeader(double width, rpt::ItemKind dateKind, const QString &datePrefix,
                     const QString &pagePrefix, bool framed = false);
// A text at a column: "label => " right-aligned before a value column.
rpt::Item labelBefore(const Col &valueCol, double labelWidth, const QString &text,
                      bool bold = true);

}  // namespace form

// Registration, one function per group of forms.
void addListings(std::vector<ReportDef> &defs);
void addLetters(std::vector<ReportDef> &defs);
void addCardAndCheque(std::vector<ReportDef> &defs);
void addReceipts(std::vector<ReportDef> &defs);

}  // namespace reports
