// The report menu, the preview and the command-line export, driven the way
// the operator and a scheduled job use them.
#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/settings.h"
#include "data/tdm.h"
#include "receivables/tfrmgeral.h"
#include "reports/frame.h"
#include "reports/headless.h"
#include "reports/reportmenu.h"
#include "reports/reportpreview.h"
#include "tests/support/testdb.h"

using namespace reports;

namespace {

QString pdfText(const QString &path) {
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The menu as text: items, "-" for separators, submenus indented.
QStringList tree(const QMenu *menu, const QString &indent = {}) {
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            out << indent + "-";
        } else {
            out << indent + a->text() + (a->isEnabled() ? "" : " [off]");
            if (a->menu()) out << tree(a->menu(), indent + "  ");
        }
    }
    return out;
}

// Runs `f` on whatever modal window opens next, once.
template <typename F>
void onNextModal(F f, int tries = 200) {
    QTimer::singleShot(20, [f, tries]() mutable {
        if (QWidget *w = QApplication::activeModalWidget())
            f(w);
        else if (tries > 0)
            onNextModal(f, tries - 1);
    });
}

}  // namespace

class TstReportGui : public QObject {
    Q_OBJECT

    std::unique_ptr<crtest::TestDb> db;
    std::unique_ptr<cr::Connection> conn;
    std::unique_ptr<cr::TDM> dm;
    std::unique_ptr<cr::TfrmGeral> geral;
    QTemporaryDir dir;

    ReportRequest request(const QString &name, const QString &setting = "A") {
        ReportRequest r;
        r.name = name;
        r.dataI = QDate(2025, 3, 1);
        r.dataF = QDate(2025, 3, 31);
        r.fiscalSetting = setting;
        return r;
    }

    QString ini(int port, const QString &filtro = "A") {
        const QString path = dir.filePath("Admin_" + filtro + QString::number(port) + ".ini");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral(
                    "[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=%1\nBANCO=%2\nFILTRORELATORIOFISCAL=%3\n")
                    .arg(port)
                    .arg(db->name(), filtro)
                    .toUtf8());
        return path;
    }

