#include "data/dataset.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>

#include "data/sqltext.h"

namespace cr {

namespace {
std::function<void(const DbError &)> &errorReporter() {
    static std::function<void(const DbError &)> r;
    return r;
}

QStringList splitFields(const QString &s) {
    QStringList out;
    for (const QString &p : s.split(u';', Qt::SkipEmptyParts)) out.append(p.trimmed());
    return out;
}

QString keyText(const QList<QVariant> &values) {
    QString k;
    for (const QVariant &v : values) {
        if (!k.isEmpty()) k += QChar(0x1f);
        if (v.isNull())
            k += QChar(0);
        else if (v.typeId() == QMetaType::Double)
            k += QString::number(v.toDouble(), 'g', 17);
        else
            k += v.toString();
    }
    return k;
}

bool isNullValue(const QVariant &v) { return !v.isValid() || v.isNull(); }
}  // namespace

// ---- RecordView / Field

QVariant RecordView::value(int field) const { return m_ds->rawValue(m_row, m_index, field); }

QVariant RecordView::value(const QString &field) const {
    const int i = m_ds->fieldIndex(field);
    if (i < 0) throw DbError(QStringLiteral("Campo '%1' não encontrado.").arg(field));
    return value(i);
}

bool RecordView::isNull(const QString &field) const { return isNullValue(value(field)); }

QString Field::name() const { return m_ds->fieldName(m_index); }
QVariant Field::value() const { return m_ds->value(m_ds->currentRow(), m_index); }
bool Field::isNull() const { return isNullValue(value()); }
QString Field::asString() const {
    const QVariant v = value();
    if (isNullValue(v)) return {};
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'g', 15);
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    return v.toString();
}
double Field::asFloat() const { return value().toDouble(); }
int Field::asInteger() const { return int(value().toLongLong()); }
QDate Field::asDate() const {
    const QVariant v = value();
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}
QDateTime Field::asDateTime() const { return value().toDateTime(); }
void Field::setValue(const QVariant &v) { m_ds->setFieldValue(m_index, v); }

// ---- Dataset

Dataset::Dataset(Connection *conn, QObject *parent) : QObject(parent), m_conn(conn) {
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &Dataset::onTimer);
}

Dataset::~Dataset() = default;

void Dataset::setErrorReporter(std::function<void(const DbError &)> reporter) {
    errorReporter() = std::move(reporter);
}

void Dataset::reportError(const DbError &e) {
    if (errorReporter()) errorReporter()(e);
}

void Dataset::setSql(const QString &sql) {
    if (isActive()) close();
    m_sql = sql;
    m_params.reshape(sqltext::paramNames(sql));
}

void Dataset::setTableName(const QString &table) {
    setSql(QStringLiteral("SELECT * FROM %1").arg(table));
}

QString Dataset::updateTable() const {
    return m_updateTableOverride.isEmpty() ? sqltext::firstTable(m_sql) : m_updateTableOverride;
}

QString Dataset::effectiveSql() const {
    if (!m_master || m_detailFields.isEmpty()) return m_sql;
    QStringList conds;
    for (int i = 0; i < m_detailFields.size(); ++i)
        conds.append(QStringLiteral("%1 = :__m%2").arg(m_detailFields[i]).arg(i));
    return sqltext::addCondition(m_sql, conds.join(QStringLiteral(" AND ")));
}

ResultSet Dataset::fetch(const QString &sql, bool reuse) {
    Params p = m_params;
    for (int i = 0; i < m_linkValues.size(); ++i)
        p.set(QStringLiteral("__m%1").arg(i), m_linkValues[i]);
    if (!reuse) return m_conn->select(sql, p);
    // Rows mostly come back as they were, and in the same order.
    const QList<Row> &old = (m_filtered && m_filter) ? m_all : m_rows;
    return m_conn->select(sql, p, [&old](Row &&fresh, int i) {
        if (i < old.size() && old[i] == fresh) return old[i];
        return std::move(fresh);
    });
}

