// The main window driven offscreen through its real widgets: searches,
// colours, editing and save rules, the restricted user, the one-second
// refresh, the period dialog, the client lookup and the products view.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/errorbox.h"
#include "app/settings.h"
#include "data/dbgrid.h"
#include "data/tdm.h"
#include "receivables/tfrmgeral.h"
#include "receivables/tfrml_clientereceber.h"
#include "receivables/tfrmreceber.h"
#include "sales/tfrmvendas.h"
#include "tests/support/boxes.h"
#include "tests/support/testdb.h"

using namespace cr;
using crtest::BoxRecorder;

class TstReceber : public QObject {
    Q_OBJECT
    std::unique_ptr<crtest::TestDb> db;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TfrmReceber> w;
    const QDate today = QDate::currentDate();

    QString d(int offset) const { return today.addDays(offset).toString(Qt::ISODate); }

    void fixture() {
        for (const char *t : {"receber", "itenssaida", "parcela", "caixa", "cliente"})
            db->exec(QString("DELETE FROM %1").arg(t));
        db->exec(
            QString(
                "INSERT INTO receber (Controle, CodigoNota, Controles, CodigoCliente, Nome, "
                "DataEmissao, "
                "DataVenc, DataQuitacao, dInativotLan, Valor, Total, CodigoParcela, NFCancelada, "
                "Pago, "
                "sValJurostlan) VALUES "
                "(1,'12','12/1',12,'ANA SOUZA','2026-01-05','%1',NULL,NULL,100,300,1,'N',NULL,7.5),"
                "(2,'120','120/1',7,'BRUNO LIMA','2026-01-06','%2',NULL,NULL,50,50,2,'N','N',NULL),"
                "(3,'1234','1234/1',8,'JULIANA "
                "ANA','2026-01-07','%3','%3',NULL,80,80,1,'N','S',NULL),"
                "(4,'13','13/1',9,'D''AVILA "
                "ANTONIO','2026-01-08','%3','%4','%4',30,30,1,'N','S',NULL),"
                "(5,'14','14/1',10,'ANA "
                "CANCELADA','2026-01-09','%2',NULL,NULL,10,10,1,'S',NULL,NULL),"
                "(6,'15','15/1',11,'ANA SEM "
                "FLAG','2026-01-10','%2',NULL,NULL,10,10,1,NULL,NULL,NULL),"
                "(7,'16','16/1',12,'ANA "
                "REFINANCIADA','2026-01-11','%2',NULL,NULL,10,10,1,'N','F',NULL),"
                "(8,'17','17/"
                "1',13,'BARRA\\\\INVERTIDA','2026-01-12','%2',NULL,NULL,5,5,-1,'N',NULL,NULL),"
                "(9,'18','18/1',14,'ANAXSOUZA','2026-01-12','%1',NULL,NULL,5,5,1,'N',NULL,NULL)")
                .arg(d(-1), d(0), d(-3), d(-2)));
        db->exec(
            "INSERT INTO itenssaida (Codigonota, Codigocliente, Codigoproduto, Produto, Preco, Qt) "
            "VALUES (12,12,1,'CAMISA',10,2),(12,12,1,'CAMISA',10,1),(12,12,2,'CALCA',99.9,1)");
        db->exec(
            "INSERT INTO caixa (CodigoNota, CodigoCliente, Descricao, Data, Condicao, Credito) "
            "VALUES ('12',12,'ANA SOUZA','2026-01-05','DINHEIRO',20)");
        db->exec(
            "INSERT INTO parcela (CodigoParcela, Descparcela, Aplicacao) VALUES "
            "(1,'CREDIARIO 3X','CREDIARIO'),(2,'CARTAO 1X','CARTÃO CREDITO')");
        db->exec(
            "INSERT INTO cliente (Codigocliente, Nome, Endereco) VALUES (12,'ANA SOUZA','RUA A'),"
            "(120,'ANTONIO','RUA B'),(7,'BRUNO LIMA','RUA C')");
    }

