#include "receivables/tfrmgeral.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dateedit.h"
#include "app/routines.h"
#include "app/vendor.h"

namespace cr {

namespace {
TfrmGeral *g_instance = nullptr;

QDateEdit *dateEdit(QWidget *parent, const char *name) {
    auto *d = new DateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDate(QDate::currentDate());
    return d;
}
}  // namespace

TfrmGeral::TfrmGeral(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmGeral"));
    setWindowTitle(vendor::tagline() + QStringLiteral(" - Formulario de Selecionar"));
    setModal(true);
    if (!g_instance) g_instance = this;

    auto *v = new QVBoxLayout(this);
    m_text = new QGroupBox(this);
    m_text->setObjectName(QStringLiteral("GroupDigite"));
    auto *tl = new QHBoxLayout(m_text);
    auto *lbl = new QLabel(QStringLiteral("Digite"), m_text);
    auto *edt = new QLineEdit(m_text);
    edt->setObjectName(QStringLiteral("edtDigite"));
    lbl->setBuddy(edt);
    tl->addWidget(lbl);
    tl->addWidget(edt);
    m_combo = new QGroupBox(this);
    m_combo->setObjectName(QStringLiteral("GroupLista"));
    auto *cl = new QHBoxLayout(m_combo);
    cl->addWidget(new QComboBox(m_combo));

    m_period = new QGroupBox(this);
    m_period->setObjectName(QStringLiteral("GroupPeriodo"));
    auto *pl = new QHBoxLayout(m_period);
    DTI = dateEdit(m_period, "DTI");
    DTF = dateEdit(m_period, "DTF");
    auto *li = new QLabel(QStringLiteral("Data Inicial"), m_period);
    auto *lf = new QLabel(QStringLiteral("Data Final"), m_period);
    li->setBuddy(DTI);
    lf->setBuddy(DTF);
    DTI->setAccessibleName(li->text());
    DTF->setAccessibleName(lf->text());
    pl->addWidget(li);
    pl->addWidget(DTI);
    pl->addSpacing(12);
    pl->addWidget(lf);
    pl->addWidget(DTF);

    m_buttons = new QGroupBox(this);
    m_buttons->setObjectName(QStringLiteral("GroupBotoes"));
    auto *bl = new QHBoxLayout(m_buttons);
    auto *ok = new QPushButton(QStringLiteral("OK"), m_buttons);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), m_buttons);
    cancel->setObjectName(QStringLiteral("btnCancelar"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bl->addStretch(1);
    bl->addWidget(ok);
    bl->addWidget(cancel);

    for (QGroupBox *g : {m_text, m_combo, m_period, m_buttons}) {
        v->addWidget(g);
        g->hide();
    }
}

TfrmGeral::~TfrmGeral() {
    if (g_instance == this) g_instance = nullptr;
}

TfrmGeral *TfrmGeral::instance() { return g_instance; }

bool TfrmGeral::askPeriod() {
    if (Tag == 0) {
        Tag = 1;
        DTI->setDate(QDate::currentDate());
        DTF->setDate(QDate::currentDate());
    }
    const QSize before = size();
    m_period->show();
    m_buttons->show();
    // Only the period and the buttons: the dialog is as tall as they are.
    adjustSize();
    setFixedHeight(sizeHint().height());
    const int r = exec();
    TrimMemory();
    m_buttons->hide();
    m_period->hide();
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(before);
    return r == QDialog::Accepted;
}

QDate TfrmGeral::dti() const { return DTI->date(); }
QDate TfrmGeral::dtf() const { return DTF->date(); }

}  // namespace cr
