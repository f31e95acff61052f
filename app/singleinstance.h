#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLocalServer;

namespace cr {

// One copy per workstation session: a second copy asks the running one to
// come to the front, then ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key = defaultKey(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when a running copy answered (and was asked to show itself).
    bool activateRunning();
    // Becomes the running copy; returns false if the name cannot be taken.
    bool listen();
    void setWindow(QWidget *w) { m_window = w; }

    static QString defaultKey();
    static void bringToFront(QWidget *w);

signals:
    void activationRequested();

private:
    QString m_key;
    QLocalServer *m_server = nullptr;
    QPointer<QWidget> m_window;
};

}  // namespace cr
