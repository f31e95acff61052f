#pragma once

#include <QLabel>
#include <QMainWindow>

namespace cr {

// The program's main window. Closing it ends the program.
class TfrmReceber : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmReceber(QWidget *parent = nullptr);

    // Creation steps: the operator's name, the restricted-user rule and the
    // title. False when the program must end (no operator name).
    bool initialize(const QString &userName);

    static QString titleFor(const QString &shopName, const QString &user, const QString &host);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    QLabel *m_caption;
};

}  // namespace cr