void Dataset::adoptColumns(const QList<ColumnMeta> &cols) {
    m_columns = cols;
    m_fields.clear();
    m_fieldIndex.clear();
    for (const ColumnMeta &c : cols) {
        FieldDef d;
        d.name = c.name;
        d.type = c.type;
        m_fields.append(d);
    }
    m_fields += m_extra;
    // Among columns the first occurrence wins (a select list may repeat a
    // name); a declared calculated or lookup field wins over a column.
    for (int i = int(cols.size()) - 1; i >= 0; --i)
        m_fieldIndex.insert(m_fields[i].name.toLower(), i);
    for (int i = int(cols.size()); i < m_fields.size(); ++i)
        m_fieldIndex.insert(m_fields[i].name.toLower(), i);

    m_keyCol = -1;
    const QString table = updateTable();
    if (!table.isEmpty()) {
        try {
            const TableInfo &info = m_conn->tableInfo(table);
            if (info.keyColumns.size() == 1) {
                for (int i = 0; i < cols.size(); ++i)
                    if (cols[i].orgTable == table &&
                        cols[i].orgName.compare(info.keyColumns[0], Qt::CaseInsensitive) == 0) {
                        m_keyCol = i;
                        break;
                    }
            }
        } catch (const DbError &) {
            // A derived table or a view: browse only by position.
        }
    }
}

void Dataset::open() {
    if (isActive()) return;
    if (m_master) m_linkValues = masterValues();
    ResultSet rs = fetch(effectiveSql());
    emit aboutToReset();
    adoptColumns(rs.columns);
    if (m_filtered && m_filter) {
        m_all = rs.rows;
        m_rows = filtered(m_all);
    } else {
        m_all.clear();
        m_rows = std::move(rs.rows);
    }
    m_state = State::Browse;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    bumpGeneration();
    emit reset();
    emit stateChanged();
    emit opened();
    emit currentChanged();
    startTimer();
}

void Dataset::close() {
    if (!isActive()) return;
    m_timer.stop();
    emit aboutToReset();
    m_rows.clear();
    m_all.clear();
    m_buf.clear();
    m_mod.clear();
    m_current = -1;
    m_eof = m_bof = true;
    m_state = State::Inactive;
    bumpGeneration();
    emit reset();
    emit stateChanged();
    emit closed();
    emit currentChanged();
}

void Dataset::execute() {
    if (sqltext::returnsRows(m_sql)) {
        close();
        open();
        return;
    }
    m_conn->execute(m_sql, m_params);
}

void Dataset::refresh() {
    if (!isActive()) return;
    if (isEditing()) return;  // never under the operator's hands
    ResultSet rs = fetch(effectiveSql(), true);
    if (rs.columns.size() != m_columns.size()) {
        close();
        open();
        return;
    }
    if (m_filtered && m_filter) {
        m_all = rs.rows;
        applyRows(filtered(m_all));
    } else {
        applyRows(std::move(rs.rows));
    }
    emit refreshed();
}

void Dataset::emptyTable() {
    const QString table = updateTable();
    if (table.isEmpty()) throw DbError(QStringLiteral("Tabela não definida."), m_sql);
    m_conn->execute(QStringLiteral("TRUNCATE TABLE %1").arg(table));
    if (isActive()) refresh();
}

QList<Row> Dataset::filtered(const QList<Row> &all) const {
    QList<Row> out;
    for (int i = 0; i < all.size(); ++i)
        if (m_filter(RecordView(this, &all[i], -1))) out.append(all[i]);
    return out;
}

QByteArray Dataset::keyOf(const Row &r) const {
    return r.isNull(m_keyCol) ? QByteArray() : r.raw(m_keyCol).toByteArray();
}

