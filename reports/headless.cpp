#include "reports/headless.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>
#include <stdexcept>

#include "app/brformat.h"
#include "app/settings.h"
#include "data/tdm.h"
#include "reports/frame.h"

namespace reports {

namespace {

QTextStream &err() {
    static QTextStream s(stderr);
    return s;
}

int fail(int code, const QString &message) {
    err() << message << Qt::endl;
    return code;
}

}  // namespace

int runHeadless(const QStringList &args) {
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Gera um relatório do Contas a Receber direto em arquivo, sem janela."));
    p.addHelpOption();
    const QCommandLineOption report({"r", "relatorio"},
                                    "Classe do relatório (TRptValesAberto ...).", "nome");
    const QCommandLineOption from({"i", "de"}, "Data inicial (dd/mm/aaaa).", "data");
    const QCommandLineOption to({"f", "ate"}, "Data final (dd/mm/aaaa).", "data");
    const QCommandLineOption note({"n", "nota"}, "Controle, Controles ou nota dos recibos.",
                                  "valor");
    const QCommandLineOption out({"o", "saida"}, "Arquivo a gravar.", "arquivo");
    const QCommandLineOption format({"t", "formato"},
                                    "pdf, csv, txt ou xlsx (padrão: pela extensão).", "formato");
    const QCommandLineOption ini("ini", "Caminho do Admin.ini (padrão: ao lado do programa).",
                                 "arquivo");
    const QCommandLineOption fiscal("filtro", "FILTRORELATORIOFISCAL desta execução (F, N ou A).",
                                    "valor");
    const QCommandLineOption list("listar", "Lista os relatórios disponíveis.");
    p.addOptions({report, from, to, note, out, format, ini, fiscal, list});
    if (!p.parse(args)) return fail(ExitUsage, p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << p.helpText();
        return ExitOk;
    }
    if (p.isSet(list)) {
        QTextStream o(stdout);
        for (const QString &n : reportNames()) o << n << '\n';
        return ExitOk;
    }

    const QString name = p.value(report);
    const ReportDef *def = findReport(name);
    if (!def)
        return fail(ExitUsage, name.isEmpty()
                                   ? QStringLiteral("Informe o relatório (--relatorio).")
                                   : QStringLiteral("Relatório desconhecido: %1").arg(name));
    const QString path = p.value(out);
    if (path.isEmpty())
        return fail(ExitUsage, QStringLiteral("Informe o arquivo de saída (--saida)."));
    const auto fmt =
        rpt::formatFromName(p.isSet(format) ? p.value(format) : QFileInfo(path).suffix());
    if (!fmt || *fmt == rpt::Format::Svg || *fmt == rpt::Format::Rtf ||
        *fmt == rpt::Format::XmlSheet)
        return fail(ExitUsage, QStringLiteral("Formato não suportado: use pdf, csv, txt ou xlsx."));

    ReportRequest req;
    req.name = name;
    if (def->byNote) {
        req.nota = p.value(note).trimmed();
        if (req.nota.isEmpty()) return fail(ExitUsage, QStringLiteral("Informe a nota (--nota)."));
    } else {
        req.dataI = br::parseDate(p.value(from));
        req.dataF = br::parseDate(p.value(to));
        if (!req.dataI.isValid() || !req.dataF.isValid())
            return fail(ExitUsage,
                        QStringLiteral("Datas inválidas: informe --de e --ate como dd/mm/aaaa."));
        // A job that swapped its dates would archive an empty listing as if
        // it were the period's.
        if (req.dataI > req.dataF)
            return fail(ExitUsage, QStringLiteral("A data inicial é posterior à data final."));
    }

    cr::settings() =
        cr::Settings::load(p.isSet(ini) ? p.value(ini) : cr::Settings::defaultIniPath());
    req.fiscalSetting = p.isSet(fiscal) ? p.value(fiscal) : cr::settings().filtroRelatorioFiscal;
    if (def->fiscal && !fiscalMode(req.fiscalSetting))
        return fail(
            ExitNothing,
            QStringLiteral("FILTRORELATORIOFISCAL=%1: o relatório não é gerado (use F, N ou A).")
                .arg(req.fiscalSetting));

    try {
        cr::Connection conn(QStringLiteral("Relatorio"));
        conn.setHost(cr::settings().servidor);
        conn.setPort(cr::settings().porta);
        conn.setDatabase(cr::settings().banco);
        conn.setUserName(QStringLiteral("root"));
        conn.setPassword(QStringLiteral("kqv7315"));
        conn.setConnectTimeout(30);
        conn.open();
        exportReport(conn, req, *fmt, path);
    } catch (const cr::DbError &e) {
        return fail(ExitDatabase, QStringLiteral("Erro no banco de dados: %1").arg(e.message()));
    } catch (const rpt::ExportError &e) {
        return fail(ExitWrite, QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        return fail(ExitUsage, QString::fromUtf8(e.what()));
    }
    return ExitOk;
}

}  // namespace reports
