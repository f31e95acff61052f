#pragma once

#include <QDialog>
#include <vector>

#include "reports/engine/render.h"

class QLabel;
class QComboBox;
class QPrinter;
class QScrollArea;
class QToolButton;

namespace reports {

// The modal preview of a laid-out report: paging, zoom, printing through
// the system's print dialog, and the exports.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const rpt::Layout &layout, std::vector<rpt::Page> pages,
                  QWidget *parent = nullptr);
    ~ReportPreview() override;

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return m_current; }  // 0-based
    void setCurrentPage(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double factor);
    const std::vector<rpt::Page> &pages() const { return m_pages; }
    const rpt::Layout &layout() const { return m_layout; }

    // Prints the printer's page range (all pages when none is set).
    void printTo(QPrinter *printer) const;
    // Writes the report; a failure shows the standard error box.
    bool exportTo(rpt::Format format, const QString &path);

public slots:
    void print();
    void exportAs(rpt::Format format);

private:
    void render();

    rpt::Layout m_layout;
    std::vector<rpt::Page> m_pages;
    int m_current = 0;
    double m_zoom = 1.0;
    QScrollArea *m_scroll;
    QLabel *m_view;
    QLabel *m_pageLabel;
    QComboBox *m_zoomBox;
};

}  // namespace reports
