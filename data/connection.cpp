#include "data/connection.h"

#include <mysql.h>

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QTime>
#include <cmath>

#include "data/sqltext.h"

namespace cr {

// ---- Params

int Params::indexOf(const QString &name) const {
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].first.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void Params::set(const QString &name, const QVariant &value) {
    const int i = indexOf(name);
    if (i >= 0)
        m_items[i].second = value;
    else
        m_items.append({name, value});
}

bool Params::contains(const QString &name) const { return indexOf(name) >= 0; }

QVariant Params::value(const QString &name) const {
    const int i = indexOf(name);
    return i >= 0 ? m_items[i].second : QVariant();
}

QStringList Params::names() const {
    QStringList out;
    for (const auto &p : m_items) out.append(p.first);
    return out;
}

void Params::reshape(const QStringList &names) {
    QList<QPair<QString, QVariant>> items;
    for (const QString &n : names) items.append({n, value(n)});
    m_items = items;
}

// ---- TableInfo

int TableInfo::indexOf(const QString &column) const { return byName.value(column.toLower(), -1); }

QVariant TableInfo::fit(const QString &column, const QVariant &value) const {
    const int i = indexOf(column);
    if (i < 0 || columns[i].maxChars < 0 || value.isNull()) return value;
    if (value.typeId() != QMetaType::QString) return value;
    const QString s = value.toString();
    const int width = columns[i].maxChars;
    if (s.size() <= width) return value;
    // Cut by characters as the server counts them, never inside a pair.
    QString out;
    int chars = 0;
    for (int k = 0; k < s.size() && chars < width; ++k, ++chars) {
        out.append(s[k]);
        if (s[k].isHighSurrogate() && k + 1 < s.size()) out.append(s[++k]);
    }
    return out;
}

// ---- Connection

Connection::Connection(const QString &name, QObject *parent) : QObject(parent), m_name(name) {}

Connection::~Connection() {
    close();
    if (QSqlDatabase::contains(m_name)) QSqlDatabase::removeDatabase(m_name);
}

bool Connection::isLostConnection(int code) {
    // 2006 server gone, 2013 lost during query, 2055 lost at reading, 1927
    // the session was killed; 1317 (query interrupted) is not a loss.
    return code == 2006 || code == 2013 || code == 2055 || code == 1927;
}

st_mysql *Connection::handle() const {
    if (!QSqlDatabase::contains(m_name)) return nullptr;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen()) return nullptr;
    QVariant v = db.driver()->handle();
    // The driver names the type after the client library's struct.
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "MYSQL*") != 0 && qstrcmp(v.typeName(), "st_mysql*") != 0))
        return nullptr;
    return *static_cast<st_mysql *const *>(v.constData());
}

void Connection::connectNow() {
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase("QMYSQL", m_name);
    if (!db.isValid()) throw DbError(QStringLiteral("Driver QMYSQL não disponível."));
    db.close();
    db.setHostName(m_host);
    db.setPort(m_port > 0 ? m_port : -1);
    db.setDatabaseName(m_database);
    db.setUserName(m_user);
    db.setPassword(m_password);
    // Found rows rather than changed rows, so an update that matched a row
    // whose values were already the same still counts as done.
    db.setConnectOptions(
        QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;CLIENT_FOUND_ROWS").arg(m_timeout));
    if (!db.open()) {
        const QSqlError e = db.lastError();
        const int code = e.nativeErrorCode().toInt();
        throw DbError(QStringLiteral("%1 (%2)").arg(e.databaseText()).arg(code), QString(), code);
    }
    st_mysql *h = handle();
    if (!h) throw DbError(QStringLiteral("Conexão sem handle nativo do MySQL."));
    mysql_set_character_set(h, "utf8mb4");
    static const char kMode[] =
        "SET SESSION sql_mode=CONCAT(@@SESSION.sql_mode,',NO_BACKSLASH_ESCAPES')";
    if (mysql_real_query(h, kMode, sizeof kMode - 1) != 0) fail(QString::fromLatin1(kMode));
}

void Connection::open() {
    if (isConnected()) return;
    connectNow();
}

void Connection::close() {
    if (QSqlDatabase::contains(m_name)) QSqlDatabase::database(m_name, false).close();
}

bool Connection::isConnected() const { return handle() != nullptr; }

unsigned long Connection::threadId() const {
    st_mysql *h = handle();
    return h ? mysql_thread_id(h) : 0;
}

void Connection::fail(const QString &sql) {
    st_mysql *h = handle();
    if (!h)
        throw DbError(QStringLiteral("Conexão com o banco de dados não está aberta."), sql, 2006);
    const int code = int(mysql_errno(h));
    throw DbError(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(mysql_error(h))).arg(code), sql,
                  code);
}

