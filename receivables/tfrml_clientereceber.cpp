#include "receivables/tfrml_clientereceber.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/errorbox.h"
#include "app/vendor.h"
#include "data/dbgrid.h"
#include "receivables/likepattern.h"

namespace cr {

TFrmL_ClienteReceber::TFrmL_ClienteReceber(Dataset *target, Connection *conn, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_target(target) {
    setObjectName(QStringLiteral("FrmL_ClienteReceber"));
    setWindowTitle(vendor::tagline() + QStringLiteral(" - Formulario de Localizar Cliente"));
    resize(760, 480);
    QRY1 = new Dataset(conn, this);
    QRY1->setObjectName(QStringLiteral("QRY1"));
    QRY1->setSql(QStringLiteral("SELECT * FROM CLIENTE"));

    auto *v = new QVBoxLayout(this);
    auto *top = new QLabel(QStringLiteral("Localizar Dados do Cliente"), this);
    top->setAlignment(Qt::AlignCenter);
    QFont f = top->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    top->setFont(f);
    v->addWidget(top);

    auto *g = new QGroupBox(this);
    auto *gl = new QHBoxLayout(g);
    auto *lbl = new QLabel(QStringLiteral("Digite os Dados"), g);
    edtLocalizar = new QLineEdit(g);
    edtLocalizar->setObjectName(QStringLiteral("edtLocalizar"));
    edtLocalizar->setAccessibleName(lbl->text());
    lbl->setBuddy(edtLocalizar);
    connect(edtLocalizar, &QLineEdit::textEdited, this, [this](const QString &t) {
        if (t == t.toUpper()) return;
        const int pos = edtLocalizar->cursorPosition();
        edtLocalizar->setText(t.toUpper());
        edtLocalizar->setCursorPosition(pos);
    });
    auto *bNome = new QPushButton(QStringLiteral("&Nome"), g);
    bNome->setObjectName(QStringLiteral("btnNome"));
    auto *bCodigo = new QPushButton(QStringLiteral("&Codigo"), g);
    bCodigo->setObjectName(QStringLiteral("btnCodigo"));
    connect(bNome, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { search(true); }); });
    connect(bCodigo, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { search(false); }); });
    gl->addWidget(lbl);
    gl->addWidget(edtLocalizar, 1);
    gl->addWidget(bNome);
    gl->addWidget(bCodigo);
    v->addWidget(g);

    grid = new DbGrid(this);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setDataset(QRY1, {{QStringLiteral("Codigo"), QStringLiteral("Codigocliente"),
                             QStringLiteral("#####"), 70},
                            {QStringLiteral("Nome"), QStringLiteral("Nome"), {}, 260},
                            {QStringLiteral("Endereço"), QStringLiteral("Endereco"), {}, 200},
                            {QStringLiteral("Bairro"), QStringLiteral("Bairro"), {}, 120},
                            {QStringLiteral("Numero"), QStringLiteral("Numero"), {}, 60}});
    v->addWidget(grid, 1);

    auto *bottom = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("btnCancelar"));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (guarded(this, [this] { takePick(); })) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid, &QAbstractItemView::doubleClicked, ok, &QPushButton::click);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    v->addLayout(bottom);
}

void TFrmL_ClienteReceber::search(bool byName) {
    if (edtLocalizar->text().isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Atenção"),
                             QStringLiteral("Nome do Cliente em Branco !!!"));
        edtLocalizar->setFocus();
        return;
    }
    const QString sql = QString::fromLatin1(byName ? kSqlNome : kSqlCodigo)
                            .arg(likeLiteral(edtLocalizar->text(), byName));
    QRY1->close();
    QRY1->setSql(sql);
    QRY1->open();
}

void TFrmL_ClienteReceber::takePick() {
    if (!QRY1->isActive() || QRY1->isEmpty())
        throw DbError(QStringLiteral("Nenhum cliente selecionado."));
    const QVariant code = QRY1->field(QStringLiteral("Codigocliente")).value();
    const QVariant name = QRY1->field(QStringLiteral("Nome")).value();
    if (!m_target->isEditing()) m_target->edit();
    m_target->field(QStringLiteral("CodigoCliente")).setValue(code);
    m_target->field(QStringLiteral("Nome")).setValue(name);
}

}  // namespace cr
