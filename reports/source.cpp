#include "reports/source.h"

#include <QHash>

namespace reports {

std::optional<FiscalMode> fiscalMode(const QString &s) {
    if (s == u"F") return FiscalMode::Fiscal;
    if (s == u"N") return FiscalMode::NonFiscal;
    if (s == u"A") return FiscalMode::All;
    return std::nullopt;
}

bool passesFiscal(FiscalMode mode, const QVariant &nfce, const QVariant &pago) {
    if (mode == FiscalMode::All) return true;
    // Pago <> 'F' is unknown for a null Pago; "or Pago is null" lets it in.
    const bool notRefinanced =
        pago.isNull() ||
        QString::compare(pago.toString().trimmed(), QStringLiteral("F"), Qt::CaseInsensitive) != 0;
    const bool hasNfce = !nfce.isNull();
    return notRefinanced && (mode == FiscalMode::Fiscal ? hasNfce : !hasNfce);
}

RowFilter fiscalFilter(FiscalMode mode) {
    if (mode == FiscalMode::All) return {};
    return [mode](const rpt::Record &r) {
        return passesFiscal(mode, r.value(QStringLiteral("Nfce")), r.value(QStringLiteral("Pago")));
    };
}

namespace {

class DatasetRecord : public rpt::Record {
public:
    DatasetRecord(const cr::Dataset &ds, int row) : m_ds(ds), m_row(row) {}
    QVariant value(const QString &field) const override {
        return m_ds.fieldIndex(field) < 0 ? QVariant() : m_ds.value(m_row, field);
    }
    std::unique_ptr<rpt::Record> clone() const override {
        return std::make_unique<DatasetRecord>(m_ds, m_row);
    }

private:
    const cr::Dataset &m_ds;
    int m_row;
};

// Columns of a streamed result and where each name the layout asks for is.
struct StreamSchema {
    QList<cr::ColumnMeta> columns;
    QHash<QString, int> byLower;
    mutable QHash<QString, int> asked;  // names as the layout spells them
    int indexOf(const QString &name) const {
        auto it = asked.constFind(name);
        if (it != asked.constEnd()) return *it;
        const int i = byLower.value(name.toLower(), -1);
        asked.insert(name, i);
        return i;
    }
};

class StreamRecord : public rpt::Record {
public:
    StreamRecord(std::shared_ptr<const StreamSchema> schema, cr::Row row)
        : m_schema(std::move(schema)), m_row(std::move(row)) {}
    QVariant value(const QString &field) const override {
        const int i = m_schema->indexOf(field);
        return i < 0 ? QVariant() : m_row.value(i, m_schema->columns[i]);
    }
    std::unique_ptr<rpt::Record> clone() const override {
        return std::make_unique<StreamRecord>(m_schema, m_row);
    }

private:
    std::shared_ptr<const StreamSchema> m_schema;
    cr::Row m_row;
};

}  // namespace

void DatasetSource::run(const std::function<void(const rpt::Record &)> &onRow) {
    for (int i = 0; i < m_ds.rowCount(); ++i) {
        const DatasetRecord rec(m_ds, i);
        if (!m_filter || m_filter(rec)) onRow(rec);
    }
}

void StreamSource::run(const std::function<void(const rpt::Record &)> &onRow) {
    std::shared_ptr<StreamSchema> schema;
    m_conn.selectStream(
        m_sql, m_params,
        [&](const QList<cr::ColumnMeta> &cols) {
            schema = std::make_shared<StreamSchema>();
            schema->columns = cols;
            // The first of two equal names wins, as a dataset's field lookup does.
            for (int i = 0; i < cols.size(); ++i)
                if (!schema->byLower.contains(cols[i].name.toLower()))
                    schema->byLower.insert(cols[i].name.toLower(), i);
        },
        [&](const cr::Row &row) {
            const StreamRecord rec(schema, row);
            if (!m_filter || m_filter(rec)) onRow(rec);
            return true;
        });
}

ValuesRecord::ValuesRecord(QVariantHash values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it) m_v.insert(it.key().toLower(), *it);
}

QVariant ValuesRecord::value(const QString &field) const { return m_v.value(field.toLower()); }

std::unique_ptr<rpt::Record> ValuesRecord::clone() const {
    return std::make_unique<ValuesRecord>(m_v);
}

}  // namespace reports