template <typename F>
auto Connection::withRetry(const QString &sql, F &&f) -> decltype(f()) {
    for (;;) {
        try {
            if (!handle()) connectNow();
            return f();
        } catch (const DbError &e) {
            if (!isLostConnection(e.nativeCode())) throw;
            const LostAction a = onConnectionLost ? onConnectionLost() : LostAction::Raise;
            if (a == LostAction::Raise) {
                // The session is gone: the next operation connects afresh.
                close();
                throw;
            }
            close();
            connectNow();
            emit reconnected();
            if (a == LostAction::Reconnect) throw DbError(e.message(), sql, e.nativeCode());
        }
    }
}

QString Connection::literal(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("NULL");
    switch (v.typeId()) {
        case QMetaType::Bool:
            return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::Long:
            return QString::number(v.toLongLong());
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::UShort:
        case QMetaType::ULong:
            return QString::number(v.toULongLong());
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d)) return QStringLiteral("NULL");
            return QString::number(d, 'g', 17);
        }
        case QMetaType::QDate:
            return QLatin1Char('\'') + v.toDate().toString(Qt::ISODate) + QLatin1Char('\'');
        case QMetaType::QDateTime:
            return QLatin1Char('\'') +
                   v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   QLatin1Char('\'');
        case QMetaType::QTime:
            return QLatin1Char('\'') + v.toTime().toString(QStringLiteral("HH:mm:ss")) +
                   QLatin1Char('\'');
        case QMetaType::QByteArray:
            return QStringLiteral("X'") + QString::fromLatin1(v.toByteArray().toHex()) +
                   QLatin1Char('\'');
        default:
            break;
    }
    const QByteArray in = v.toString().toUtf8();
    QByteArray out(in.size() * 2 + 1, Qt::Uninitialized);
    st_mysql *h = handle();
    unsigned long n;
    if (h) {
        n = mysql_real_escape_string(h, out.data(), in.constData(), in.size());
    } else {
        // Not connected: quote-doubling is exact under NO_BACKSLASH_ESCAPES,
        // and a backslash is doubled too in case the mode is missing.
        QByteArray t = in;
        t.replace('\\', "\\\\").replace('\'', "''");
        out = t;
        n = t.size();
    }
    out.truncate(n);
    return QLatin1Char('\'') + QString::fromUtf8(out) + QLatin1Char('\'');
}

QString Connection::expand(const QString &sql, const Params &params) {
    const auto refs = sqltext::findParams(sql);
    if (refs.isEmpty()) return sql;
    QString out;
    out.reserve(sql.size() + 32 * refs.size());
    int pos = 0;
    for (const auto &r : refs) {
        out += QStringView(sql).mid(pos, r.pos - pos);
        out += literal(params.value(r.name));
        pos = r.pos + r.len;
    }
    out += QStringView(sql).mid(pos);
    return out;
}

QList<ColumnMeta> Connection::columnsOf(MYSQL_RES *res) {
    const unsigned nf = mysql_num_fields(res);
    QList<ColumnMeta> cols;
    MYSQL_FIELD *fields = mysql_fetch_fields(res);
    cols.reserve(nf);
    for (unsigned i = 0; i < nf; ++i) {
        const MYSQL_FIELD &f = fields[i];
        ColumnMeta m;
        m.name = QString::fromUtf8(f.name, f.name_length);
        m.orgName = QString::fromUtf8(f.org_name, f.org_name_length);
        m.orgTable = QString::fromUtf8(f.org_table, f.org_table_length).toLower();
        m.isUnsigned = f.flags & UNSIGNED_FLAG;
        switch (f.type) {
            case MYSQL_TYPE_TINY:
            case MYSQL_TYPE_SHORT:
            case MYSQL_TYPE_LONG:
            case MYSQL_TYPE_INT24:
            case MYSQL_TYPE_LONGLONG:
            case MYSQL_TYPE_YEAR:
            case MYSQL_TYPE_BIT:
                m.type = ColType::Int;
                break;
            case MYSQL_TYPE_FLOAT:
            case MYSQL_TYPE_DOUBLE:
            case MYSQL_TYPE_DECIMAL:
            case MYSQL_TYPE_NEWDECIMAL:
                m.type = ColType::Double;
                break;
            case MYSQL_TYPE_DATE:
            case MYSQL_TYPE_NEWDATE:
                m.type = ColType::Date;
                break;
            case MYSQL_TYPE_DATETIME:
            case MYSQL_TYPE_TIMESTAMP:
                m.type = ColType::DateTime;
                break;
            case MYSQL_TYPE_TIME:
                m.type = ColType::Time;
                break;
            case MYSQL_TYPE_TINY_BLOB:
            case MYSQL_TYPE_MEDIUM_BLOB:
            case MYSQL_TYPE_LONG_BLOB:
            case MYSQL_TYPE_BLOB:
                m.type = f.charsetnr == 63 ? ColType::Bytes : ColType::String;
                break;
            default:
                m.type = ColType::String;
                break;
        }
        cols.append(m);
    }
    return cols;
}

