#include "receivables/tfrmreceber.h"

#include <signal.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

#include "app/dateedit.h"
#include "app/errorbox.h"
#include "app/routines.h"
#include "app/settings.h"
#include "data/dbgrid.h"
#include "data/dblinks.h"
#include "data/tdm.h"
#include "receivables/tfrml_clientereceber.h"
#include "reports/reportmenu.h"
#include "sales/tfrmvendas.h"

namespace cr {

namespace {
const char *const kMoney = "#,##0.00";

QLabel *note(const QString &text, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}
}  // namespace

TfrmReceber::TfrmReceber(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmReceber"));
    setWindowTitle(QApplication::applicationName());
    TDM *dm = DM();
    Connection *conn =
        dm ? dm->MyConnection1 : new Connection(QStringLiteral("MyConnection1"), this);
    m_data = new ReceberData(conn, this);

    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(4, 4, 4, 4);

    auto *titlePanel = new QWidget(central);
    titlePanel->setObjectName(QStringLiteral("PanelTitulo"));
    auto *h = new QHBoxLayout(titlePanel);
    h->setContentsMargins(0, 0, 0, 0);
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
    closeX->setFocusPolicy(Qt::NoFocus);
    connect(closeX, &QPushButton::clicked, this, &QWidget::close);
    h->addWidget(m_caption, 1);
    h->addWidget(closeX);
    v->addWidget(titlePanel);

    auto *top = new QHBoxLayout;
    top->addWidget(buildSearchGroup(), 3);
    top->addWidget(buildButtonGroup(), 4);
    v->addLayout(top);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    DBGrid1 = new DbGrid(PageControl1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(
        QStringLiteral("Para Visualizar os Produtos Click com o Botão direito do Mouse"));
    DBGrid1->setDataset(
        m_data->MyReceber,
        {{QStringLiteral("Condição"), QStringLiteral("Condicao"), {}, 110},
         {QStringLiteral("Nº. Controles"), QStringLiteral("Controles"), {}, 90},
         {QStringLiteral("Nº Nota"), QStringLiteral("CodigoNota"), {}, 70},
         {QStringLiteral("Dt.Emissão"), QStringLiteral("DataEmissao"), {}, 80},
         {QStringLiteral("Dt.Vencimento"), QStringLiteral("DataVenc"), {}, 85},
         {QStringLiteral("Dt.Quitação"), QStringLiteral("DataQuitacao"), {}, 80},
         {QStringLiteral("Codigo"), QStringLiteral("CodigoCliente"), QStringLiteral("#####"), 60},
         {QStringLiteral("Nome do Cliente"), QStringLiteral("Nome"), {}, 230},
         {QStringLiteral("Total R$"), QStringLiteral("Total"), kMoney, 80},
         {QStringLiteral("Parcela R$"), QStringLiteral("Valor"), kMoney, 80},
         {QStringLiteral("V.Original"), QStringLiteral("valororiginal"), kMoney, 80},
         {QStringLiteral("Perc.Cartão"), QStringLiteral("Percentual"), kMoney, 70},
         {QStringLiteral("Cartao Liquido"), QStringLiteral("CartaoLiquido"), kMoney, 85},
         {QStringLiteral("Total Pgto."), QStringLiteral("TotalPg"), kMoney, 80},
         {QStringLiteral("T.Pagamento"), QStringLiteral("tipopagamento"), {}, 110},
         {QStringLiteral("Dt.Referencia"), QStringLiteral("datareffinan"), {}, 85},
         {QStringLiteral("Ref.Refinan."), QStringLiteral("reffinan"), {}, 90}});
    DBGrid1->datasetModel()->rowColor = [this](const RecordView &r) {
        return ReceberData::rowColor(r, m_data->today());
    };
    DBGrid1->setEditable(true);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { selectPage(1); });
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *print = m_listMenu->addAction(QStringLiteral("Imprimir"));
    print->setObjectName(QStringLiteral("Imprimir1"));
    connect(print, &QAction::triggered, this,
            [this] { guarded(this, [this] { reprintReceipt(); }); });
    QAction *sales = m_listMenu->addAction(QStringLiteral("Vendas"));
    sales->setObjectName(QStringLiteral("Vendas1"));
    connect(sales, &QAction::triggered, this,
            [this] { guarded(this, [this] { showProductsSold(); }); });
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { m_listMenu->popup(DBGrid1->viewport()->mapToGlobal(p)); });