// Brings m_rows to `rows` with the fewest row operations, so grids keep
// their current row, selection and scroll position.
void Dataset::applyRows(QList<Row> rows) {
    const QByteArray curKey = (m_keyCol >= 0 && m_current >= 0 && m_current < m_rows.size())
                                  ? keyOf(m_rows[m_current])
                                  : QByteArray();
    const Row curRow = (m_current >= 0 && m_current < m_rows.size()) ? m_rows[m_current] : Row();
    const int oldCurrent = m_current;

    // Same rows in the same places but for some values: no keys needed.
    bool samePlaces = rows.size() == m_rows.size();
    for (int i = 0; i < rows.size() && samePlaces; ++i)
        if (!rows[i].sharesWith(m_rows[i]) && m_keyCol >= 0 &&
            rows[i].raw(m_keyCol) != m_rows[i].raw(m_keyCol))
            samePlaces = false;

    if (m_keyCol < 0 || samePlaces) {
        applyPositional(std::move(rows));
    } else {
        QHash<QByteArray, int> newIndex;
        newIndex.reserve(rows.size());
        bool unique = true;
        for (int i = 0; i < rows.size() && unique; ++i) {
            const QByteArray k = keyOf(rows[i]);
            if (k.isNull() || newIndex.contains(k)) unique = false;
            newIndex.insert(k, i);
        }
        QHash<QByteArray, int> oldSeen;
        for (int i = 0; i < m_rows.size() && unique; ++i) {
            const QByteArray k = keyOf(m_rows[i]);
            if (k.isNull() || oldSeen.contains(k)) unique = false;
            oldSeen.insert(k, i);
        }
        if (!unique) {
            applyPositional(std::move(rows));
        } else {
            // 1. rows that went away, from the bottom up
            int i = m_rows.size() - 1;
            while (i >= 0) {
                if (newIndex.contains(keyOf(m_rows[i]))) {
                    --i;
                    continue;
                }
                int j = i;
                while (j - 1 >= 0 && !newIndex.contains(keyOf(m_rows[j - 1]))) --j;
                emit rowsAboutToBeRemoved(j, i);
                m_rows.remove(j, i - j + 1);
                emit rowsRemoved();
                i = j - 1;
            }
            // 2. rows that stayed but moved
            QList<int> target(m_rows.size());
            bool sorted = true;
            for (int k = 0; k < m_rows.size(); ++k) {
                target[k] = newIndex.value(keyOf(m_rows[k]));
                if (k > 0 && target[k] < target[k - 1]) sorted = false;
            }
            if (!sorted) {
                emit layoutAboutToChange();
                QList<int> order(m_rows.size());
                for (int k = 0; k < order.size(); ++k) order[k] = k;
                std::sort(order.begin(), order.end(),
                          [&](int a, int b) { return target[a] < target[b]; });
                QList<Row> moved;
                moved.reserve(m_rows.size());
                QList<int> oldToNew(m_rows.size());
                for (int k = 0; k < order.size(); ++k) {
                    moved.append(m_rows[order[k]]);
                    oldToNew[order[k]] = k;
                }
                m_rows = std::move(moved);
                emit layoutChanged(oldToNew);
            }
            // 3. new rows, and values that changed
            int pos = 0;
            int changedFirst = -1;
            auto flush = [&](int last) {
                if (changedFirst >= 0) emit rowsChanged(changedFirst, last);
                changedFirst = -1;
            };
            for (int j = 0; j < rows.size();) {
                if (pos < m_rows.size() && keyOf(m_rows[pos]) == keyOf(rows[j])) {
                    if (m_rows[pos] != rows[j]) {
                        m_rows[pos] = rows[j];
                        if (changedFirst < 0) changedFirst = pos;
                    } else {
                        flush(pos - 1);
                    }
                    ++pos;
                    ++j;
                    continue;
                }
                flush(pos - 1);
                int e = j;
                while (e < rows.size() && !oldSeen.contains(keyOf(rows[e]))) ++e;
                emit rowsAboutToBeInserted(pos, pos + (e - j) - 1);
                m_rows.insert(pos, e - j, Row());
                for (int k = j; k < e; ++k) m_rows[pos + k - j] = rows[k];
                emit rowsInserted();
                pos += e - j;
                j = e;
            }
            flush(pos - 1);
        }
    }
    bumpGeneration();

    // The current row follows its key; else it keeps its place.
    int cur = oldCurrent;
    if (m_keyCol >= 0 && !curKey.isNull()) {
        cur = -1;
        for (int k = 0; k < m_rows.size(); ++k)
            if (keyOf(m_rows[k]) == curKey) {
                cur = k;
                break;
            }
        if (cur < 0) cur = oldCurrent;
    }
    if (cur >= m_rows.size()) cur = m_rows.size() - 1;
    if (cur < 0 && !m_rows.isEmpty()) cur = 0;
    const bool changed = cur != oldCurrent || (cur >= 0 && m_rows[cur] != curRow);
    m_current = cur;
    m_eof = m_rows.isEmpty() ? true : m_eof && cur == m_rows.size() - 1;
    m_bof = m_rows.isEmpty() ? true : m_bof && cur == 0;
    if (changed) emit currentChanged();
}

