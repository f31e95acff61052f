#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <functional>

#include "data/connection.h"
#include "data/resultset.h"

namespace cr {

class Dataset;

// Read access to one record of a dataset (the current one, with the values
// being edited, or any other row).
class RecordView {
public:
    RecordView(const Dataset *ds, const Row *row, int index)
        : m_ds(ds), m_row(row), m_index(index) {}
    QVariant value(int field) const;
    QVariant value(const QString &field) const;
    double asFloat(const QString &field) const { return value(field).toDouble(); }
    QString asString(const QString &field) const { return value(field).toString(); }
    QDate asDate(const QString &field) const { return value(field).toDate(); }
    bool isNull(const QString &field) const;
    const Dataset *dataset() const { return m_ds; }
    int index() const { return m_index; }

private:
    const Dataset *m_ds;
    const Row *m_row;
    int m_index;
};

// A field of the current record, reached by name without regard to case.
class Field {
public:
    Field(Dataset *ds, int index) : m_ds(ds), m_index(index) {}
    QString name() const;
    int index() const { return m_index; }
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    double asFloat() const;
    int asInteger() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    void setValue(const QVariant &v);
    void clear() { setValue(QVariant()); }
    Field &operator=(const QVariant &v) {
        setValue(v);
        return *this;
    }

private:
    Dataset *m_ds;
    int m_index;
};

// A query or table on the connection, with a current row, editing and the
// client-side features the windows rely on (calculated and lookup fields,
// filters, master-detail links, automatic refresh). Errors are thrown as
// DbError; the window layer shows them.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class FieldKind { Data, Calculated, Lookup };

    explicit Dataset(Connection *conn, QObject *parent = nullptr);
    ~Dataset() override;

    Connection *connection() const { return m_conn; }

    // --- statement
    void setSql(const QString &sql);  // keeps values of parameters that stay
    QString sql() const { return m_sql; }
    void setTableName(const QString &table);  // SELECT * FROM table
    void setUpdateTable(const QString &table) { m_updateTableOverride = table.toLower(); }
    QString updateTable() const;
    Params &params() { return m_params; }
    void setParam(const QString &name, const QVariant &v) { m_params.set(name, v); }
    QVariant param(const QString &name) const { return m_params.value(name); }

    void open();
    void close();
    void setActive(bool on) { on ? open() : close(); }
    bool isActive() const { return m_state != State::Inactive; }
    // Runs the statement: a select opens the dataset, anything else just runs.
    void execute();
    // Re-reads the rows, keeping the current row; changed rows are updated
    // in place for the grids.
    void refresh();
    void emptyTable();  // TRUNCATE of the table

    // --- rows
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    // As the suite's programs walk rows: first() sets bof, last() sets eof,
    // next() past the last row sets eof without moving.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool locate(const QString &field, const QVariant &value);

    // --- fields
    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int i) const { return m_fields.value(i).name; }
    int fieldIndex(const QString &name) const;  // -1 when absent
    ColType fieldType(int i) const { return m_fields.value(i).type; }
    FieldKind fieldKind(int i) const { return m_fields.value(i).kind; }
    Field field(const QString &name);  // throws when absent
    Field fieldByName(const QString &name) { return field(name); }
    Field operator[](const QString &name) { return field(name); }
    QVariant value(int row, int field) const;
    QVariant value(int row, const QString &field) const;
    RecordView record(int row) const;
    RecordView current() const { return record(m_current); }
    const QList<ColumnMeta> &columns() const { return m_columns; }

    void addCalculatedField(const QString &name, ColType type,
                            std::function<QVariant(const RecordView &)> calc);
    void addLookupField(const QString &name, ColType type, const QString &keyFields,
                        Dataset *lookup, const QString &lookupKeys, const QString &resultField);

    // --- editing
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    void edit();
    void append();
    void insert() { append(); }
    void post();
    void cancel();
    void remove();
    void setFieldValue(int field, const QVariant &v);
    bool isModified(int field) const;

    std::function<void(Dataset &)> beforePost;
    std::function<void(Dataset &)> afterPost;
    std::function<void(Dataset &)> onNewRecord;
    std::function<void(Dataset &)> beforeDelete;

    // --- client-side filter
    void setFilter(std::function<bool(const RecordView &)> f);
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // --- master-detail: the rows whose detail fields equal the master's
    // current values; re-run when the master's current row changes.
    void setMaster(Dataset *master, const QString &masterFields, const QString &detailFields);
    Dataset *master() const { return m_master; }

    // --- automatic refresh every `seconds` while open and browsing; an error
    // is reported once and switches it off.
    void setAutoRefresh(bool on, int seconds = 1);
    bool autoRefresh() const { return m_autoRefresh; }
    static void setErrorReporter(std::function<void(const DbError &)> reporter);
    // Hands an error with no handler of its own to the reporter.
    static void reportError(const DbError &e);

    quint64 generation() const { return m_generation; }
    // Row whose `fields` hold `values` (compared as text), -1 if none. Uses
    // an index kept until the rows change, so lookups stay cheap.
    int findRow(const QStringList &fields, const QList<QVariant> &values) const;

