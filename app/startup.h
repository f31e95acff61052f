#pragma once

#include <QStringList>
#include <memory>

#include "app/settings.h"

namespace cr {

class TDM;
class TfrmReceber;
class TfrmGeral;

// The start-up sequence: settings, data module, main window, period dialog.
class Startup {
public:
    Startup(const QStringList &args, const QString &iniPath = Settings::defaultIniPath());
    ~Startup();

    // False when the program must end (no operator name).
    bool run();

    TDM *dm() const { return m_dm.get(); }
    TfrmReceber *mainWindow() const { return m_main.get(); }
    TfrmGeral *periodDialog() const { return m_geral.get(); }

private:
    QStringList m_args;
    QString m_iniPath;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TfrmReceber> m_main;
    std::unique_ptr<TfrmGeral> m_geral;
};

// TfrmGeral lives for the whole run; windows reach it here.
TfrmGeral *frmGeral();

int runProgram(int argc, char **argv);

}  // namespace cr
