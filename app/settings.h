#pragma once

#include <QString>

namespace cr {

// Process-wide settings read once from Admin.ini beside the executable.
// Nothing is ever written back.
struct Settings {
    // [LOCAL]
    int porta = 0;
    QString servidor;
    QString banco;
    double jurosDia = 0;
    QString senhaReceber = QStringLiteral("KLUMP");
    QString filtroRelatorioFiscal = QStringLiteral("N");  // kept exactly as written
    double troco = 0;
    QString senhaCaixa;
    // [LOJA] (read, not used)
    int lojaPorta = 0;
    QString lojaServidor;
    QString lojaBanco;
    // [GERAL]
    QString naoHabilitado01;

    // Missing file, section or key -> the default. Numbers use the Brazilian
    // decimal comma; a value that does not parse -> the default.
    static Settings load(const QString &iniPath);
    // <folder of the executable>/Admin.ini
    static QString defaultIniPath();
};

// The settings in force for this run (defaults until start-up loads them).
Settings &settings();

// The operator's name from the command line, fixed for the run.
QString &currentUserName();

}  // namespace cr