signals:
    void opened();
    void closed();
    void stateChanged();
    void currentChanged();  // another row, or the current row's values changed
    void fieldChanged(int field);
    void aboutToPost();  // bound controls hand over what is typed but not yet written
    void refreshed();
    void autoRefreshFailed(const QString &message);

    // Row-level notifications for table models.
    void aboutToReset();
    void reset();
    void rowsAboutToBeInserted(int first, int last);
    void rowsInserted();
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void layoutAboutToChange();
    void layoutChanged(const QList<int> &oldToNew);
    void rowsChanged(int first, int last);

private:
    struct FieldDef {
        QString name;
        FieldKind kind = FieldKind::Data;
        ColType type = ColType::String;
        std::function<QVariant(const RecordView &)> calc;
        QStringList keyFields;
        Dataset *lookup = nullptr;
        QStringList lookupKeys;
        QString resultField;
    };
    friend class RecordView;

    QString effectiveSql() const;
    ResultSet fetch(const QString &sql, bool reuse = false);
    void adoptColumns(const QList<ColumnMeta> &cols);
    void applyRows(QList<Row> rows);
    void applyPositional(QList<Row> rows);
    QList<Row> filtered(const QList<Row> &all) const;
    QByteArray keyOf(const Row &r) const;
    int keyColumn() const { return m_keyCol; }
    void setCurrentInternal(int row, bool force);
    void setState(State s);
    void masterMoved();
    QList<QVariant> masterValues() const;
    QVariant rawValue(const Row *row, int rowIndex, int field) const;
    QVariant lookupValue(const FieldDef &def, const RecordView &rec) const;
    QString whereForRow(const Row &orig) const;
    bool rowMapsToTable(int col) const;
    Row reread(const QVariant &keyValue);
    void startTimer();
    void onTimer();
    void bumpGeneration() { ++m_generation; }

    Connection *m_conn;
    QString m_sql;
    QString m_updateTableOverride;
    Params m_params;
    State m_state = State::Inactive;

    QList<ColumnMeta> m_columns;  // data columns of the last result
    QList<FieldDef> m_extra;      // calculated and lookup fields
    QList<FieldDef> m_fields;     // data columns followed by m_extra
    QHash<QString, int> m_fieldIndex;
    int m_keyCol = -1;

    QList<Row> m_rows;  // what the grids see (filtered)
    QList<Row> m_all;   // every fetched row, kept only while filtered
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;

    QList<QVariant> m_buf;  // values of the record being edited or inserted
    QList<bool> m_mod;

    std::function<bool(const RecordView &)> m_filter;
    bool m_filtered = false;

    Dataset *m_master = nullptr;
    QStringList m_masterFields;
    QStringList m_detailFields;
    QList<QVariant> m_linkValues;

    QTimer m_timer;
    bool m_autoRefresh = false;
    quint64 m_generation = 0;

    mutable quint64 m_lookupGen = ~0ull;
    mutable QHash<QString, QHash<QString, int>> m_lookupIndex;
};

}  // namespace cr