ResultSet Connection::select(const QString &sql, const Params &params, const RowKeeper &keep) {
    return withRetry(sql, [&]() {
        const QByteArray text = expand(sql, params).toUtf8();
        st_mysql *h = handle();
        if (mysql_real_query(h, text.constData(), text.size()) != 0) fail(sql);
        MYSQL_RES *res = mysql_use_result(h);
        ResultSet rs;
        if (!res) {
            if (mysql_field_count(h) != 0) fail(sql);
            m_lastInsertId = mysql_insert_id(h);
            return rs;
        }
        const unsigned nf = mysql_num_fields(res);
        rs.columns = columnsOf(res);
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const unsigned long *len = mysql_fetch_lengths(res);
            Row r = Row::fromRaw(int(nf), row, len);
            rs.rows.append(keep ? keep(std::move(r), int(rs.rows.size())) : std::move(r));
        }
        const unsigned err = mysql_errno(h);
        mysql_free_result(res);
        if (err != 0) fail(sql);
        return rs;
    });
}

void Connection::selectStream(const QString &sql, const Params &params,
                              const std::function<void(const QList<ColumnMeta> &)> &onColumns,
                              const std::function<bool(const Row &)> &onRow) {
    // Only the start is retried: rows already handed out cannot be taken back.
    MYSQL_RES *res = withRetry(sql, [&]() -> MYSQL_RES * {
        const QByteArray text = expand(sql, params).toUtf8();
        st_mysql *h = handle();
        if (mysql_real_query(h, text.constData(), text.size()) != 0) fail(sql);
        MYSQL_RES *r = mysql_use_result(h);
        if (!r && mysql_field_count(h) != 0) fail(sql);
        return r;
    });
    if (!res) return;
    st_mysql *h = handle();
    const int nf = int(mysql_num_fields(res));
    try {
        if (onColumns) onColumns(columnsOf(res));
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const Row r = Row::fromRaw(nf, row, mysql_fetch_lengths(res));
            if (!onRow(r)) break;
        }
    } catch (...) {
        mysql_free_result(res);  // reads what is left, so the session stays usable
        throw;
    }
    const unsigned err = mysql_errno(h);
    mysql_free_result(res);
    if (err != 0) fail(sql);
}

qint64 Connection::execute(const QString &sql, const Params &params) {
    return withRetry(sql, [&]() -> qint64 {
        const QByteArray text = expand(sql, params).toUtf8();
        st_mysql *h = handle();
        if (mysql_real_query(h, text.constData(), text.size()) != 0) fail(sql);
        qint64 affected = 0;
        // Drain every result, so the session is ready for the next call.
        for (;;) {
            MYSQL_RES *res = mysql_store_result(h);
            if (res) {
                mysql_free_result(res);
            } else if (mysql_field_count(h) == 0) {
                affected = qint64(mysql_affected_rows(h));
                m_lastInsertId = mysql_insert_id(h);
            } else {
                fail(sql);
            }
            const int more = mysql_next_result(h);
            if (more > 0) fail(sql);
            if (more < 0) break;
        }
        return affected;
    });
}

const TableInfo &Connection::tableInfo(const QString &table) {
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it != m_tables.end()) return *it;
    Params p;
    p.set(QStringLiteral("t"), key);
    const ResultSet rs = select(
        QStringLiteral("SELECT COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH, DATA_TYPE, COLUMN_KEY, EXTRA "
                       "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND "
                       "LOWER(TABLE_NAME) = :t ORDER BY ORDINAL_POSITION"),
        p);
    TableInfo info;
    info.name = key;
    for (const Row &r : rs.rows) {
        TableColumn c;
        c.name = r.value(0, rs.columns[0]).toString();
        const QString type = r.value(2, rs.columns[2]).toString().toLower();
        c.dataType = type;
        if (type == QLatin1String("varchar") || type == QLatin1String("char"))
            c.maxChars = r.value(1, rs.columns[1]).toInt();
        c.isKey = r.value(3, rs.columns[3]).toString() == QLatin1String("PRI");
        c.autoIncrement =
            r.value(4, rs.columns[4]).toString().contains(QLatin1String("auto_increment"));
        info.byName.insert(c.name.toLower(), info.columns.size());
        if (c.isKey) info.keyColumns.append(c.name);
        info.columns.append(c);
    }
    if (info.columns.isEmpty())
        throw DbError(QStringLiteral("Tabela '%1' não existe.").arg(table), QString(), 1146);
    return *m_tables.insert(key, info);
}

}  // namespace cr