void Dataset::applyPositional(QList<Row> rows) {
    const int common = std::min(m_rows.size(), rows.size());
    int first = -1;
    for (int i = 0; i < common; ++i) {
        if (m_rows[i] != rows[i]) {
            m_rows[i] = rows[i];
            if (first < 0) first = i;
        } else if (first >= 0) {
            emit rowsChanged(first, i - 1);
            first = -1;
        }
    }
    if (first >= 0) emit rowsChanged(first, common - 1);
    if (rows.size() > m_rows.size()) {
        const int from = m_rows.size();
        emit rowsAboutToBeInserted(from, rows.size() - 1);
        for (int i = from; i < rows.size(); ++i) m_rows.append(rows[i]);
        emit rowsInserted();
    } else if (rows.size() < m_rows.size()) {
        emit rowsAboutToBeRemoved(rows.size(), m_rows.size() - 1);
        m_rows.resize(rows.size());
        emit rowsRemoved();
    }
}

// ---- navigation

void Dataset::setCurrentRow(int row) {
    if (!isActive()) return;
    if (row >= m_rows.size()) row = m_rows.size() - 1;
    if (row < 0) row = m_rows.isEmpty() ? -1 : 0;
    setCurrentInternal(row, false);
    m_bof = m_eof = m_rows.isEmpty();
}

void Dataset::first() {
    setCurrentRow(0);
    m_bof = true;
}

void Dataset::last() {
    setCurrentRow(rowCount() - 1);
    m_eof = true;
}

void Dataset::setCurrentInternal(int row, bool force) {
    if (row == m_current && !force) return;
    if (isEditing() && row != m_current) post();
    m_current = row;
    emit currentChanged();
}

void Dataset::next() {
    if (!isActive()) return;
    if (m_current + 1 >= m_rows.size()) {
        m_eof = true;
        return;
    }
    setCurrentInternal(m_current + 1, false);
    m_bof = false;
    m_eof = false;
}

void Dataset::prior() {
    if (!isActive()) return;
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrentInternal(m_current - 1, false);
    m_bof = false;
    m_eof = false;
}

bool Dataset::locate(const QString &field, const QVariant &value) {
    const int r = findRow({field}, {value});
    if (r < 0) return false;
    setCurrentRow(r);
    return true;
}

