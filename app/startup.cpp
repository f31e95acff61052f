#include "app/startup.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/errorbox.h"
#include "app/singleinstance.h"
#include "data/tdm.h"
#include "receivables/tfrmgeral.h"
#include "receivables/tfrmreceber.h"

namespace cr {

TfrmGeral *frmGeral() { return TfrmGeral::instance(); }

Startup::Startup(const QStringList &args, const QString &iniPath)
    : m_args(args), m_iniPath(iniPath) {}

Startup::~Startup() {
    m_geral.reset();
    m_main.reset();
    if (DM() == m_dm.get()) setDM(nullptr);
    m_dm.reset();
}

bool Startup::run() {
    // The data module: settings, connection, company and branch.
    settings() = Settings::load(m_iniPath);
    m_dm = std::make_unique<TDM>();
    setDM(m_dm.get());
    guarded(nullptr, [&] { m_dm->initialize(); });

    m_main = std::make_unique<TfrmReceber>();
    if (!m_main->initialize(m_args.value(2))) return false;

    m_geral = std::make_unique<TfrmGeral>(m_main.get());
    m_geral->hide();
    return true;
}

int runProgram(int argc, char **argv) {
    Application app(argc, argv);
    setUpApplication(app);

    SingleInstance instance;
    if (instance.activateRunning()) return 0;
    instance.listen();

    Startup s(QApplication::arguments());
    if (!s.run()) return 1;
    instance.setWindow(s.mainWindow());
    // Without a window manager "maximised" means nothing: fill the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        s.mainWindow()->setGeometry(screen->availableGeometry());
    s.mainWindow()->showMaximized();
    return app.exec();
}

}  // namespace cr
