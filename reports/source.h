#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "data/connection.h"
#include "data/dataset.h"
#include "reports/engine/layout.h"

namespace reports {

// FILTRORELATORIOFISCAL, compared exactly: "F" rows with an NFC-e, "N" rows
// without, "A" all. Any other value is no mode at all: the filtered
// reports produce nothing.
enum class FiscalMode { Fiscal, NonFiscal, All };
std::optional<FiscalMode> fiscalMode(const QString &setting);

// Whether a row passes "(Nfce is [not] null) and ((Pago <> 'F') or (Pago is
// null))", compared as the server would (case and trailing blanks ignored).
bool passesFiscal(FiscalMode mode, const QVariant &nfce, const QVariant &pago);

using RowFilter = std::function<bool(const rpt::Record &)>;
RowFilter fiscalFilter(FiscalMode mode);  // null for All

// Rows in the order the query gave them, forward only, each handed to the
// engine as it comes; a filter drops rows before the engine sees them.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual void run(const std::function<void(const rpt::Record &)> &onRow) = 0;
};

// Over a dataset that is already open (the preview's way).
class DatasetSource : public RowSource {
public:
    DatasetSource(const cr::Dataset &ds, RowFilter filter = {})
        : m_ds(ds), m_filter(std::move(filter)) {}
    void run(const std::function<void(const rpt::Record &)> &onRow) override;

private:
    const cr::Dataset &m_ds;
    RowFilter m_filter;
};

// Straight from the server, row by row, nothing kept (exports of any size).
class StreamSource : public RowSource {
public:
    StreamSource(cr::Connection &conn, QString sql, cr::Params params, RowFilter filter = {})
        : m_conn(conn),
          m_sql(std::move(sql)),
          m_params(std::move(params)),
          m_filter(std::move(filter)) {}
    void run(const std::function<void(const rpt::Record &)> &onRow) override;

private:
    cr::Connection &m_conn;
    QString m_sql;
    cr::Params m_params;
    RowFilter m_filter;
};

// A record made of plain values (lookups done before the report runs).
class ValuesRecord : public rpt::Record {
public:
    explicit ValuesRecord(QVariantHash values);  // keys in any case
    QVariant value(const QString &field) const override;
    std::unique_ptr<rpt::Record> clone() const override;

private:
    QVariantHash m_v;
};

}  // namespace reports