int Dataset::findRow(const QStringList &fields, const QList<QVariant> &values) const {
    if (m_lookupGen != m_generation) {
        m_lookupIndex.clear();
        m_lookupGen = m_generation;
    }
    QList<int> idx;
    for (const QString &f : fields) {
        const int i = fieldIndex(f);
        if (i < 0) throw DbError(QStringLiteral("Campo '%1' não encontrado.").arg(f));
        idx.append(i);
    }
    const QString sig = fields.join(u';').toLower();
    auto it = m_lookupIndex.find(sig);
    if (it == m_lookupIndex.end()) {
        QHash<QString, int> index;
        index.reserve(m_rows.size());
        for (int r = m_rows.size() - 1; r >= 0; --r) {
            QList<QVariant> vals;
            for (int i : idx) vals.append(rawValue(&m_rows[r], -1, i));
            index.insert(keyText(vals), r);
        }
        it = m_lookupIndex.insert(sig, index);
    }
    // The record being edited is not in the index; check it first.
    if (isEditing() && m_current >= 0) {
        QList<QVariant> vals;
        for (int i : idx) vals.append(value(m_current, i));
        if (keyText(vals) == keyText(values)) return m_current;
    }
    return it->value(keyText(values), -1);
}

// ---- fields

int Dataset::fieldIndex(const QString &name) const {
    return m_fieldIndex.value(name.toLower(), -1);
}

Field Dataset::field(const QString &name) {
    const int i = fieldIndex(name);
    if (i < 0) throw DbError(QStringLiteral("Campo '%1' não encontrado.").arg(name), m_sql);
    return Field(this, i);
}

QVariant Dataset::rawValue(const Row *row, int rowIndex, int field) const {
    if (field < 0 || field >= m_fields.size()) return {};
    const FieldDef &d = m_fields[field];
    switch (d.kind) {
        case FieldKind::Data:
            if (rowIndex >= 0 && rowIndex == m_current && isEditing() && field < m_buf.size())
                return m_buf[field];
            return row ? row->value(field, m_columns[field]) : QVariant();
        case FieldKind::Calculated:
            return d.calc ? d.calc(RecordView(this, row, rowIndex)) : QVariant();
        case FieldKind::Lookup:
            return lookupValue(d, RecordView(this, row, rowIndex));
    }
    return {};
}

QVariant Dataset::lookupValue(const FieldDef &def, const RecordView &rec) const {
    if (!def.lookup || !def.lookup->isActive()) return {};
    QList<QVariant> keys;
    for (const QString &k : def.keyFields) {
        const QVariant v = rec.value(k);
        if (isNullValue(v)) return {};
        keys.append(v);
    }
    const int r = def.lookup->findRow(def.lookupKeys, keys);
    if (r < 0) return {};
    return def.lookup->value(r, def.resultField);
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= m_rows.size()) return {};
    return rawValue(&m_rows[row], row, field);
}

QVariant Dataset::value(int row, const QString &field) const {
    const int i = fieldIndex(field);
    if (i < 0) throw DbError(QStringLiteral("Campo '%1' não encontrado.").arg(field), m_sql);
    return value(row, i);
}

RecordView Dataset::record(int row) const {
    return RecordView(this, (row >= 0 && row < m_rows.size()) ? &m_rows[row] : nullptr, row);
}

void Dataset::addCalculatedField(const QString &name, ColType type,
                                 std::function<QVariant(const RecordView &)> calc) {
    FieldDef d;
    d.name = name;
    d.kind = FieldKind::Calculated;
    d.type = type;
    d.calc = std::move(calc);
    m_extra.append(d);
    if (isActive()) adoptColumns(m_columns);
}

void Dataset::addLookupField(const QString &name, ColType type, const QString &keyFields,
                             Dataset *lookup, const QString &lookupKeys,
                             const QString &resultField) {
    FieldDef d;
    d.name = name;
    d.kind = FieldKind::Lookup;
    d.type = type;
    d.keyFields = splitFields(keyFields);
    d.lookup = lookup;
    d.lookupKeys = splitFields(lookupKeys);
    d.resultField = resultField;
    m_extra.append(d);
    if (isActive()) adoptColumns(m_columns);
    // Lookup values change with the lookup table's rows.
    connect(lookup, &Dataset::reset, this, [this] {
        if (!m_rows.isEmpty()) emit rowsChanged(0, m_rows.size() - 1);
    });
}

