#include "app/errorbox.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include "data/dataset.h"
#include "data/dberror.h"

namespace cr {

void ShowException(QWidget *parent, const QString &message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError &e) {
        ShowException(activeWindow(), e.message());
    } catch (const std::exception &e) {
        ShowException(activeWindow(), QString::fromUtf8(e.what()));
    }
    return false;
}

void setUpApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Manutenção Contas a Receber"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    for (const char *name : {"qtbase_pt_BR", "qt_pt_BR"}) {
        auto *t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(t);
        else
            delete t;
    }
    // Errors of automatic refreshes have no handler of their own.
    Dataset::setErrorReporter([](const DbError &e) { ShowException(nullptr, e.message()); });
}

}  // namespace cr
