#pragma once

#include <QString>
#include <memory>

#include "data/connection.h"

namespace crtest {

// The private server of this test run. scripts/test.sh starts it and passes
// CR_TEST_PORT; a suite run on its own starts one in the build folder.
struct Server {
    int port = 0;
    static const Server &instance();
};

// A fresh database made from data/schema.sql, dropped when this goes away.
class TestDb {
public:
    explicit TestDb(const QString &name);
    ~TestDb();
    const QString &name() const { return m_name; }
    int port() const { return Server::instance().port; }

    // A new connection to this database, as the program makes it.
    std::unique_ptr<cr::Connection> connect(const QString &connName = {}) const;
    // Runs statements as the administrator (another session).
    void exec(const QString &sql);
    // Kills the session with this server thread id.
    void kill(unsigned long threadId);
    cr::ResultSet query(const QString &sql);
    QVariant scalar(const QString &sql);

private:
    QString m_name;
    std::unique_ptr<cr::Connection> m_admin;
};

}  // namespace crtest