    PageControl1->addTab(DBGrid1, QStringLiteral("Listagem"));
    PageControl1->addTab(buildDetailsPage(), QStringLiteral("Dados do Documento"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmReceber::pageChanged);
    v->addWidget(PageControl1, 1);
    setCentralWidget(central);

    // Typing into a field starts editing: the tool bars follow.
    connect(m_data->MyReceber, &Dataset::stateChanged, this, [this] {
        if (m_data->MyReceber->isEditing() && !m_editingMode) setEditingMode(true);
    });

    // Creation: the new-row fields hidden, both dates today, the list page.
    DTI->setDate(QDate::currentDate());
    DTF->setDate(QDate::currentDate());
    selectPage(0);
    setEditingMode(false);
    qApp->installEventFilter(this);
    edtLocalizar->setFocus();
}

TfrmReceber::~TfrmReceber() { qApp->removeEventFilter(this); }

QPushButton *TfrmReceber::makeButton(QWidget *parent, const QString &name, const QString &text) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    m_buttons.insert(name, b);
    return b;
}

QWidget *TfrmReceber::buildSearchGroup() {
    auto *g = new QGroupBox(QStringLiteral("Digite os Dados"));
    g->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(g);
    edtLocalizar = new QLineEdit(g);
    edtLocalizar->setObjectName(QStringLiteral("edtLocalizar"));
    edtLocalizar->setAccessibleName(QStringLiteral("Digite os Dados"));
    connect(edtLocalizar, &QLineEdit::textEdited, this, [this](const QString &t) {
        if (t == t.toUpper()) return;
        const int pos = edtLocalizar->cursorPosition();
        edtLocalizar->setText(t.toUpper());
        edtLocalizar->setCursorPosition(pos);
    });
    grid->addWidget(edtLocalizar, 0, 0, 1, 3);
    auto *bCod = makeButton(g, QStringLiteral("BtnPorCodigo"), QStringLiteral("Por &Codigo"));
    auto *bNome = makeButton(g, QStringLiteral("BtnPorNome"), QStringLiteral("Por &Nome"));
    bNome->setToolTip(QStringLiteral("Localizar Cliente Por Nome"));
    auto *bNota = makeButton(g, QStringLiteral("BtnPorNota"), QStringLiteral("Por Nº N&ota"));
    connect(bCod, &QPushButton::clicked, this,
            [this] { textSearch(ReceberData::TextSearch::Codigo); });
    connect(bNome, &QPushButton::clicked, this,
            [this] { textSearch(ReceberData::TextSearch::Nome); });
    connect(bNota, &QPushButton::clicked, this,
            [this] { textSearch(ReceberData::TextSearch::Nota); });
    grid->addWidget(bCod, 0, 3);
    grid->addWidget(bNome, 0, 4);
    grid->addWidget(bNota, 0, 5);

    auto *li = new QLabel(QStringLiteral("Data Inicial"), g);
    auto *lf = new QLabel(QStringLiteral("Data Final"), g);
    DTI = new DateEdit(g);
    DTF = new DateEdit(g);
    DTI->setObjectName(QStringLiteral("DTI"));
    DTF->setObjectName(QStringLiteral("DTF"));
    li->setBuddy(DTI);
    lf->setBuddy(DTF);
    DTI->setAccessibleName(li->text());
    DTF->setAccessibleName(lf->text());
    grid->addWidget(li, 1, 0);
    grid->addWidget(lf, 1, 1);
    grid->addWidget(DTI, 2, 0);
    grid->addWidget(DTF, 2, 1);
    auto *bEm = makeButton(g, QStringLiteral("BtnPorEmissao"), QStringLiteral("Por D.&Emissão"));
    auto *bVe = makeButton(g, QStringLiteral("BtnPorVencimento"), QStringLiteral("Por Dt.V&enc."));
    bVe->setToolTip(QStringLiteral("Por Data de Vencimento"));
    auto *bQu = makeButton(g, QStringLiteral("BtnPorQuitacao"), QStringLiteral("Por Dt.Quitação"));
    connect(bEm, &QPushButton::clicked, this,
            [this] { dateSearch(ReceberData::DateSearch::Emissao); });
    connect(bVe, &QPushButton::clicked, this,
            [this] { dateSearch(ReceberData::DateSearch::Vencimento); });
    connect(bQu, &QPushButton::clicked, this,
            [this] { dateSearch(ReceberData::DateSearch::Quitacao); });
    grid->addWidget(bEm, 2, 3);
    grid->addWidget(bVe, 2, 4);
    grid->addWidget(bQu, 2, 5);

    auto *letters = new QHBoxLayout;
    letters->setSpacing(1);
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QChar letter = QLatin1Char(c);
        auto *b =
            makeButton(g, QStringLiteral("Btn%1").arg(letter), QStringLiteral("&%1").arg(letter));
        b->setFixedWidth(24);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, letter] { letterSearch(letter); });
        // Alt+C, Alt+N and Alt+O belong to the search buttons; the letter
        // keeps its underline but not the shortcut, so those are not ambiguous.
        if (c == 'C' || c == 'N' || c == 'O') b->setShortcut(QKeySequence());
        letters->addWidget(b);
    }
    grid->addLayout(letters, 3, 0, 1, 6);
    grid->addWidget(note(QStringLiteral("Para Visualizar os Produtos Click com o Botão direito do "
                                        "Mouse, na tela acima"),
                         g),
                    4, 0, 1, 6);
    return g;
}

