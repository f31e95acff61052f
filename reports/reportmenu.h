#pragma once

#include <QString>

class QMenu;
class QWidget;

namespace reports {

// Fills `menu` with the report menu of the "Relatório" button. Every action
// has an objectName: act + report class (actTRptValesAberto), act + window
// class for the window items (disabled until those windows exist), and
// actPorTipoPagamento / actResumoVencimento for the two items without action.
// Report items run on the data module's connection, with `parent` as owner
// of the period dialog's result, the error box and the preview.
void buildReportMenu(QMenu *menu, QWidget *parent);

// A report item: the period dialog, the fiscal setting, the preview.
void runMenuReport(QWidget *parent, const QString &reportName);

// Receipts: the list's "Imprimir" (by Controles), the payment window's
// receipt (by Controle) and the sales window's note receipt (by CodigoNota).
void reprintReceipt(QWidget *parent, const QString &controles);
void printPaymentReceipt(QWidget *parent, const QString &controle);
void printSaleReceipt(QWidget *parent, const QString &codigoNota);

}  // namespace reports
