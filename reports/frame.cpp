#include "reports/frame.h"

#include <stdexcept>

#include "app/brformat.h"
#include "app/errorbox.h"
#include "data/dataset.h"
#include "reports/reportpreview.h"

namespace reports {

namespace {
const QString kCompanySql = QStringLiteral("select * from configuracao");
}

ReportForm::ReportForm(cr::Connection &conn, const ReportRequest &req)
    : m_conn(conn), m_req(req), m_def(findReport(req.name)) {
    if (!m_def)
        throw std::invalid_argument(
            QStringLiteral("Relatório desconhecido: %1").arg(req.name).toStdString());
    if (m_def->fiscal) {
        m_mode = fiscalMode(req.fiscalSetting);
        m_produces = m_mode.has_value();
    }
    if (!m_produces) return;
    m_data.company = firstRow(m_conn, kCompanySql);
    if (m_def->prepare) m_def->prepare(m_conn, m_req, m_data);
    m_layout = m_def->layout(m_data);
    m_layout.name = m_def->name;
    m_layout.texts.insert(kCompany, m_data.company.value(QStringLiteral("nome")).toString());
    if (m_def->hasTitle) m_layout.texts.insert(kTitle, titleText());
}

QString ReportForm::titleText() const {
    const QString caption = (m_mode == FiscalMode::Fiscal && !m_def->captionFiscal.isEmpty())
                                ? m_def->captionFiscal
                                : m_def->caption;
    return caption + br::formatDate(m_req.dataI) + QStringLiteral(" à ") +
           br::formatDate(m_req.dataF);
}

cr::Params ReportForm::params() const {
    cr::Params p;
    if (m_def->byNote) {
        p.set(QStringLiteral("MNota"), m_req.nota);
    } else {
        // A null date would bind as NULL and select nothing; that is what an
        // unset period means.
        p.set(QStringLiteral("DataI"), m_req.dataI);
        p.set(QStringLiteral("DataF"), m_req.dataF);
    }
    return p;
}

void ReportForm::run(RowSource &src, rpt::PageSink &sink) {
    rpt::Engine engine(m_layout, sink, m_req.now);
    src.run([&](const rpt::Record &r) { engine.add(r); });
    engine.finish();
}

void ReportForm::stream(rpt::PageSink &sink) {
    if (!m_produces) return;
    StreamSource src(m_conn, m_def->sql, params(), m_mode ? fiscalFilter(*m_mode) : RowFilter());
    run(src, sink);
}

std::vector<rpt::Page> ReportForm::pages() {
    rpt::PageCollector pages;
    if (!m_produces) return {};
    cr::Dataset ds(&m_conn);
    ds.setSql(m_def->sql);
    const cr::Params p = params();
    for (const QString &n : p.names()) ds.setParam(n, p.value(n));
    ds.open();
    DatasetSource src(ds, m_mode ? fiscalFilter(*m_mode) : RowFilter());
    run(src, pages);
    ds.close();
    return std::move(pages.pages);
}

bool exportReport(cr::Connection &conn, const ReportRequest &req, rpt::Format format,
                  const QString &path) {
    ReportForm form(conn, req);
    if (!form.produces()) return false;
    rpt::exportToFile(format, path, [&](rpt::PageSink &sink) { form.stream(sink); });
    return true;
}

bool previewReport(QWidget *parent, cr::Connection &conn, const ReportRequest &req) {
    std::vector<rpt::Page> pages;
    rpt::Layout layout;
    bool produced = false;
    const bool ok = cr::guarded(parent, [&] {
        ReportForm form(conn, req);
        if (!form.produces()) return;
        pages = form.pages();
        layout = form.layout();
        produced = true;
    });
    if (!ok || !produced) return false;
    ReportPreview preview(layout, std::move(pages), parent);
    preview.exec();
    return true;
}

}  // namespace reports