QWidget *TfrmReceber::buildButtonGroup() {
    auto *g = new QGroupBox;
    g->setObjectName(QStringLiteral("GroupBox2"));
    auto *v = new QVBoxLayout(g);
    auto *notes = new QHBoxLayout;
    notes->addWidget(
        note(QStringLiteral("Para Reimprimir o Recibo, Basta Selecionar \nO Registro e "
                            "Clicar com o Botão Direito do Mouse"),
             g),
        1);
    auto *red = new QLabel(QStringLiteral("Vermelho => Parcela está em Atraso"), g);
    red->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
    auto *green = new QLabel(QStringLiteral("Verde => Parcela está Quitada"), g);
    green->setStyleSheet(QStringLiteral("color: rgb(0,128,0); font-weight: bold;"));
    auto *legend = new QVBoxLayout;
    legend->addWidget(red);
    legend->addWidget(green);
    notes->addLayout(legend);
    v->addLayout(notes);

    // A bar wraps after `perRow` buttons, so the window fits a 1366 screen.
    auto bar = [&](const char *name, const QList<QPair<QString, QString>> &items, int perRow = 5) {
        auto *w = new QWidget(g);
        w->setObjectName(QString::fromLatin1(name));
        auto *l = new QGridLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(2);
        for (int i = 0; i < items.size(); ++i)
            l->addWidget(makeButton(w, items[i].first, items[i].second), i / perRow, i % perRow);
        l->setColumnStretch(perRow, 1);
        v->addWidget(w);
        return w;
    };
    m_bar1 = bar("ToolBar1", {{"BtnIncluir", "Incluir"},
                              {"BtnAlterar", "Alterar"},
                              {"BtnExcluir", "Excluir"},
                              {"BtnRelatorio", "Relatório"},
                              {"BtnFechar", "   Fechar   "}});
    m_bar2 = bar("ToolBar2", {{"BtnSalvar", "Salvar"}, {"BtnCancelar", "  Cancelar  "}});
    m_bar3 = bar("ToolBar3", {{"BtnPrimeiro", "Primeiro"},
                              {"BtnAnterior", "Anterior"},
                              {"BtnProximo", "Próximo"},
                              {"BtnUltimo", "   Último   "},
                              {"BtnCliente", "   Cliente   "},
                              {"BtnBaixarInd", "Baixar Ind."},
                              {"BtnRefinanc", "Refinanc."},
                              {"BtnCancelamento", "Cancelamento"},
                              {"BtnBLCartao", "B.L.Cartão"},
                              {"BtnBLCrediario", "B.L.Crediario"}});
    v->addStretch(1);

    m_reportMenu = new QMenu(this);
    m_reportMenu->setObjectName(QStringLiteral("MenuRelatorio"));
    button(QStringLiteral("BtnRelatorio"))->setMenu(m_reportMenu);
    reports::buildReportMenu(m_reportMenu, this);

    auto on = [this](const char *name, auto fn) {
        connect(button(QString::fromLatin1(name)), &QPushButton::clicked, this,
                [this, fn] { guarded(this, [this, fn] { (this->*fn)(); }); });
    };
    on("BtnIncluir", &TfrmReceber::incluir);
    on("BtnAlterar", &TfrmReceber::alterar);
    on("BtnExcluir", &TfrmReceber::excluir);
    on("BtnSalvar", &TfrmReceber::salvar);
    on("BtnCancelar", &TfrmReceber::cancelar);
    on("BtnCliente", &TfrmReceber::runClientProgram);
    connect(button(QStringLiteral("BtnFechar")), &QPushButton::clicked, this, &QWidget::close);
    Dataset *ds = m_data->MyReceber;
    auto nav = [this, ds](const char *name, void (Dataset::*move)()) {
        connect(button(QString::fromLatin1(name)), &QPushButton::clicked, this, [this, ds, move] {
            guarded(this, [ds, move] {
                if (ds->isActive()) (ds->*move)();
            });
        });
    };
    nav("BtnPrimeiro", &Dataset::first);
    nav("BtnAnterior", &Dataset::prior);
    nav("BtnProximo", &Dataset::next);
    nav("BtnUltimo", &Dataset::last);
    // Their windows come with the settlement, refinancing and sales modules.
    for (const char *name :
         {"BtnBaixarInd", "BtnRefinanc", "BtnCancelamento", "BtnBLCartao", "BtnBLCrediario"})
        button(QString::fromLatin1(name))->setEnabled(false);
    return g;
}

