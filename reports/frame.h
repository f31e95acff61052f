#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "data/connection.h"
#include "reports/engine/render.h"
#include "reports/forms.h"
#include "reports/source.h"

class QWidget;

namespace reports {

// One run of one report form: which form, for which period (or note), under
// which fiscal setting.
struct ReportRequest {
    QString name;
    QDate dataI;
    QDate dataF;
    QString fiscalSetting = QStringLiteral("N");
    QString nota;  // MNota of the receipts
    QDateTime now = QDateTime::currentDateTime();
};

// The report form of the calling protocol: created for one command, it reads
// the company row and what else it prints, gives its main query the period
// and writes the title line; it is gone when the run is.
class ReportForm {
public:
    // Throws std::invalid_argument for an unknown form, DbError from the
    // server.
    ReportForm(cr::Connection &conn, const ReportRequest &req);

    // False when the fiscal setting is not F, N or A and the form honours it:
    // then nothing is produced and nothing is said.
    bool produces() const { return m_produces; }
    const ReportDef &def() const { return *m_def; }
    const rpt::Layout &layout() const { return m_layout; }
    QString titleText() const;

    // Streams the main query through the engine into `sink`.
    void stream(rpt::PageSink &sink);
    // Opens the main query as a dataset and lays out every page (the preview).
    std::vector<rpt::Page> pages();

private:
    cr::Params params() const;
    void run(RowSource &src, rpt::PageSink &sink);

    cr::Connection &m_conn;
    ReportRequest m_req;
    const ReportDef *m_def = nullptr;
    std::optional<FiscalMode> m_mode;
    bool m_produces = true;
    RunData m_data;
    rpt::Layout m_layout;
};

// Writes a report to a file. Returns false (and writes nothing) when the
// fiscal setting rules it out; throws DbError, rpt::ExportError or
// std::invalid_argument.
bool exportReport(cr::Connection &conn, const ReportRequest &req, rpt::Format format,
                  const QString &path);

// The preview path: builds the form, shows the modal preview, releases it.
// A database error reaches the standard error box and no preview opens.
// Returns true when a preview was shown.
bool previewReport(QWidget *parent, cr::Connection &conn, const ReportRequest &req);

}  // namespace reports