// ---- editing

void Dataset::setState(State s) {
    if (m_state == s) return;
    m_state = s;
    if (!isEditing())
        m_timer.stop();
    else if (m_autoRefresh)
        m_timer.stop();
    if (m_state == State::Browse) startTimer();
    emit stateChanged();
}

void Dataset::edit() {
    if (!isActive())
        throw DbError(QStringLiteral("Não é possível alterar: a consulta '%1' não está aberta.")
                          .arg(objectName().isEmpty() ? updateTable() : objectName()),
                      m_sql);
    if (isEditing()) return;
    if (m_current < 0) {
        append();
        return;
    }
    m_buf.clear();
    for (int i = 0; i < m_columns.size(); ++i)
        m_buf.append(m_rows[m_current].value(i, m_columns[i]));
    m_mod = QList<bool>(m_columns.size(), false);
    setState(State::Edit);
}

void Dataset::append() {
    if (!isActive())
        throw DbError(QStringLiteral("Não é possível incluir: a consulta '%1' não está aberta.")
                          .arg(objectName().isEmpty() ? updateTable() : objectName()),
                      m_sql);
    if (isEditing()) post();
    const int at = m_rows.size();
    emit rowsAboutToBeInserted(at, at);
    m_rows.append(Row::fromVariants(m_columns, {}));
    emit rowsInserted();
    m_buf = QList<QVariant>(m_columns.size());
    m_mod = QList<bool>(m_columns.size(), false);
    m_current = at;
    m_eof = m_bof = true;
    setState(State::Insert);
    if (onNewRecord) onNewRecord(*this);
    emit currentChanged();
}

void Dataset::setFieldValue(int field, const QVariant &v) {
    if (field < 0 || field >= m_fields.size())
        throw DbError(QStringLiteral("Campo inexistente."), m_sql);
    if (m_fields[field].kind != FieldKind::Data)
        throw DbError(
            QStringLiteral("Campo '%1' não pode ser alterado.").arg(m_fields[field].name));
    if (!isEditing()) edit();
    m_buf[field] = v;
    m_mod[field] = true;
    emit fieldChanged(field);
    emit rowsChanged(m_current, m_current);
}

bool Dataset::isModified(int field) const {
    return isEditing() && field >= 0 && field < m_mod.size() && m_mod[field];
}

bool Dataset::rowMapsToTable(int col) const {
    const QString t = updateTable();
    return !t.isEmpty() && m_columns[col].orgTable == t && !m_columns[col].orgName.isEmpty();
}

QString Dataset::whereForRow(const Row &orig) const {
    const QString t = updateTable();
    if (m_keyCol >= 0)
        return QStringLiteral("`%1` = %2")
            .arg(m_columns[m_keyCol].orgName,
                 m_conn->literal(orig.value(m_keyCol, m_columns[m_keyCol])));
    // No single key: match every column as it was read.
    QStringList conds;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!rowMapsToTable(i) || m_columns[i].type == ColType::Bytes) continue;
        const QVariant v = orig.value(i, m_columns[i]);
        if (m_columns[i].type == ColType::Double && !isNullValue(v))
            // Compare doubles through their text, as the server sent them.
            conds.append(QStringLiteral("`%1` = %2")
                             .arg(m_columns[i].orgName, m_conn->literal(v.toDouble())));
        else
            conds.append(
                QStringLiteral("`%1` <=> %2").arg(m_columns[i].orgName, m_conn->literal(v)));
    }
    if (conds.isEmpty()) throw DbError(QStringLiteral("Tabela '%1' sem chave.").arg(t));
    return conds.join(QStringLiteral(" AND "));
}

