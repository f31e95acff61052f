#pragma once

#include <QDateTime>
#include <memory>
#include <vector>

#include "reports/engine/layout.h"
#include "reports/engine/page.h"

namespace rpt {

// Receives pages as the engine finishes them, so a long report never has
// to be held whole.
class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void begin(const Layout &) {}
    virtual void page(Page &&page) = 0;
    virtual void end() {}
};

// Lays out a layout over records given one at a time in source order.
// A group break is decided when the next record arrives (or at the end),
// so a forward-only source is enough.
class Engine {
public:
    Engine(const Layout &layout, PageSink &sink,
           const QDateTime &now = QDateTime::currentDateTime());
    ~Engine();

    void add(const Record &record);
    void finish();  // footers, summary, the last page; at least one page

    int pageCount() const { return m_pageNumber; }
    int rowCount() const { return m_rows; }

private:
    struct SumSlot {
        QString field;
        Expr expr;
        double value = 0;
    };

    void openPage(const Record *rec);
    void closePage();
    void makeRoom(const Band &band, const Record *rec);
    void place(const Band &band, const Record *rec, bool body = true);
    void closeGroups(size_t from);
    void openGroups(size_t from, const Record &rec);
    PrintedItem render(const Item &item, const Record *rec, double x, double y);
    QVariant keyOf(const Group &g, const Record &rec) const;
    double bottom() const { return m_bottom; }

    Layout m_layout;  // own copy: Sum items carry slot numbers
    PageSink &m_sink;
    QDateTime m_now;
    PaperSpec m_paper;
    double m_bottom = 0;

    std::vector<SumSlot> m_sums;
    std::vector<std::vector<int>> m_groupFooterSlots;

    std::unique_ptr<Page> m_page;
    double m_y = 0;
    bool m_pageHasBody = false;
    int m_pageNumber = 0;
    int m_rows = 0;
    bool m_finished = false;

    std::unique_ptr<Record> m_prev;
    std::vector<QVariant> m_prevKeys;
};

}  // namespace rpt
