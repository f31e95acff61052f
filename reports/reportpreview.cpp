#include "reports/reportpreview.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/errorbox.h"

namespace reports {

ReportPreview::ReportPreview(const rpt::Layout &layout, std::vector<rpt::Page> pages,
                             QWidget *parent)
    : QDialog(parent), m_layout(layout), m_pages(std::move(pages)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Visualizar Impressão - %1").arg(layout.name));
    setModal(true);
    resize(1000, 760);

    auto *bar = new QHBoxLayout;
    auto button = [&](const char *name, const QString &text, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    button("btnFirst", QStringLiteral("|<"), [this] { setCurrentPage(0); });
    button("btnPrior", QStringLiteral("<"), [this] { setCurrentPage(m_current - 1); });
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    bar->addWidget(m_pageLabel);
    button("btnNext", QStringLiteral(">"), [this] { setCurrentPage(m_current + 1); });
    button("btnLast", QStringLiteral(">|"), [this] { setCurrentPage(pageCount() - 1); });

    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cbZoom"));
    m_zoomBox->setAccessibleName(QStringLiteral("Zoom"));
    for (int z : {50, 75, 100, 125, 150, 200, 300})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z / 100.0);
    m_zoomBox->setCurrentIndex(2);
    connect(m_zoomBox, &QComboBox::activated, this,
            [this](int i) { setZoom(m_zoomBox->itemData(i).toDouble()); });
    bar->addWidget(m_zoomBox);

    button("btnPrint", QStringLiteral("&Imprimir"), &ReportPreview::print);
    auto *exp = new QToolButton(this);
    exp->setObjectName(QStringLiteral("btnExport"));
    exp->setText(QStringLiteral("&Salvar como"));
    exp->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(exp);
    const std::pair<rpt::Format, QString> formats[] = {
        {rpt::Format::Pdf, QStringLiteral("PDF")},
        {rpt::Format::Xlsx, QStringLiteral("Planilha (XLSX)")},
        {rpt::Format::Rtf, QStringLiteral("Rich Text (RTF)")},
        {rpt::Format::XmlSheet, QStringLiteral("Planilha XML")},
        {rpt::Format::Text, QStringLiteral("Texto")},
        {rpt::Format::Csv, QStringLiteral("CSV (separador \",\")")},
        {rpt::Format::Svg, QStringLiteral("SVG")}};
    for (const auto &[f, name] : formats) {
        QAction *a = menu->addAction(name);
        a->setObjectName(QStringLiteral("actExport_") + rpt::formatSuffix(f));
        const rpt::Format fmt = f;
        connect(a, &QAction::triggered, this, [this, fmt] { exportAs(fmt); });
    }
    exp->setMenu(menu);
    bar->addWidget(exp);
    bar->addStretch();
    button("btnClose", QStringLiteral("&Fechar"), &QDialog::accept);

    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("pageView"));
    m_scroll->setWidget(m_view);

    auto *v = new QVBoxLayout(this);
    v->addLayout(bar);
    v->addWidget(m_scroll, 1);
    render();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::setCurrentPage(int index) {
    const int clamped = std::clamp(index, 0, std::max(0, pageCount() - 1));
    if (clamped == m_current && !m_view->pixmap().isNull()) return;
    m_current = clamped;
    render();
}

void ReportPreview::setZoom(double factor) {
    m_zoom = std::clamp(factor, 0.25, 4.0);
    render();
}

void ReportPreview::render() {
    m_pageLabel->setText(
        QStringLiteral("Página %1 de %2").arg(pageCount() ? m_current + 1 : 0).arg(pageCount()));
    if (m_pages.empty()) return;
    const rpt::Page &page = m_pages[size_t(m_current)];
    const double dpi = 96 * m_zoom;
    const double dpmm = dpi / 25.4;
    QImage img(QSize(int(page.sizeMm.width() * dpmm), int(page.sizeMm.height() * dpmm)),
               QImage::Format_RGB32);
    img.setDotsPerMeterX(int(dpi / 0.0254));
    img.setDotsPerMeterY(int(dpi / 0.0254));
    img.fill(Qt::white);
    {
        QPainter p(&img);
        rpt::paintPage(p, page);
    }
    m_view->setPixmap(QPixmap::fromImage(img));
    m_view->resize(img.size());
}

void ReportPreview::printTo(QPrinter *printer) const {
    printer->setFullPage(true);
    printer->setPageLayout(rpt::pageLayout(m_layout.paper));
    int from = printer->fromPage(), to = printer->toPage();
    if (from <= 0) from = 1;
    if (to <= 0 || to > pageCount()) to = pageCount();
    QPainter p;
    bool first = true;
    for (int i = from; i <= to; ++i) {
        if (first) {
            if (!p.begin(printer)) return;
        } else {
            printer->newPage();
        }
        first = false;
        rpt::paintPage(p, m_pages[size_t(i - 1)]);
    }
}

void ReportPreview::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(rpt::pageLayout(m_layout.paper));
    printer.setDocName(m_layout.name);
    QPrintDialog dlg(&printer, this);
    dlg.setMinMax(1, std::max(1, pageCount()));
    if (dlg.exec() != QDialog::Accepted) return;
    printTo(&printer);
}

bool ReportPreview::exportTo(rpt::Format format, const QString &path) {
    return cr::guarded(this, [&] { rpt::exportPages(format, path, m_layout, m_pages); });
}

void ReportPreview::exportAs(rpt::Format format) {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Salvar relatório"), m_layout.name + u'.' + rpt::formatSuffix(format),
        rpt::formatFilter(format));
    if (path.isEmpty()) return;
    exportTo(format, path);
}

}  // namespace reports