QWidget *TfrmReceber::buildDetailsPage() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabDados"));
    auto *v = new QVBoxLayout(page);
    auto *form = new QGridLayout;
    v->addLayout(form);
    Dataset *ds = m_data->MyReceber;
    int row = 0, col = 0;
    auto place = [&](QLabel *l, QWidget *w, int span = 1) {
        form->addWidget(l, row, col * 2);
        form->addWidget(w, row, col * 2 + 1, 1, span);
        col += span;
        if (col >= 4) {
            col = 0;
            ++row;
        }
    };
    auto field = [&](const QString &label, const QString &name, const QString &mask = {},
                     bool readOnly = false, bool upper = false, int span = 1) -> QLineEdit * {
        auto *l = new QLabel(label, page);
        auto *e = new QLineEdit(page);
        e->setObjectName(QStringLiteral("edt") + name);
        e->setAccessibleName(label);
        l->setBuddy(e);
        DbLink *link = DbLink::edit(e, ds, name, mask, upper);
        if (readOnly) {
            link->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
        } else {
            m_links.append(link);
        }
        if (mask == QLatin1String(kMoney)) e->setAlignment(Qt::AlignRight);
        place(l, e, span);
        return e;
    };

    QLineEdit *controles =
        field(QStringLiteral("Nº da Nota"), QStringLiteral("Controles"), {}, false, true);
    m_edtControles = controles;
    m_lblNota = form->itemAtPosition(0, 0)->widget();
    field(QStringLiteral("Data Emissão"), QStringLiteral("DataEmissao"));
    field(QStringLiteral("Data Vencimento"), QStringLiteral("DataVenc"));
    field(QStringLiteral("T.Parcela"), QStringLiteral("Valor"), kMoney);
    field(QStringLiteral("Valor Desconto"), QStringLiteral("ValorDesconto"), kMoney, true);
    field(QStringLiteral("Data de Quitação"), QStringLiteral("DataQuitacao"));
    field(QStringLiteral("Desconto"), QStringLiteral("Desconto"), kMoney);
    field(QStringLiteral("Valor c/Juros"), QStringLiteral("valorjuros"), kMoney, true);
    field(QStringLiteral("Dias de Atraso"), QStringLiteral("dias"), QStringLiteral("#####"), true);
    field(QStringLiteral("Valor do Juros"), QStringLiteral("JurosD"), kMoney, true);
    field(QStringLiteral("Total Nota"), QStringLiteral("Total"), kMoney);
    field(QStringLiteral("Comissão"), QStringLiteral("Comissao"), kMoney);
    field(QStringLiteral("Nome do Funcionário"), QStringLiteral("NomeFuncionario"), {}, false,
          false, 3);
    field(QStringLiteral("Resumo de Operação"), QStringLiteral("Ro"));
    field(QStringLiteral("Número do Cartão de Crédito"), QStringLiteral("Ncartao"));
    field(QStringLiteral("Condição de Venda"), QStringLiteral("Condicaovenda"));
    field(QStringLiteral("Valor Pago"), QStringLiteral("TotalPg"), kMoney);

    {
        auto *l = new QLabel(QStringLiteral("Descrição da Parcela"), page);
        auto *c = new QComboBox(page);
        c->setObjectName(QStringLiteral("cboDescricaoparcela"));
        c->setAccessibleName(l->text());
        l->setBuddy(c);
        m_links.append(DbLink::lookup(c, ds, QStringLiteral("CodigoParcela"), m_data->MyParcela,
                                      QStringLiteral("CodigoParcela"),
                                      QStringLiteral("Descparcela")));
        place(l, c, 2);
    }
    {
        auto *l = new QLabel(QStringLiteral("Controle"), page);
        auto *val = new QLabel(page);
        val->setObjectName(QStringLiteral("lblControles"));
        val->setFrameShape(QFrame::StyledPanel);
        DbLink::label(val, ds, QStringLiteral("Controles"));
        m_lblControle = l;
        m_valControle = val;
        place(l, val);
    }
    {
        auto *l = new QLabel(QStringLiteral("Código"), page);
        auto *w = new QWidget(page);
        auto *h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        auto *e = new QLineEdit(w);
        e->setObjectName(QStringLiteral("edtCodigoCliente"));
        e->setAccessibleName(l->text());
        l->setBuddy(e);
        m_links.append(
            DbLink::edit(e, ds, QStringLiteral("CodigoCliente"), QStringLiteral("#####")));
        auto *b = makeButton(w, QStringLiteral("BtnLocalizarCliente"), QStringLiteral("..."));
        b->setToolTip(QStringLiteral("Localizar Cliente"));
        b->setFixedWidth(28);
        connect(b, &QPushButton::clicked, this,
                [this] { guarded(this, [this] { openClientLookup(); }); });
        h->addWidget(e);
        h->addWidget(b);
        place(l, w);
    }
    field(QStringLiteral("Nome do Cliente"), QStringLiteral("Nome"), {}, false, false, 3);
    field(QStringLiteral("Tipo de Pagamento"), QStringLiteral("tipopagamento"));
    field(QStringLiteral("Observação"), QStringLiteral("obssaida"), {}, false, false, 2);
    field(QStringLiteral("Dt.Neg.(SPC)"), QStringLiteral("dInativotLan"));
    field(QStringLiteral("Data 1ª Carta"), QStringLiteral("Data1carta"));
    field(QStringLiteral("Data 2ª Carta"), QStringLiteral("Data2carta"));

    // New-row fields, shown only once "Incluir" has been used.
    m_newNota = field(QStringLiteral("Nº da Nota"), QStringLiteral("CodigoNota"));
    m_newNota->setObjectName(QStringLiteral("edtCodigoNota"));
    m_newTotal = field(QStringLiteral("Total da Nota"), QStringLiteral("Total"), kMoney);
    m_newTotal->setObjectName(QStringLiteral("edtTotalNota"));
    for (QLabel *l : page->findChildren<QLabel *>()) {
        if (l->buddy() == m_newTotal) m_lblTotalNova = l;
        if (l->buddy() == m_newNota) m_lblNotaNova = l;
    }
    for (QWidget *w : {m_newNota, m_newTotal, m_lblNotaNova, m_lblTotalNova})
        if (w) w->hide();

    auto *marks = new QHBoxLayout;
    auto *imp = new QGroupBox(QStringLiteral("Imprime Inativação"), page);
    auto *il = new QHBoxLayout(imp);
    auto *sim = new QRadioButton(QStringLiteral("Sim"), imp);
    auto *nao = new QRadioButton(QStringLiteral("Não"), imp);
    sim->setObjectName(QStringLiteral("rbImprimeSim"));
    nao->setObjectName(QStringLiteral("rbImprimeNao"));
    il->addWidget(sim);
    il->addWidget(nao);
    auto *grp = new QButtonGroup(imp);
    grp->addButton(sim, 0);
    grp->addButton(nao, 1);
    m_links.append(DbLink::radio(grp, ds, QStringLiteral("Impinvativo"),
                                 {QStringLiteral("S"), QStringLiteral("N")}));
    marks->addWidget(imp);
    auto check = [&](const QString &text, const QString &name, const QVariant &on,
                     const QVariant &off) {
        auto *c = new QCheckBox(text, page);
        c->setObjectName(QStringLiteral("chk") + name);
        m_links.append(DbLink::check(c, ds, name, on, off));
        marks->addWidget(c);
    };
    check(QStringLiteral("Carta 1ª de Cobrança"), QStringLiteral("Carta01"), 1, 0);
    check(QStringLiteral("Carta 2ª de Cobrança"), QStringLiteral("Carta02"), 1, 0);
    check(QStringLiteral("Inativação"), QStringLiteral("iCodTitulotlan"), QStringLiteral("True"),
          QStringLiteral("False"));
    marks->addStretch(1);
    v->addLayout(marks);

    auto *obs = new QPlainTextEdit(page);
    obs->setObjectName(QStringLiteral("memoObs"));
    obs->setAccessibleName(QStringLiteral("Observação da parcela"));
    obs->setMaximumHeight(60);
    m_links.append(DbLink::memo(obs, ds, QStringLiteral("Obs")));
    v->addWidget(obs);

    auto *lower = new QHBoxLayout;
    gridProdutos = new DbGrid(page);
    gridProdutos->setObjectName(QStringLiteral("gridProdutos"));
    gridProdutos->setDataset(
        m_data->MyAxVendas,
        {{QStringLiteral("Nº Nota"), QStringLiteral("Codigonota"), QStringLiteral("#####"), 60},
         {QStringLiteral("Código"), QStringLiteral("Codigoproduto"), QStringLiteral("#####"), 60},
         {QStringLiteral("Descrição do Produto"), QStringLiteral("Produto"), {}, 220},
         {QStringLiteral("Quant."), QStringLiteral("Qt"), kMoney, 60},
         {QString(), QStringLiteral("Preco"), kMoney, 70},
         {QStringLiteral("Total R$"), QStringLiteral("total"), kMoney, 80}});
    auto *prodObs = new QPlainTextEdit(page);
    prodObs->setObjectName(QStringLiteral("memoObsProduto"));
    prodObs->setAccessibleName(QStringLiteral("Observação do produto"));
    DbLink::memo(prodObs, m_data->MyAxVendas, QStringLiteral("obs"))->setReadOnly(true);
    gridCaixa = new DbGrid(page);
    gridCaixa->setObjectName(QStringLiteral("gridCaixa"));
    gridCaixa->setDataset(m_data->MyCaixa,
                          {{QStringLiteral("Código"), QStringLiteral("CodigoNota"), {}, 60},
                           {QStringLiteral("Código Cliente"), QStringLiteral("CodigoCliente"),
                            QStringLiteral("#####"), 80},
                           {QStringLiteral("Nome"), QStringLiteral("Descricao"), {}, 180},
                           {QStringLiteral("Data"), QStringLiteral("Data"), {}, 80},
                           {QStringLiteral("Condição"), QStringLiteral("Condicao"), {}, 100},
                           {QStringLiteral("Credito R$"), QStringLiteral("Credito"), kMoney, 80}});
    lower->addWidget(gridProdutos, 3);
    lower->addWidget(prodObs, 1);
    lower->addWidget(gridCaixa, 3);
    v->addLayout(lower, 1);
    return page;
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
    applyRestrictedRule();
    QString shop;
    TDM *dm = DM();
    // Without a connection the title goes without the shop's name; the
    // connection error was already shown once.
    if (dm && dm->MyConnection1->isConnected()) guarded(this, [&] { shop = dm->companyName(); });
    setWindowTitle(titleFor(shop, userName, dm ? dm->MyConnection1->host() : QString()));
    return true;
}

