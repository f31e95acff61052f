#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace crtest {

// Answers every message box shown while it lives and records its title and
// text; `answer` picks the button (the box's default when NoButton).
struct BoxRecorder {
    QStringList titles, texts;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QMessageBox::StandardButton lastDefault = QMessageBox::NoButton;
    QTimer timer;
    explicit BoxRecorder(QMessageBox::StandardButton a = QMessageBox::NoButton) : answer(a) {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) return;
            titles << box->windowTitle();
            texts << box->text();
            lastDefault = box->defaultButton() ? box->standardButton(box->defaultButton())
                                               : QMessageBox::NoButton;
            if (answer != QMessageBox::NoButton && box->button(answer))
                box->button(answer)->click();
            else if (box->defaultButton())
                box->defaultButton()->click();
            else
                box->accept();
        });
        timer.start();
    }
};

}  // namespace crtest