Row Dataset::reread(const QVariant &keyValue) {
    if (m_keyCol < 0 || isNullValue(keyValue)) return Row();
    if (m_sql.contains(QLatin1String("group by"), Qt::CaseInsensitive)) return Row();
    const QString sql = sqltext::replaceCondition(
        m_sql,
        QStringLiteral("`%1` = %2").arg(m_columns[m_keyCol].orgName, m_conn->literal(keyValue)));
    ResultSet rs = m_conn->select(sql, m_params);
    if (rs.rows.size() != 1 || rs.columns.size() != m_columns.size()) return Row();
    return rs.rows.first();
}

void Dataset::post() {
    if (!isEditing()) return;
    emit aboutToPost();
    if (beforePost) beforePost(*this);
    const QString table = updateTable();
    if (table.isEmpty()) throw DbError(QStringLiteral("Tabela de gravação não definida."), m_sql);
    const TableInfo &info = m_conn->tableInfo(table);

    QStringList cols, vals;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_mod[i] || !rowMapsToTable(i)) continue;
        const QString col = m_columns[i].orgName;
        m_buf[i] = info.fit(col, m_buf[i]);
        cols.append(QStringLiteral("`%1`").arg(col));
        vals.append(m_conn->literal(m_buf[i]));
    }

    QVariant keyValue;
    if (m_state == State::Edit) {
        if (!cols.isEmpty()) {
            QStringList sets;
            for (int i = 0; i < cols.size(); ++i)
                sets.append(cols[i] + QStringLiteral(" = ") + vals[i]);
            const QString sql =
                QStringLiteral("UPDATE `%1` SET %2 WHERE %3%4")
                    .arg(table, sets.join(QStringLiteral(", ")), whereForRow(m_rows[m_current]),
                         m_keyCol < 0 ? QStringLiteral(" LIMIT 1") : QString());
            if (m_conn->execute(sql) == 0)
                throw DbError(QStringLiteral("O registro não foi gravado: ele foi excluído ou "
                                             "alterado em outra estação."),
                              sql);
        }
        if (m_keyCol >= 0) keyValue = m_buf[m_keyCol];
    } else {
        const QString sql =
            QStringLiteral("INSERT INTO `%1` (%2) VALUES (%3)")
                .arg(table, cols.join(QStringLiteral(", ")), vals.join(QStringLiteral(", ")));
        m_conn->execute(sql);
        if (m_keyCol >= 0) {
            if (isNullValue(m_buf[m_keyCol]) && m_conn->lastInsertId() != 0)
                m_buf[m_keyCol] = QVariant(qlonglong(m_conn->lastInsertId()));
            keyValue = m_buf[m_keyCol];
        }
    }

    Row fresh;
    try {
        fresh = reread(keyValue);
    } catch (const DbError &) {
        // The row is written; showing the values as typed is good enough.
    }
    if (fresh.columns() == 0) fresh = Row::fromVariants(m_columns, m_buf);
    m_rows[m_current] = fresh;
    if (m_filtered && m_filter) m_all.append(fresh);
    m_buf.clear();
    m_mod.clear();
    bumpGeneration();
    setState(State::Browse);
    emit rowsChanged(m_current, m_current);
    emit currentChanged();
    if (afterPost) afterPost(*this);
}

void Dataset::cancel() {
    if (!isEditing()) return;
    const bool inserting = m_state == State::Insert;
    m_buf.clear();
    m_mod.clear();
    if (inserting) {
        const int at = m_current;
        emit rowsAboutToBeRemoved(at, at);
        m_rows.remove(at);
        emit rowsRemoved();
        m_current = m_rows.isEmpty() ? -1 : std::min<int>(at, m_rows.size() - 1);
    }
    setState(State::Browse);
    if (m_current >= 0) emit rowsChanged(m_current, m_current);
    emit currentChanged();
}

