#include "sales/tfrmvendas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/brformat.h"
#include "app/vendor.h"
#include "data/dbgrid.h"

namespace cr {

QString TFrmvendas::headerText(double saleTotal) {
    return QStringLiteral("Total dos Produtos Vendidos neste Venda R$ ") +
           br::formatFloat(QStringLiteral("###,##0.00"), saleTotal);
}

TFrmvendas::TFrmvendas(Dataset *products, double saleTotal, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Frmvendas"));
    setWindowTitle(vendor::contact());
    resize(820, 420);
    auto *v = new QVBoxLayout(this);
    auto *band = new QWidget(this);
    auto *h = new QHBoxLayout(band);
    header = new QLabel(headerText(saleTotal), band);
    header->setObjectName(QStringLiteral("Panel1"));
    QFont f = header->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    header->setFont(f);
    auto *x = new QPushButton(QStringLiteral("X"), band);
    x->setObjectName(QStringLiteral("Panel2"));
    x->setToolTip(QStringLiteral("Fechar"));
    x->setStyleSheet(
        QStringLiteral("QPushButton { background: #c00000; color: white; "
                       "font-weight: bold; min-width: 32px; }"));
    connect(x, &QPushButton::clicked, this, &QDialog::accept);
    h->addWidget(header, 1);
    h->addWidget(x);
    v->addWidget(band);

    grid = new DbGrid(this);
    grid->setObjectName(QStringLiteral("CRDBGrid1"));
    grid->setDataset(
        products,
        {{QStringLiteral("Nº Controle"), QStringLiteral("Codigonota"), QStringLiteral("#####"), 90},
         {QStringLiteral("Data"), QStringLiteral("data"), {}, 90},
         {QStringLiteral("Codigo"), QStringLiteral("Codigoproduto"), QStringLiteral("#####"), 70},
         {QStringLiteral("Descrição do Produto"), QStringLiteral("Produto"), {}, 280},
         {QStringLiteral("Preço R$"), QStringLiteral("Preco"), QStringLiteral("#,##0.00"), 90},
         {QStringLiteral("Qtd."), QStringLiteral("Qt"), QStringLiteral("#,##0.00"), 70},
         {QStringLiteral("Total R$"), QStringLiteral("total"), QStringLiteral("#,##0.00"), 90}});
    v->addWidget(grid, 1);
}

}  // namespace cr
