#include "receivables/tfrmreceber.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/errorbox.h"
#include "app/settings.h"
#include "data/tdm.h"

namespace cr {

TfrmReceber::TfrmReceber(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmReceber"));
    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    auto *titlePanel = new QWidget(central);
    titlePanel->setObjectName(QStringLiteral("PanelTitulo"));
    titlePanel->setAutoFillBackground(true);
    auto *h = new QHBoxLayout(titlePanel);
    m_caption = new QLabel(QStringLiteral("MANUTENÇÃO DE CONTAS A RECEBER"), titlePanel);
    QFont f = m_caption->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    m_caption->setFont(f);
    m_caption->setAlignment(Qt::AlignCenter);
    auto *closeX = new QPushButton(QStringLiteral("X"), titlePanel);
    closeX->setObjectName(QStringLiteral("PanelFechar"));
    closeX->setStyleSheet(
        QStringLiteral("QPushButton { background: #c00000; color: white; "
                       "font-weight: bold; min-width: 32px; }"));
    closeX->setToolTip(QStringLiteral("Fechar"));
    connect(closeX, &QPushButton::clicked, this, &QWidget::close);
    h->addWidget(m_caption, 1);
    h->addWidget(closeX);
    v->addWidget(titlePanel);
    v->addStretch(1);
    setCentralWidget(central);
    setWindowTitle(QApplication::applicationName());
}

QString TfrmReceber::titleFor(const QString &shopName, const QString &user, const QString &host) {
    return QStringLiteral("Atualizado 04-02-2025 / 19:30  - Loja : ") + shopName +
           QStringLiteral(" -  Usuario : ") + user + QStringLiteral(" - ") + host;
}

bool TfrmReceber::initialize(const QString &userName) {
    currentUserName() = userName;
    if (userName.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Erro de Inicialização"),
                        QStringLiteral("Este sistema só pode ser executado através dos "
                                       "aplicativos da TELVO SISTEMAS."),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("StartupError"));
        box.exec();
        return false;
    }
    QString shop;
    TDM *dm = DM();
    // Without a connection the title goes without the shop's name; the
    // connection error was already shown once.
    if (dm && dm->MyConnection1->isConnected()) {
        guarded(this, [&] { shop = dm->companyName(); });
    }
    setWindowTitle(titleFor(shop, userName, dm ? dm->MyConnection1->host() : QString()));
    return true;
}

void TfrmReceber::closeEvent(QCloseEvent *e) {
    if (TDM *dm = DM()) dm->closeShared();
    e->accept();
}

}  // namespace cr
