#include "tests/support/testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QUuid>
#include <stdexcept>

namespace crtest {

namespace {
QString sourceDir() {
    const QString d = qEnvironmentVariable("CR_SOURCE_DIR");
    if (!d.isEmpty()) return d;
    return QStringLiteral(CR_SOURCE_DIR_DEFAULT);
}

QStringList schemaStatements() {
    QString path = qEnvironmentVariable("CR_SCHEMA");
    if (path.isEmpty()) path = sourceDir() + QStringLiteral("/data/schema.sql");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    const QString text = QString::fromUtf8(f.readAll());
    QStringList out;
    for (const QString &s : text.split(QStringLiteral(";\n"))) {
        QString t;
        for (const QString &line : s.split(u'\n'))
            if (!line.trimmed().startsWith(QLatin1String("--"))) t += line + u'\n';
        if (!t.trimmed().isEmpty()) out.append(t.trimmed().remove(QRegularExpression(";$")));
    }
    return out;
}
}  // namespace

const Server &Server::instance() {
    static Server s = [] {
        Server srv;
        srv.port = qEnvironmentVariableIntValue("CR_TEST_PORT");
        if (srv.port == 0) {
            const QString dir = QDir::tempPath() + QStringLiteral("/cr-testdb-standalone");
            QProcess p;
            p.start(QStringLiteral("bash"),
                    {sourceDir() + QStringLiteral("/scripts/mariadb-private.sh"),
                     QStringLiteral("start"), dir});
            p.waitForFinished(120000);
            srv.port = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toInt();
            if (srv.port == 0)
                throw std::runtime_error("private MariaDB did not start: " +
                                         p.readAllStandardError().toStdString());
        }
        return srv;
    }();
    return s;
}

TestDb::TestDb(const QString &name) {
    m_name = QStringLiteral("t_%1_%2").arg(name.toLower()).arg(QCoreApplication::applicationPid());
    m_admin = std::make_unique<cr::Connection>(QStringLiteral("admin_") + m_name);
    m_admin->setHost(QStringLiteral("127.0.0.1"));
    m_admin->setPort(port());
    m_admin->setUserName(QStringLiteral("root"));
    m_admin->setPassword(QStringLiteral("kqv7315"));
    m_admin->open();
    m_admin->execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    m_admin->execute(QStringLiteral("CREATE DATABASE `%1`").arg(m_name));
    m_admin->execute(QStringLiteral("USE `%1`").arg(m_name));
    for (const QString &s : schemaStatements()) m_admin->execute(s);
}

TestDb::~TestDb() {
    try {
        m_admin->execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    } catch (...) {
    }
}

std::unique_ptr<cr::Connection> TestDb::connect(const QString &connName) const {
    auto c = std::make_unique<cr::Connection>(
        connName.isEmpty() ? QUuid::createUuid().toString(QUuid::Id128) : connName);
    c->setHost(QStringLiteral("127.0.0.1"));
    c->setPort(port());
    c->setDatabase(m_name);
    c->setUserName(QStringLiteral("root"));
    c->setPassword(QStringLiteral("kqv7315"));
    c->open();
    return c;
}

void TestDb::exec(const QString &sql) { m_admin->execute(sql); }

void TestDb::kill(unsigned long threadId) {
    m_admin->execute(QStringLiteral("KILL CONNECTION %1").arg(threadId));
}

cr::ResultSet TestDb::query(const QString &sql) { return m_admin->select(sql); }

QVariant TestDb::scalar(const QString &sql) {
    const cr::ResultSet rs = m_admin->select(sql);
    if (rs.rows.isEmpty()) return {};
    return rs.rows[0].value(0, rs.columns[0]);
}

}  // namespace crtest
