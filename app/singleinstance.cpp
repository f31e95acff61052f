#include "app/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace cr {

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

QString SingleInstance::defaultKey() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    return QStringLiteral("ManutencaoContasReceber-") + user;
}

bool SingleInstance::activateRunning() {
    QLocalSocket s;
    s.connectToServer(m_key);
    if (!s.waitForConnected(500)) return false;
    s.write("show\n");
    s.flush();
    s.waitForBytesWritten(500);
    // Wait for the answer so the running copy really took the request.
    s.waitForReadyRead(1000);
    s.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key)) {
        // A socket left behind by a copy that crashed.
        QLocalServer::removeServer(m_key);
        if (!m_server->listen(m_key)) return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *c = m_server->nextPendingConnection()) {
            connect(c, &QLocalSocket::readyRead, c, [this, c] {
                c->readAll();
                bringToFront(m_window);
                emit activationRequested();
                c->write("ok\n");
                c->flush();
            });
            connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
        }
    });
    return true;
}

void SingleInstance::bringToFront(QWidget *w) {
    if (!w) return;
    if (w->isMinimized())
        w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    w->show();
    w->raise();
    w->activateWindow();
}

}  // namespace cr