void TfrmReceber::applyRestrictedRule() {
    const QString restricted = settings().naoHabilitado01;
    m_restricted = !restricted.isEmpty() && currentUserName() == restricted;
    if (!m_restricted) return;
    for (const char *name : {"BtnExcluir", "BtnAlterar", "BtnSalvar", "BtnCancelar"})
        button(QString::fromLatin1(name))->setEnabled(false);
    // A browse-only user cannot save, so typing must not start an edit.
    for (DbLink *l : m_links) l->setReadOnly(true);
    DBGrid1->setEditable(false);
}

void TfrmReceber::setEditingMode(bool on) {
    m_editingMode = on;
    m_bar1->setVisible(!on);
    m_bar3->setVisible(!on);
    m_bar2->setVisible(on);
}

void TfrmReceber::selectPage(int index) {
    m_programPage = true;
    PageControl1->setCurrentIndex(index);
    m_programPage = false;
}

void TfrmReceber::pageChanged(int index) {
    if (m_programPage || !m_restricted || index != 1) return;
    for (const char *name : {"BtnExcluir", "BtnAlterar", "BtnSalvar", "BtnCancelar"})
        button(QString::fromLatin1(name))->setEnabled(false);
    selectPage(0);
}

void TfrmReceber::textSearch(ReceberData::TextSearch kind) {
    selectPage(0);
    if (edtLocalizar->text().isEmpty()) {
        const char *msg = kind == ReceberData::TextSearch::Codigo
                              ? "Codigo do Cliente em Branco !!!"
                          : kind == ReceberData::TextSearch::Nota ? "Nº da Nota em Branco !!!"
                                                                  : "Nome do Cliente em Branco !!!";
        QMessageBox::warning(this, QStringLiteral("Atenção"), QString::fromUtf8(msg));
        edtLocalizar->setFocus();
        return;
    }
    guarded(this, [&] { m_data->searchText(kind, edtLocalizar->text()); });
}