void Dataset::remove() {
    if (!isActive() || m_current < 0) return;
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (beforeDelete) beforeDelete(*this);
    const QString table = updateTable();
    if (table.isEmpty()) throw DbError(QStringLiteral("Tabela de gravação não definida."), m_sql);
    const Row orig = m_rows[m_current];
    m_conn->execute(
        QStringLiteral("DELETE FROM `%1` WHERE %2%3")
            .arg(table, whereForRow(orig), m_keyCol < 0 ? QStringLiteral(" LIMIT 1") : QString()));
    m_buf.clear();
    m_mod.clear();
    if (m_state != State::Browse) setState(State::Browse);
    const int at = m_current;
    emit rowsAboutToBeRemoved(at, at);
    m_rows.remove(at);
    emit rowsRemoved();
    if (m_filtered && m_filter) m_all.removeOne(orig);
    bumpGeneration();
    m_current = m_rows.isEmpty() ? -1 : std::min<int>(at, m_rows.size() - 1);
    m_eof = m_rows.isEmpty() || m_current == m_rows.size() - 1;
    emit currentChanged();
}

// ---- filter

void Dataset::setFilter(std::function<bool(const RecordView &)> f) {
    m_filter = std::move(f);
    if (m_filtered && isActive() && !isEditing()) {
        if (m_all.isEmpty() && !m_rows.isEmpty()) m_all = m_rows;
        applyRows(m_filter ? filtered(m_all) : m_all);
    }
}

void Dataset::setFiltered(bool on) {
    if (on == m_filtered) return;
    if (isEditing()) post();
    m_filtered = on;
    if (!isActive()) return;
    if (on && m_filter) {
        m_all = m_rows;
        applyRows(filtered(m_all));
    } else if (!on) {
        QList<Row> all = m_all;
        m_all.clear();
        applyRows(std::move(all));
    }
}

// ---- master-detail

void Dataset::setMaster(Dataset *master, const QString &masterFields, const QString &detailFields) {
    if (m_master) disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterFields = splitFields(masterFields);
    m_detailFields = splitFields(detailFields);
    m_linkValues.clear();
    if (!master) return;
    connect(master, &Dataset::currentChanged, this, &Dataset::masterMoved);
}

QList<QVariant> Dataset::masterValues() const {
    QList<QVariant> out;
    for (const QString &f : m_masterFields) {
        QVariant v;
        if (m_master && m_master->isActive() && m_master->currentRow() >= 0)
            v = m_master->value(m_master->currentRow(), f);
        out.append(v);
    }
    return out;
}

void Dataset::masterMoved() {
    if (!isActive()) return;
    const QList<QVariant> vals = masterValues();
    if (keyText(vals) == keyText(m_linkValues) && vals.size() == m_linkValues.size()) return;
    if (isEditing()) cancel();
    m_linkValues = vals;
    try {
        ResultSet rs = fetch(effectiveSql());
        emit aboutToReset();
        if (rs.columns.size() != m_columns.size()) adoptColumns(rs.columns);
        if (m_filtered && m_filter) {
            m_all = rs.rows;
            m_rows = filtered(m_all);
        } else {
            m_rows = std::move(rs.rows);
        }
        m_current = m_rows.isEmpty() ? -1 : 0;
        m_bof = true;
        m_eof = m_rows.isEmpty();
        bumpGeneration();
        emit reset();
        emit currentChanged();
    } catch (const DbError &e) {
        if (errorReporter()) errorReporter()(e);
    }
}

// ---- automatic refresh

void Dataset::setAutoRefresh(bool on, int seconds) {
    m_autoRefresh = on;
    m_timer.setInterval(std::max(1, seconds) * 1000);
    if (!on)
        m_timer.stop();
    else
        startTimer();
}

void Dataset::startTimer() {
    if (m_autoRefresh && m_state == State::Browse && !m_timer.isActive()) m_timer.start();
}

void Dataset::onTimer() {
    if (m_state != State::Browse) return;
    try {
        refresh();
    } catch (const DbError &e) {
        // Shown once; the operator would otherwise get a box every second.
        m_autoRefresh = false;
        m_timer.stop();
        emit autoRefreshFailed(e.message());
        if (errorReporter()) errorReporter()(e);
    }
}

}  // namespace cr