private slots:
    void initTestCase() {
        db = std::make_unique<crtest::TestDb>("reportgui");
        conn = db->connect();
        db->exec("INSERT INTO configuracao (Nome) VALUES ('LOJA TESTE')");
        QString values;
        // 120 open installments of three clients due in March, one refinanced.
        for (int i = 1; i <= 120; ++i)
            values += QStringLiteral(
                          "%1(%2,'%3','%3/1',%4,'CLIENTE %4','2025-01-01','2025-03-%5',10,'N',%6,1,"
                          "'CREDIARIO','CREDIARIO 3X')")
                          .arg(i == 1 ? "" : ",")
                          .arg(i)
                          .arg(1000 + i)
                          .arg(i % 3 + 1)
                          .arg(i % 28 + 1, 2, 10, QChar('0'))
                          .arg(i == 7 ? "'F'" : "'N'");
        db->exec(
            "INSERT INTO receber (Controle, CodigoNota, Controles, CodigoCliente, Nome, "
            "DataEmissao, "
            "DataVenc, Valor, NFCancelada, Pago, CodigoParcela, Aplicacao, DescParcela) VALUES " +
            values);
        db->exec(
            "INSERT INTO receber (Controle, CodigoNota, Controles, CodigoCliente, Nome, DataVenc, "
            "Valor, "
            "TotalPg, tipopagamento, usuario, CodigoParcela) VALUES "
            "(500,'77','77/1',5,'MARIA','2025-03-10',25,25.5,'DINHEIRO','ADMIN',1)");

        cr::settings().servidor = "127.0.0.1";
        cr::settings().porta = db->port();
        cr::settings().banco = db->name();
        dm = std::make_unique<cr::TDM>();
        cr::setDM(dm.get());
        dm->initialize();
        geral = std::make_unique<cr::TfrmGeral>();
    }
    void cleanupTestCase() {
        geral.reset();
        cr::setDM(nullptr);
        dm.reset();
    }

    void menuTree() {
        QMenu menu;
        QWidget owner;
        buildReportMenu(&menu, &owner);
        const QStringList expected{
            "Tipo de Venda Crediário",
            "  -",
            "  Em Aberto por Data de Vencimento no Periodo",
            "  Em Aberto Geral  por Cliente no Periodo",
            "  Em Aberto por Cliente Individual  no Periodo [off]",
            "  -",
            "  Quitado Geral por Data de Quitação no Periodo",
            "  Geral por Data de Quitação com Juros no Periodo [off]",
            "  -",
            "  Por Data Quitação Sintético no Periodo [off]",
            "  Movimentação Anual Sintético no Periodo  [off]",
            "  -",
            "  Grafico Mensal de Recebimentos no Perido [off]",
            "Tipo de Venda Cartão",
            "  Vendas C/Cartão P/Emissão no Período",
            "  Vendas C/Cartão P/Vencimento em Aberto no Período",
            "  Desconto do Cartão - Valor Liquido no Periodo Por Data Quitação Por Tipo de Venda",
            "  Por Tipo de Pagamento no Periodo",
            "Comunicação",
            "  Comunicação em Atraso - Frente",
            "  Comunicação em Atraso - Verso",
            "Tipo de Venda Cheque",
            "  Cheque em Aberto no Período",
            "  Cheque Quitado no Período",
            "Tipo de Venda",
            "  A Prazo",
            "  A Vista",
            "Resumo",
            "  No Periodo [off]",
            "-",
            "Geral em Aberto por Data de Emissão no Periodo",
            "-",
            "Resumo Contas a Receber Por data de Vencimento no Periodo"};
        QCOMPARE(tree(&menu), expected);
        // Every report item names its form; the two items without action stay inert.
        for (const QString &name : reportNames())
            if (!name.startsWith("TRptRecibo"))
                QVERIFY2(menu.findChild<QAction *>("act" + name), qPrintable(name));
        QVERIFY(menu.findChild<QAction *>("actPorTipoPagamento"));
        QVERIFY(menu.findChild<QAction *>("actResumoVencimento"));
    }

    void previewPagesZoomsPrintsAndExports() {
        QString title;
        int pages = 0, last = -1;
        const QString printed = dir.filePath("printed.pdf");
        const QString csvPath = dir.filePath("preview.csv");
        onNextModal([&](QWidget *w) {
            auto *p = qobject_cast<ReportPreview *>(w);
            if (!p) return;
            pages = p->pageCount();
            title = p->layout().texts.value(kTitle);
            p->findChild<QPushButton *>("btnLast")->click();
            last = p->currentPage();
            p->setZoom(2.0);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            p->printTo(&printer);
            p->exportTo(rpt::Format::Csv, csvPath);
            p->accept();
        });
        QVERIFY(previewReport(nullptr, *conn, request("TRptValesAberto")));
        QVERIFY(pages >= 2);
        QCOMPARE(last, pages - 1);
        QCOMPARE(title,
                 "Relatório de Contas a Receber em Abertos no Período: 01/03/2025 à 31/03/2025");
        const QString text = pdfText(printed);
        QVERIFY(text.contains("Página : 1"));
        QVERIFY(text.contains(QStringLiteral("Página : %1").arg(pages)));
        QVERIFY(text.contains("Valor Total =>"));
        QVERIFY(text.contains("1.200,00"));  // 120 rows of 10,00 with "A"
        QFile csv(csvPath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().contains("Total de Itens =>,120"));
    }

    void settingOutsideFNAShowsNothing() {
        bool opened = false;
        onNextModal(
            [&](QWidget *w) {
                opened = true;
                w->close();
            },
            10);
        QVERIFY(!previewReport(nullptr, *conn, request("TRptValesAberto", "n")));
        QTest::qWait(300);
        QVERIFY(!opened);
    }

    void lostServerShowsTheErrorBoxAndNoPreview() {
        auto lost = db->connect();
        db->kill(lost->threadId());
        QString message;
        bool preview = false;
        onNextModal([&](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                message = box->text();
                box->accept();
            } else {
                preview = true;
                w->close();
            }
        });
        QVERIFY(!previewReport(nullptr, *lost, request("TRptValesAberto")));
        QVERIFY(!preview);
        QVERIFY(!message.isEmpty());
    }

    void menuItemCancelledRunsNothing() {
        QMenu menu;
        QWidget owner;
        buildReportMenu(&menu, &owner);
        int modals = 0;
        onNextModal([&](QWidget *w) {
            ++modals;
            static_cast<QDialog *>(w)->reject();
        });
        menu.findChild<QAction *>("actTRptCheque")->trigger();
        QTest::qWait(200);
        QCOMPARE(modals, 1);  // the period dialog, no preview after it
    }

    void menuItemRunsThroughThePeriodDialog() {
        QMenu menu;
        QWidget owner;
        buildReportMenu(&menu, &owner);
        QString title;
        onNextModal([&](QWidget *w) {
            auto *g = qobject_cast<cr::TfrmGeral *>(w);
            QVERIFY(g);
            g->DTI->setDate(QDate(2025, 3, 1));
            g->DTF->setDate(QDate(2025, 3, 31));
            g->accept();
            onNextModal([&](QWidget *p) {
                if (auto *pv = qobject_cast<ReportPreview *>(p))
                    title = pv->layout().texts.value(kTitle);
                p->close();
            });
        });
        menu.findChild<QAction *>("actTRptResumoRecberAbertoEmissao")->trigger();
        QVERIFY(title.startsWith("Relatório de Contas a Receber em Abertos no Período: "));
        QVERIFY(title.endsWith("01/03/2025 à 31/03/2025"));
        // The next item opens with the period chosen for this one.
        QCOMPARE(geral->dti(), QDate(2025, 3, 1));
    }

    void receiptReprintByControles() {
        QString text;
        QSizeF paper;
        onNextModal([&](QWidget *w) {
            if (auto *p = qobject_cast<ReportPreview *>(w)) {
                paper = p->pages().front().sizeMm;
                for (const rpt::TextLine &l : rpt::textLines(p->pages().front()))
                    text += rpt::lineText(l) + '\n';
            }
            w->close();
        });
        reprintReceipt(nullptr, "77/1");
        QCOMPARE(paper, QSizeF(74, 120));
        QVERIFY(text.contains("Valor do Pago R$"));
        QVERIFY(text.contains("25,50"));
        QVERIFY(text.contains("MARIA"));
    }

    void headless_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown report")
            << QStringList{"-r", "TRptNada", "--de", "01/03/2025", "--ate", "31/03/2025"}
            << int(ExitUsage) << "Relatório desconhecido: TRptNada";
        QTest::newRow("date that does not exist")
            << QStringList{"-r", "TRptCheque", "--de", "31/02/2025", "--ate", "31/03/2025"}
            << int(ExitUsage) << "Datas inválidas";
        QTest::newRow("first date after the second")
            << QStringList{"-r", "TRptCheque", "--de", "31/03/2025", "--ate", "01/03/2025"}
            << int(ExitUsage) << "A data inicial é posterior à data final.";
        QTest::newRow("format it cannot write")
            << QStringList{"-r",    "TRptCheque", "--de", "01/03/2025",
                           "--ate", "31/03/2025", "-t",   "doc"}
            << int(ExitUsage) << "Formato não suportado";
        QTest::newRow("setting outside F, N, A")
            << QStringList{"-r",    "TRptValesAberto", "--de",     "01/03/2025",
                           "--ate", "31/03/2025",      "--filtro", "f"}
            << int(ExitNothing) << "FILTRORELATORIOFISCAL=f";
        QTest::newRow("server unreachable")
            << QStringList{"-r",         "TRptCheque",      "--de", "01/03/2025", "--ate",
                           "31/03/2025", "--porta-invalida"}
            << int(ExitDatabase) << "Erro no banco de dados";
        QTest::newRow("folder that does not exist")
            << QStringList{"-r",    "TRptCheque", "--de", "01/03/2025",
                           "--ate", "31/03/2025", "-o",   "/nonexistent-dir/x.pdf"}
            << int(ExitWrite) << "/nonexistent-dir/x.pdf";
    }
    void headless() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString out = dir.filePath("headless.pdf");
        QFile::remove(out);
        const bool unreachable = args.removeAll("--porta-invalida") > 0;
        args << "--ini" << ini(unreachable ? 1 : db->port());
        if (!args.contains("-o")) args << "-o" << out;
        QProcess p;
        p.start(CR_HEADLESS_EXE, args);
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(dir.path()).entryList({".headless*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void headlessWrites_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("pdf") << "aberto.pdf" << QByteArray("%PDF");
        QTest::newRow("xlsx") << "aberto.xlsx" << QByteArray("PK");
        QTest::newRow("csv") << "aberto.csv" << QByteArray("LOJA TESTE,Data : ");
        QTest::newRow("text") << "aberto.txt" << QByteArray("LOJA TESTE");
    }
    void headlessWrites() {
        QFETCH(QString, file);
        QFETCH(QByteArray, start);
        const QString out = dir.filePath(file);
        QProcess p;
        p.start(CR_HEADLESS_EXE, {"--relatorio", "TRptValesAberto", "--de", "01/03/2025", "--ate",
                                  "31/03/2025", "--saida", out, "--ini", ini(db->port(), "N")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        QVERIFY(all.startsWith(start));
        if (file.endsWith(".csv")) {
            // "N" from Admin.ini leaves the refinanced row out.
            QVERIFY(all.contains("Total de Itens =>,119"));
            QVERIFY(all.contains("Valor Total =>,\"1.190,00\""));
        }
        if (file.endsWith(".pdf")) QVERIFY(pdfText(out).contains("Total de Itens =>"));
    }
};

QTEST_MAIN(TstReportGui)
#include "tst_report_gui.moc"
