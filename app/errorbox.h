#pragma once

#include <QApplication>
#include <QString>
#include <exception>

class QWidget;

namespace cr {

// The standard error box: the error's text under the program's title.
void ShowException(QWidget *parent, const QString &message);

// Runs an event handler; an error ends it and reaches the standard box.
template <typename F>
bool guarded(QWidget *parent, F &&handler) {
    try {
        handler();
        return true;
    } catch (const std::exception &e) {
        ShowException(parent, QString::fromUtf8(e.what()));
    }
    return false;
}

// Last line of defence: an error escaping any handler is shown, not fatal.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Process-wide look of the program: title, Brazilian locale and Qt's own
// Portuguese texts on standard buttons.
void setUpApplication(QApplication &app);

}  // namespace cr