    void doubleClickRow(int row) {
        const QPoint p = w->DBGrid1->visualRect(w->DBGrid1->model()->index(row, 1)).center();
        QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, p);
    }
    QPushButton *btn(const char *name) { return w->button(QString::fromLatin1(name)); }
    QList<int> listed() {
        QList<int> out;
        Dataset *ds = w->data()->MyReceber;
        for (int r = 0; r < ds->rowCount(); ++r) out << ds->value(r, "Controle").toInt();
        return out;
    }
    QLineEdit *edit(const char *name) {
        return w->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    void newWindow(const QString &user = "MARIA") {
        w.reset();
        w = std::make_unique<TfrmReceber>();
        QVERIFY(w->initialize(user));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

private slots:
    void initTestCase() {
        setUpApplication(*qApp);
        db = std::make_unique<crtest::TestDb>("receber");
        settings() = Settings();
        settings().jurosDia = 0.5;
        settings().servidor = "127.0.0.1";
        settings().porta = db->port();
        settings().banco = db->name();
        dm = std::make_unique<TDM>();
        setDM(dm.get());
        dm->initialize();
    }
    void init() {
        fixture();
        newWindow();
    }
    void cleanup() { w.reset(); }
    void cleanupTestCase() { setDM(nullptr); }

    void searches_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("name prefix, ordered by name, hidden rows out") << "BtnPorNome"
                                                                       << "ana" << QList<int>{1, 9};
        QTest::newRow("note 12 also finds 120 and 1234") << "BtnPorNota"
                                                         << "12" << QList<int>{1, 2, 3};
        QTest::newRow("client code 12 finds only 12") << "BtnPorCodigo"
                                                      << "12" << QList<int>{1};
        QTest::newRow("quote searched") << "BtnPorNome"
                                        << "D'AV" << QList<int>{4};
        QTest::newRow("underscore wildcard") << "BtnPorNome"
                                             << "ANA_S" << QList<int>{1, 9};
        QTest::newRow("percent wildcard") << "BtnPorNome"
                                          << "%LIMA" << QList<int>{2};
        QTest::newRow("backslash searched as itself") << "BtnPorNome"
                                                      << "BARRA\\" << QList<int>{8};
        QTest::newRow("quote breakout stays a text") << "BtnPorNome"
                                                     << "X') OR ('1'='1" << QList<int>{};
    }
    void searches() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QList<int>, expected);
        w->PageControl1->setCurrentIndex(1);
        QTest::keyClicks(w->edtLocalizar, typed);
        QCOMPARE(w->edtLocalizar->text(), typed.toUpper());  // upper-case input
        w->button(button)->click();
        QCOMPARE(listed(), expected);
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        if (!expected.isEmpty()) QCOMPARE(w->data()->MyReceber->currentRow(), 0);
    }

    void letterButtons() {
        btn("BtnB")->click();
        QCOMPARE(w->edtLocalizar->text(), QString("B"));
        QCOMPARE(listed(), (QList<int>{8, 2}));
    }

    void emptySearchField_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("code") << "BtnPorCodigo"
                              << "Codigo do Cliente em Branco !!!";
        QTest::newRow("name") << "BtnPorNome"
                              << "Nome do Cliente em Branco !!!";
        QTest::newRow("note") << "BtnPorNota"
                              << "Nº da Nota em Branco !!!";
    }
    void emptySearchField() {
        QFETCH(QString, button);
        QFETCH(QString, message);
        w->edtLocalizar->setText("ANA");
        btn("BtnPorNome")->click();
        const QList<int> before = listed();
        w->edtLocalizar->clear();
        btn("BtnPrimeiro")->setFocus();
        BoxRecorder boxes;
        w->button(button)->click();
        QCOMPARE(boxes.titles, QStringList{"Atenção"});
        QCOMPARE(boxes.texts, QStringList{message});
        QCOMPARE(listed(), before);  // nothing else changes
        QCOMPARE(w->focusWidget(), w->edtLocalizar);
    }

    void dateSearches_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("due date: open rows only, both ends inclusive")
            << "BtnPorVencimento" << -3 << 0 << QList<int>{1, 9, 2, 8};
        QTest::newRow("due date over settled rows only is empty")
            << "BtnPorVencimento" << -3 << -2 << QList<int>{};
        QTest::newRow("settlement date") << "BtnPorQuitacao" << -3 << -2 << QList<int>{3, 4};
        QTest::newRow("end before start is empty") << "BtnPorQuitacao" << -2 << -3 << QList<int>{};
    }
    void dateSearches() {
        QFETCH(QString, button);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QList<int>, expected);
        w->PageControl1->setCurrentIndex(1);
        w->DTI->setDate(today.addDays(from));
        w->DTF->setDate(today.addDays(to));
        w->button(button)->click();
        QCOMPARE(listed(), expected);
        QCOMPARE(w->PageControl1->currentIndex(), 1);  // the page is not switched
    }

    void emissionSearchListsSettledAndOpen() {
        w->DTI->setDate(QDate(2026, 1, 5));
        w->DTF->setDate(QDate(2026, 1, 7));
        btn("BtnPorEmissao")->click();
        QCOMPARE(listed(), (QList<int>{1, 2, 3}));
    }

    void rowColours_data() {
        QTest::addColumn<int>("controle");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("due yesterday, open: red") << 1 << QColor(255, 130, 130);
        QTest::newRow("due today, open: none") << 2 << QColor();
        QTest::newRow("settled (late): green") << 3 << QColor(192, 220, 192);
        QTest::newRow("settled and reported to SPC: none") << 4 << QColor();
    }
    void rowColours() {
        QFETCH(int, controle);
        QFETCH(QColor, colour);
        w->DTI->setDate(QDate(2026, 1, 1));
        w->DTF->setDate(QDate(2026, 12, 31));
        btn("BtnPorEmissao")->click();
        const int row = listed().indexOf(controle);
        QVERIFY(row >= 0);
        auto *m = w->DBGrid1->datasetModel();
        const QVariant bg = m->data(m->index(row, 0), Qt::BackgroundRole);
        QCOMPARE(bg.isValid() ? bg.value<QColor>() : QColor(), colour);
        if (colour.isValid())
            QCOMPARE(m->data(m->index(row, 0), Qt::ForegroundRole).value<QColor>(),
                     QColor(Qt::black));
    }

    void selectedRowKeepsSelectionColours() {
        w->edtLocalizar->setText("ANA");
        btn("BtnPorNome")->click();  // row 0 is overdue (red)
        w->DBGrid1->selectRow(0);
        QApplication::processEvents();
        const QImage img = w->DBGrid1->viewport()->grab().toImage();
        const QRect r = w->DBGrid1->visualRect(w->DBGrid1->model()->index(0, 0));
        const QColor px = img.pixelColor(r.center() + QPoint(r.width() / 3, 0));
        QVERIFY2(px != QColor(255, 130, 130), qPrintable(px.name()));
        w->DBGrid1->selectRow(1);
        QApplication::processEvents();
        const QImage img2 = w->DBGrid1->viewport()->grab().toImage();
        QCOMPARE(img2.pixelColor(r.center() + QPoint(r.width() / 3, 0)), QColor(255, 130, 130));
    }

    void cardNetValueAndDetails() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        Dataset *ds = w->data()->MyReceber;
        QCOMPARE(ds->field("CartaoLiquido").asFloat(), 100.0);  // no percentage
        QCOMPARE(ds->field("dias").asFloat(), 1.0);
        QCOMPARE(ds->field("JurosD").asFloat(), 1 * 0.5 / 100 * 100);
        QCOMPARE(ds->field("valorjuros").asFloat(), 100.5);
        QCOMPARE(edit("edtValorDesconto")->text(), QString("100,50"));
        QCOMPARE(edit("edtValor")->text(), QString("100,00"));
        QCOMPARE(w->gridProdutos->model()->rowCount(), 2);
        QCOMPARE(w->gridProdutos->datasetModel()->displayText(0, 5), QString("30,00"));
        QCOMPARE(w->gridCaixa->model()->rowCount(), 1);
    }

    // Typing starts editing; the save copies the plan, keeps the imported
    // values, and a refused save leaves the row in editing.
    void editingAndSaveRules() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        doubleClickRow(0);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QVERIFY(!btn("BtnSalvar")->isVisible());
        QLineEdit *nome = edit("edtNome");
        nome->setFocus();
        nome->selectAll();
        QTest::keyClicks(nome, "ANA MARIA SOUZA");
        QVERIFY(w->isEditingMode());
        QVERIFY(btn("BtnSalvar")->isVisible());
        QVERIFY(!btn("BtnIncluir")->isVisible() && !btn("BtnRelatorio")->isVisible());
        auto *plan = w->findChild<QComboBox *>("cboDescricaoparcela");
        plan->setCurrentIndex(plan->findText("CARTAO 1X"));
        emit plan->activated(plan->currentIndex());
        btn("BtnSalvar")->click();
        QVERIFY(!w->isEditingMode());
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        const auto row = db->query(
            "SELECT Nome, DescParcela, Condicaovenda, sValJurostlan, "
            "CodigoParcela FROM receber WHERE Controle=1");
        QCOMPARE(row.rows[0].value(0, row.columns[0]).toString(), QString("ANA MARIA SOUZA"));
        QCOMPARE(row.rows[0].value(1, row.columns[1]).toString(), QString("CARTAO 1X"));
        QCOMPARE(row.rows[0].value(2, row.columns[2]).toString(), QString("CARTÃO CREDITO"));
        QCOMPARE(row.rows[0].value(3, row.columns[3]).toDouble(), 7.5);
        QCOMPARE(row.rows[0].value(4, row.columns[4]).toInt(), 2);

        // A date the server refuses: the error box, the row still in editing.
        QLineEdit *venc = edit("edtDataVenc");
        venc->setFocus();
        venc->selectAll();
        QTest::keyClicks(venc, "31/02/2026");
        {
            BoxRecorder boxes;
            btn("BtnSalvar")->click();
            QCOMPARE(boxes.texts.size(), 1);
        }
        QVERIFY(w->isEditingMode());
        QVERIFY(w->data()->MyReceber->isEditing());
        btn("BtnCancelar")->click();
        QVERIFY(!w->isEditingMode());
        QCOMPARE(db->scalar("SELECT DataVenc FROM receber WHERE Controle=1").toDate(),
                 today.addDays(-1));
    }

    void typingInTheListEdits() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        w->DBGrid1->setFocus();
        w->DBGrid1->setCurrentIndex(w->DBGrid1->model()->index(0, 9));  // "Parcela R$"
        QTest::keyClick(w->DBGrid1, '1');                               // opens the cell's editor
        auto *editor = w->DBGrid1->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, "2,5");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(w->isEditingMode());
        btn("BtnSalvar")->click();
        QCOMPARE(db->scalar("SELECT Valor FROM receber WHERE Controle=1").toDouble(), 12.5);
    }

    // Leaving a row whose edit the server refuses: the error, and the list
    // stays on that row, still in editing.
    void leavingARefusedEditStaysOnTheRow() {
        w->edtLocalizar->setText("ANA");
        btn("BtnPorNome")->click();
        Dataset *ds = w->data()->MyReceber;
        ds->edit();
        ds->field("DataVenc").setValue(QString("não é data"));
        BoxRecorder boxes;
        const QPoint p = w->DBGrid1->visualRect(w->DBGrid1->model()->index(1, 1)).center();
        QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, p);
        QTRY_COMPARE(w->DBGrid1->currentIndex().row(), 0);
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(ds->currentRow(), 0);
        QVERIFY(ds->isEditing());
        btn("BtnCancelar")->click();
    }

    void planWithoutMatchSavesEmpty() {
        w->edtLocalizar->setText("BARRA");
        btn("BtnPorNome")->click();
        btn("BtnAlterar")->click();
        w->data()->MyReceber->field("DescParcela").setValue("ANTIGA");
        btn("BtnSalvar")->click();
        QVERIFY(db->scalar("SELECT DescParcela FROM receber WHERE Controle=8").isNull());
        QVERIFY(db->scalar("SELECT Condicaovenda FROM receber WHERE Controle=8").isNull());
    }

    // A new row picks its client in the lookup, and takes its note number as
    // control text when saved without one.
    void newInstallmentWithClientLookup() {
        btn("BtnIncluir")->click();
        QVERIFY(w->isEditingMode());
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QVERIFY(edit("edtCodigoNota")->isVisible());
        QVERIFY(edit("edtTotalNota")->isVisible());
        QVERIFY(!edit("edtControles")->isEnabled());
        QTest::keyClicks(edit("edtCodigoNota"), "777");
        QTest::keyClicks(edit("edtTotalNota"), "1.234,5");

        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TFrmL_ClienteReceber *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QTest::keyClicks(dlg->edtLocalizar, "an");
            dlg->findChild<QPushButton *>("btnNome")->click();
            QCOMPARE(dlg->QRY1->rowCount(), 2);  // ANA SOUZA, ANTONIO
            dlg->findChild<QPushButton *>("btnOK")->click();
            checked = true;
        });
        btn("BtnLocalizarCliente")->click();
        QVERIFY(checked);
        Dataset *ds = w->data()->MyReceber;
        QVERIFY(ds->state() == Dataset::State::Insert);  // not saved by the lookup
        QCOMPARE(ds->field("CodigoCliente").asInteger(), 12);
        QCOMPARE(edit("edtNome")->text(), QString("ANA SOUZA"));
        btn("BtnSalvar")->click();
        const auto rs =
            db->query("SELECT Controles, Total, NFCancelada FROM receber WHERE CodigoNota='777'");
        QCOMPARE(rs.rows.size(), 1);
        QCOMPARE(rs.rows[0].value(0, rs.columns[0]).toString(), QString("777"));
        QCOMPARE(rs.rows[0].value(1, rs.columns[1]).toDouble(), 1234.5);
        // The new-row fields stay as they are until the window closes.
        QVERIFY(!edit("edtCodigoNota")->isHidden());
        QVERIFY(!edit("edtControles")->isEnabled());
    }

    void lookupWithoutOpenListWritesNothing() {
        TFrmL_ClienteReceber dlg(w->data()->MyReceber, dm->MyConnection1);
        dlg.edtLocalizar->setText("ANA");
        dlg.search(true);
        BoxRecorder boxes;
        dlg.findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(dlg.result() != QDialog::Accepted);
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM receber WHERE Nome='ANA SOUZA'").toInt(), 1);
    }

    void deleteAsksWithNoAsDefault() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        {
            BoxRecorder no(QMessageBox::No);
            btn("BtnExcluir")->click();
            QCOMPARE(no.titles, QStringList{"Exclusão"});
            QCOMPARE(no.texts, QStringList{"Deseja excluir ?"});
            QCOMPARE(no.lastDefault, QMessageBox::No);
        }
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM receber WHERE Controle=1").toInt(), 1);
        {
            BoxRecorder yes(QMessageBox::Yes);
            btn("BtnExcluir")->click();
        }
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM receber WHERE Controle=1").toInt(), 0);
        QCOMPARE(listed(), QList<int>{});
    }

    void restrictedUser() {
        settings().naoHabilitado01 = "CONSULTA";
        newWindow("CONSULTA");
        settings().naoHabilitado01.clear();
        for (const char *b : {"BtnExcluir", "BtnAlterar", "BtnSalvar", "BtnCancelar"})
            QVERIFY2(!btn(b)->isEnabled(), b);
        QVERIFY(btn("BtnIncluir")->isEnabled());
        w->edtLocalizar->setText("ANA");
        btn("BtnPorNome")->click();
        // A click on the tab is refused ...
        QTabBar *bar = w->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        // ... a double click on the list is not.
        doubleClickRow(0);
        QCOMPARE(w->PageControl1->currentIndex(), 1);
        QTest::keyClicks(edit("edtNome"), "X");
        QVERIFY(!w->data()->MyReceber->isEditing());
    }

    // Rows changed, added or removed elsewhere show up within a second; the
    // current row stays.
    void automaticRefreshKeepsCurrentRow() {
        w->edtLocalizar->setText("A");
        btn("BtnPorNome")->click();
        Dataset *ds = w->data()->MyReceber;
        ds->setCurrentRow(1);
        const int current = ds->field("Controle").asInteger();
        auto other = db->connect();
        other->execute("UPDATE receber SET Valor = 321 WHERE Controle = 9");
        other->execute(
            "INSERT INTO receber (Controle, Nome, NFCancelada) VALUES (50,'AAA NOVA','N')");
        QTRY_COMPARE_WITH_TIMEOUT(listed().contains(50), true, 3000);
        QCOMPARE(ds->field("Controle").asInteger(), current);
        QCOMPARE(w->DBGrid1->currentIndex().row(), ds->currentRow());
        QTRY_COMPARE_WITH_TIMEOUT(ds->value(listed().indexOf(9), "Valor").toDouble(), 321.0, 3000);
        other->execute("DELETE FROM receber WHERE Controle = 50");
        QTRY_COMPARE_WITH_TIMEOUT(listed().contains(50), false, 3000);
        QCOMPARE(ds->field("Controle").asInteger(), current);
    }

    void periodDialogKeepsItsDates() {
        TfrmGeral dlg;
        QDate first, second;
        QTimer::singleShot(50, [&] {
            first = dlg.DTI->date();
            QVERIFY(dlg.DTI->isVisible() && dlg.DTF->isVisible());
            dlg.DTI->setDate(QDate(2025, 3, 1));
            dlg.DTF->setDate(QDate(2025, 3, 31));
            dlg.findChild<QPushButton *>("btnOK")->click();
        });
        QVERIFY(dlg.askPeriod());
        QCOMPARE(first, today);
        QCOMPARE(dlg.Tag, 1);
        QVERIFY(!dlg.DTI->isVisible());
        QTimer::singleShot(50, [&] {
            second = dlg.DTI->date();
            dlg.findChild<QPushButton *>("btnCancelar")->click();
        });
        QVERIFY(!dlg.askPeriod());
        QCOMPARE(second, QDate(2025, 3, 1));
        QCOMPARE(dlg.dtf(), QDate(2025, 3, 31));
    }

    // Dates typed as operators type them land in the pickers whole.
    void typedDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::newRow("with separators") << "01/03/2025" << QDate(2025, 3, 1);
        QTest::newRow("single digits") << "1/3/2025" << QDate(2025, 3, 1);
        QTest::newRow("digits only") << "15082024" << QDate(2024, 8, 15);
    }
    void typedDates() {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        w->DTI->setFocus();
        w->DTI->setSelectedSection(QDateTimeEdit::DaySection);  // as Tab leaves it
        QTest::keyClicks(w->DTI, typed);
        QCOMPARE(w->DTI->date(), date);
    }

    void productsSoldView() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        QCOMPARE(TFrmvendas::headerText(1234.5),
                 QString("Total dos Produtos Vendidos neste Venda R$ 1.234,50"));
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *v = qobject_cast<TFrmvendas *>(QApplication::activeModalWidget());
            QVERIFY(v);
            QCOMPARE(v->header->text(),
                     QString("Total dos Produtos Vendidos neste Venda R$ 300,00"));
            QCOMPARE(v->grid->model()->rowCount(), 2);
            QCOMPARE(v->grid->datasetModel()->displayText(0, 6), QString("30,00"));
            QTest::keyClick(v->grid, Qt::Key_Delete, Qt::ControlModifier);  // swallowed
            v->findChild<QPushButton *>("Panel2")->click();
            seen = true;
        });
        w->listMenu()->findChild<QAction *>("Vendas1")->trigger();
        QVERIFY(seen);
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM itenssaida").toInt(), 3);
    }

    void reportMenuAndReceiptReprint() {
        QMenu *menu = w->reportMenu();
        QVERIFY(menu->findChild<QAction *>("actTRptValesAberto"));
        QCOMPARE(menu->actions().first()->text(), QString("Tipo de Venda Crediário"));
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        QString shown;
        QTimer::singleShot(0, [&] {
            QWidget *preview = QApplication::activeModalWidget();
            QVERIFY(preview);
            shown = preview->metaObject()->className();
            qobject_cast<QDialog *>(preview)->reject();
        });
        w->listMenu()->findChild<QAction *>("Imprimir1")->trigger();
        QVERIFY(!shown.isEmpty());
    }

    void missingClientProgram() {
        QFile::remove(TfrmReceber::clientProgramPath());
        BoxRecorder boxes;
        btn("BtnCliente")->click();
        QCOMPARE(boxes.titles, QStringList{"ERRO"});
        QCOMPARE(boxes.texts, QStringList{"Cadastro de Cliente não instalado"});
    }

    // The registration program gets the operator as its second argument and
    // the window keeps painting while it waits.
    void clientProgramIsWaitedFor() {
        const QString path = TfrmReceber::clientProgramPath();
        const QString out = QDir::temp().filePath("cr-cadastro-args.txt");
        QFile::remove(out);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QString("#!/bin/sh\necho \"$2\" > %1\nsleep 0.5\n").arg(out).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(50);
        btn("BtnCliente")->click();
        QFile::remove(path);
        QVERIFY(ticks >= 3);  // events ran while waiting
        QFile res(out);
        QVERIFY(res.open(QIODevice::ReadOnly));
        QCOMPARE(res.readAll().trimmed(), QByteArray("MARIA"));
    }

    void enterMovesLikeTab() {
        w->edtLocalizar->setFocus();
        QTest::keyClick(w->edtLocalizar, Qt::Key_Return);
        QVERIFY(QApplication::focusWidget() != w->edtLocalizar);
        QCOMPARE(listed(), QList<int>{});  // Enter did not search
    }

    void ctrlDeleteSwallowedInTheList() {
        w->edtLocalizar->setText("ANA S");
        btn("BtnPorNome")->click();
        QTest::keyClick(w->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM receber WHERE Controle=1").toInt(), 1);
    }
};

QTEST_MAIN(TstReceber)
#include "tst_receber.moc"
