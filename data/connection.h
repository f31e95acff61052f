#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>

#include "data/dberror.h"
#include "data/resultset.h"

struct st_mysql;
struct st_mysql_res;

namespace cr {

// Named parameter values, looked up without regard to case.
class Params {
public:
    void set(const QString &name, const QVariant &value);
    bool contains(const QString &name) const;
    QVariant value(const QString &name) const;
    QStringList names() const;
    // Keeps the values of names that stay, drops the others, adds new ones null.
    void reshape(const QStringList &names);
    void clear() { m_items.clear(); }

private:
    int indexOf(const QString &name) const;
    QList<QPair<QString, QVariant>> m_items;
};

struct TableColumn {
    QString name;
    QString dataType;   // information_schema DATA_TYPE
    int maxChars = -1;  // width of a text column, -1 otherwise
    bool isKey = false;
    bool autoIncrement = false;
};

struct TableInfo {
    QString name;  // lower case
    QList<TableColumn> columns;
    QStringList keyColumns;
    int indexOf(const QString &column) const;  // without regard to case, -1 if absent
    // `text` cut to the column's width (in characters); other columns untouched.
    QVariant fit(const QString &column, const QVariant &value) const;

    QHash<QString, int> byName;  // lower-case name -> index
};

// The program's single database connection. Opened through QtSql's MySQL
// driver; statements run on the driver's native handle with parameters
// substituted as literals escaped by the client library, so a typed text can
// never leave its quotes. Every (re)connect sets NO_BACKSLASH_ESCAPES.
class Connection : public QObject {
    Q_OBJECT
public:
    // What to do after the server connection was lost during an operation.
    enum class LostAction { Raise, Reconnect, ReconnectExecute };

    explicit Connection(const QString &name = QStringLiteral("MyConnection1"),
                        QObject *parent = nullptr);
    ~Connection() override;

    void setHost(const QString &h) { m_host = h; }
    void setPort(int p) { m_port = p; }
    void setDatabase(const QString &d) { m_database = d; }
    void setUserName(const QString &u) { m_user = u; }
    void setPassword(const QString &p) { m_password = p; }
    void setConnectTimeout(int seconds) { m_timeout = seconds; }
    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString database() const { return m_database; }

    void open();  // throws DbError
    void close();
    bool isConnected() const;
    unsigned long threadId() const;  // server-side id of the session

    // Asked on the thread of the failed call; default: Raise.
    std::function<LostAction()> onConnectionLost;

    // `keep`, when given, sees each row as it arrives and returns the row to
    // store: a refresh hands back its old copy of an unchanged row, so the
    // new result shares memory with the old one instead of doubling it.
    using RowKeeper = std::function<Row(Row &&fresh, int index)>;
    ResultSet select(const QString &sql, const Params &params = {}, const RowKeeper &keep = {});
    // Streams a result row by row without keeping it: `onRow` returns false
    // to stop early. No other statement may run on this connection from
    // inside the callbacks.
    void selectStream(const QString &sql, const Params &params,
                      const std::function<void(const QList<ColumnMeta> &)> &onColumns,
                      const std::function<bool(const Row &)> &onRow);

    // Runs a statement that returns no rows; returns the rows it affected.
    qint64 execute(const QString &sql, const Params &params = {});
    quint64 lastInsertId() const { return m_lastInsertId; }

    // `sql` with every :name replaced by the literal of its value.
    QString expand(const QString &sql, const Params &params);
    QString literal(const QVariant &value);

    const TableInfo &tableInfo(const QString &table);

    static bool isLostConnection(int nativeCode);

signals:
    void reconnected();

private:
    QList<ColumnMeta> columnsOf(st_mysql_res *res);
    template <typename F>
    auto withRetry(const QString &sql, F &&f) -> decltype(f());
    void connectNow();
    st_mysql *handle() const;
    [[noreturn]] void fail(const QString &sql);

    QString m_name;
    QString m_host;
    int m_port = 0;
    QString m_database;
    QString m_user = QStringLiteral("root");
    QString m_password;
    int m_timeout = 120;
    quint64 m_lastInsertId = 0;
    QHash<QString, TableInfo> m_tables;
};

}  // namespace cr