void TfrmReceber::letterSearch(QChar letter) {
    edtLocalizar->setText(QString(letter));
    textSearch(ReceberData::TextSearch::Letra);
}

void TfrmReceber::dateSearch(ReceberData::DateSearch kind) {
    guarded(this, [&] { m_data->searchDates(kind, DTI->date(), DTF->date()); });
}

void TfrmReceber::showNewRowFields() {
    for (QWidget *w : {m_newNota, m_newTotal, m_lblNotaNova, m_lblTotalNova})
        if (w) w->show();
    for (QWidget *w : {m_lblNota, m_edtControles, m_lblControle, m_valControle})
        if (w) w->setEnabled(false);
}

void TfrmReceber::incluir() {
    m_data->appendInstallment();
    setEditingMode(true);
    selectPage(1);
    showNewRowFields();
}

void TfrmReceber::alterar() {
    if (m_data->MyReceber->isActive()) {
        try {
            m_data->MyReceber->edit();
        } catch (...) {
            setEditingMode(true);
            throw;
        }
    }
    setEditingMode(true);
}

void TfrmReceber::excluir() {
    if (!m_data->MyReceber->isActive()) return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Exclusão"),
                    QStringLiteral("Deseja excluir ?"), QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
    m_data->MyReceber->remove();
}

