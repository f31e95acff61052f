#include "reports/reportmenu.h"

#include <QAction>
#include <QMenu>

#include "app/errorbox.h"
#include "app/routines.h"
#include "app/settings.h"
#include "data/tdm.h"
#include "receivables/tfrmgeral.h"
#include "reports/frame.h"

namespace reports {

namespace {

QAction *reportItem(QMenu *menu, QWidget *parent, const QString &text, const QString &report) {
    QAction *a = menu->addAction(text);
    a->setObjectName(QStringLiteral("act") + report);
    QObject::connect(a, &QAction::triggered, parent,
                     [parent, report] { runMenuReport(parent, report); });
    return a;
}

// A computing window of its own; until it exists the item stays disabled.
QAction *windowItem(QMenu *menu, const QString &text, const QString &window) {
    QAction *a = menu->addAction(text);
    a->setObjectName(QStringLiteral("act") + window);
    a->setEnabled(false);
    return a;
}

QAction *plainItem(QMenu *menu, const QString &text, const char *name) {
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu *submenu(QMenu *menu, const QString &title, const char *name) {
    QMenu *m = menu->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    m->setSeparatorsCollapsible(false);
    return m;
}

void runReceipt(QWidget *parent, const QString &report, const QString &nota) {
    cr::TDM *dm = cr::DM();
    if (!dm) return;
    ReportRequest req;
    req.name = report;
    req.nota = nota;
    previewReport(parent, *dm->MyConnection1, req);
}

}  // namespace

void buildReportMenu(QMenu *menu, QWidget *parent) {
    QMenu *cred = submenu(menu, QStringLiteral("Tipo de Venda Crediário"), "mnuCrediario");
    cred->addSeparator();
    reportItem(cred, parent, QStringLiteral("Em Aberto por Data de Vencimento no Periodo"),
               QStringLiteral("TRptValesAberto"));
    reportItem(cred, parent, QStringLiteral("Em Aberto Geral  por Cliente no Periodo"),
               QStringLiteral("TRptCobrancaGeral"));
    windowItem(cred, QStringLiteral("Em Aberto por Cliente Individual  no Periodo"),
               QStringLiteral("TOpReceberIndvidualCliente"));
    cred->addSeparator();
    reportItem(cred, parent, QStringLiteral("Quitado Geral por Data de Quitação no Periodo"),
               QStringLiteral("TRptReceberPg"));
    windowItem(cred, QStringLiteral("Geral por Data de Quitação com Juros no Periodo"),
               QStringLiteral("TFrmLiberacaoRelatorio"));
    cred->addSeparator();
    windowItem(cred, QStringLiteral("Por Data Quitação Sintético no Periodo"),
               QStringLiteral("TFrmResumoRecebimentos"));
    windowItem(cred, QStringLiteral("Movimentação Anual Sintético no Periodo "),
               QStringLiteral("TFrmMovimentacaoAnual"));
    cred->addSeparator();
    windowItem(cred, QStringLiteral("Grafico Mensal de Recebimentos no Perido"),
               QStringLiteral("TFrmResumoquitado"));

    QMenu *card = submenu(menu, QStringLiteral("Tipo de Venda Cartão"), "mnuCartao");
    reportItem(card, parent, QStringLiteral("Vendas C/Cartão P/Emissão no Período"),
               QStringLiteral("TRptCartaoEmissao"));
    reportItem(card, parent, QStringLiteral("Vendas C/Cartão P/Vencimento em Aberto no Período"),
               QStringLiteral("TRptCartaoVencimento"));
    reportItem(card, parent,
               QStringLiteral("Desconto do Cartão - Valor Liquido no Periodo Por Data Quitação Por "
                              "Tipo de Venda"),
               QStringLiteral("TRptCartaoQuitado01"));
    plainItem(card, QStringLiteral("Por Tipo de Pagamento no Periodo"), "actPorTipoPagamento");

    QMenu *com = submenu(menu, QStringLiteral("Comunicação"), "mnuComunicacao");
    reportItem(com, parent, QStringLiteral("Comunicação em Atraso - Frente"),
               QStringLiteral("TRptAtraso"));
    reportItem(com, parent, QStringLiteral("Comunicação em Atraso - Verso"),
               QStringLiteral("TRptVersoAtraso"));

    QMenu *chq = submenu(menu, QStringLiteral("Tipo de Venda Cheque"), "mnuCheque");
    reportItem(chq, parent, QStringLiteral("Cheque em Aberto no Período"),
               QStringLiteral("TRptCheque"));
    reportItem(chq, parent, QStringLiteral("Cheque Quitado no Período"),
               QStringLiteral("TRptChequeQ"));

    QMenu *tipo = submenu(menu, QStringLiteral("Tipo de Venda"), "mnuTipoVenda");
    reportItem(tipo, parent, QStringLiteral("A Prazo"), QStringLiteral("TRptVendaPrazo"));
    reportItem(tipo, parent, QStringLiteral("A Vista"), QStringLiteral("TRptVendaVista"));

    QMenu *res = submenu(menu, QStringLiteral("Resumo"), "mnuResumo");
    windowItem(res, QStringLiteral("No Periodo"), QStringLiteral("TFrmResumo"));

    menu->addSeparator();
    reportItem(menu, parent, QStringLiteral("Geral em Aberto por Data de Emissão no Periodo"),
               QStringLiteral("TRptResumoRecberAbertoEmissao"));
    menu->addSeparator();
    plainItem(menu, QStringLiteral("Resumo Contas a Receber Por data de Vencimento no Periodo"),
              "actResumoVencimento");
}

void runMenuReport(QWidget *parent, const QString &name) {
    const ReportDef *def = findReport(name);
    cr::TfrmGeral *period = cr::TfrmGeral::instance();
    cr::TDM *dm = cr::DM();
    if (!def || !period || !dm) return;
    if (!period->askPeriod()) return;
    const QString setting = cr::settings().filtroRelatorioFiscal;
    if (def->fiscal && !fiscalMode(setting)) return;

    const bool cardSettled = name == u"TRptCartaoQuitado01";
    if (cardSettled) {
        // This listing reads the shared company row afresh.
        if (!cr::guarded(parent, [&] {
                dm->tbConfiguracao->close();
                dm->tbConfiguracao->open();
            }))
            return;
    }
    ReportRequest req;
    req.name = name;
    req.dataI = period->dti();
    req.dataF = period->dtf();
    req.fiscalSetting = setting;
    previewReport(parent, *dm->MyConnection1, req);
    if (cardSettled) TrimMemory();
}

void reprintReceipt(QWidget *parent, const QString &controles) {
    runReceipt(parent, QStringLiteral("TRptRecibo0001"), controles);
}

void printPaymentReceipt(QWidget *parent, const QString &controle) {
    runReceipt(parent, QStringLiteral("TRptRecibo001"), controle);
}

void printSaleReceipt(QWidget *parent, const QString &codigoNota) {
    runReceipt(parent, QStringLiteral("TRptReciboNotas001"), codigoNota);
}

}  // namespace reports