void TfrmReceber::salvar() {
    Dataset *ds = m_data->MyReceber;
    if (ds->isEditing()) ds->post();  // on error the row stays in editing
    setEditingMode(false);
    selectPage(0);
}

void TfrmReceber::cancelar() {
    Dataset *ds = m_data->MyReceber;
    if (ds->isEditing()) ds->cancel();
    setEditingMode(false);
    selectPage(0);
}

QString TfrmReceber::clientProgramPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/CadastroCliente");
}

void TfrmReceber::runClientProgram() {
    const QString path = clientProgramPath();
    if (!QFileInfo(path).isExecutable()) {
        QMessageBox::critical(
            this, QStringLiteral("ERRO"),
            QStringLiteral("Cadastro de Cliente") + QStringLiteral(" não instalado"));
        return;
    }
    qint64 pid = 0;
    // Started on its own, so it keeps running should this program end first.
    if (!QProcess::startDetached(path, {QStringLiteral("ContasReceber"), currentUserName()},
                                 QFileInfo(path).absolutePath(), &pid) ||
        pid <= 0)
        return;
    while (::kill(pid_t(pid), 0) == 0 && !m_closing && !QCoreApplication::closingDown()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(100);
    }
}

void TfrmReceber::openClientLookup() {
    TDM *dm = DM();
    TFrmL_ClienteReceber dlg(m_data->MyReceber,
                             dm ? dm->MyConnection1 : m_data->MyReceber->connection(), this);
    dlg.exec();
}

void TfrmReceber::showProductsSold() {
    Dataset *ds = m_data->MyReceber;
    const double total =
        ds->isActive() && ds->currentRow() >= 0 ? ds->field(QStringLiteral("Total")).asFloat() : 0;
    {
        TFrmvendas dlg(m_data->MyAxVendas, total, this);
        dlg.exec();
    }
    TrimMemory();
}

void TfrmReceber::reprintReceipt() {
    Dataset *ds = m_data->MyReceber;
    if (!ds->isActive() || ds->currentRow() < 0) return;
    reports::reprintReceipt(this, ds->field(QStringLiteral("Controles")).asString());
}

bool TfrmReceber::eventFilter(QObject *o, QEvent *e) {
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        auto *w = qobject_cast<QWidget *>(o);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && w && w->window() == this &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // The window sees Enter before its controls: it moves on like Tab.
            focusNextChild();
            return true;
        }
    }
    return QMainWindow::eventFilter(o, e);
}

void TfrmReceber::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (!m_editingMode) edtLocalizar->setFocus();
}

void TfrmReceber::closeEvent(QCloseEvent *e) {
    m_closing = true;
    if (m_data->MyReceber->isEditing()) m_data->MyReceber->cancel();
    for (Dataset *d : {m_data->MyReceber, m_data->MyAxVendas, m_data->MyCaixa})
        d->setAutoRefresh(false);
    if (TDM *dm = DM()) dm->closeShared();
    e->accept();
}

}  // namespace cr
