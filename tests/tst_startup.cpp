// Start-up offscreen through the real windows: the title, the missing
// operator name, an unreachable server, and the single-instance guard.
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/errorbox.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "data/tdm.h"
#include "receivables/tfrmgeral.h"
#include "receivables/tfrmreceber.h"
#include "tests/support/boxes.h"
#include "tests/support/testdb.h"

using namespace cr;

namespace {
using crtest::BoxRecorder;

QString writeIni(const QTemporaryDir &dir, const QString &body) {
    const QString path = dir.filePath("Admin.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(body.toUtf8());
    return path;
}
}  // namespace

class TstStartup : public QObject {
    Q_OBJECT
    std::unique_ptr<crtest::TestDb> db;

private slots:
    void initTestCase() {
        setUpApplication(*qApp);
        db = std::make_unique<crtest::TestDb>("startup");
        db->exec("INSERT INTO configuracao (Nome) VALUES ('LOJA MODELO'), ('SEGUNDA LOJA')");
        db->exec("INSERT INTO filial (Codigofilial, Nomefilial) VALUES (3,'MATRIZ'),(1,'OUTRA')");
    }

    void titleShowsShopOperatorAndServer() {
        QTemporaryDir dir;
        const QString ini = writeIni(dir, QString("[LOCAL]\r\nSERVIDOR=127.0.0.1\r\nPORTA=%1\r\n"
                                                  "BANCO=%2\r\n")
                                              .arg(db->port())
                                              .arg(db->name()));
        Startup s({"ContasReceber", "X", "MARIA"}, ini);
        QVERIFY(s.run());
        QCOMPARE(s.mainWindow()->windowTitle(),
                 QString("Atualizado 04-02-2025 / 19:30  - Loja : LOJA MODELO -  Usuario : MARIA - "
                         "127.0.0.1"));
        QCOMPARE(QApplication::applicationName(), QString("Manutenção Contas a Receber"));
        QCOMPARE(currentUserName(), QString("MARIA"));
        QVERIFY(s.periodDialog() && !s.periodDialog()->isVisible());
        QCOMPARE(frmGeral(), s.periodDialog());
        QCOMPARE(s.dm()->currentBranchCode(), 3);  // the first row, as stored
        QVERIFY(s.dm()->tbFilial->isActive());
        s.mainWindow()->close();
        QVERIFY(!s.dm()->tbConfiguracao->isActive());
        // Readers open it again and get the first row.
        QCOMPARE(s.dm()->companyName(), QString("LOJA MODELO"));
    }

    // The first filial row is the current branch; the shift is the lowest
    // controle, and 0 when the table is empty.
    void sharedDatasetRows() {
        TDM dm;
        dm.MyConnection1->setHost("127.0.0.1");
        dm.MyConnection1->setPort(db->port());
        dm.MyConnection1->setDatabase(db->name());
        dm.MyConnection1->open();
        QCOMPARE(dm.currentShift(), 0);
        dm.tbturno->close();
        db->exec("INSERT INTO turno (controle, descricao) VALUES (2,'TARDE'),(1,'MANHÃ')");
        QCOMPARE(dm.currentShift(), 1);
        QCOMPARE(dm.currentBranchName(), QString("MATRIZ"));
        db->exec("DELETE FROM turno");
    }

    void missingOperatorNameEnds() {
        QTemporaryDir dir;
        Startup s({"ContasReceber", "X"}, writeIni(dir, ""));
        BoxRecorder boxes;
        QVERIFY(!s.run());
        // The connection error (no server given) comes first, then the name.
        QCOMPARE(boxes.titles.size(), 2);
        QCOMPARE(boxes.titles.last(), QString("Erro de Inicialização"));
        QCOMPARE(boxes.texts.last(),
                 QString("Este sistema só pode ser executado através dos aplicativos da TELVO "
                         "SISTEMAS."));
    }

    void unreachableServerShowsErrorAndGoesOn() {
        QTemporaryDir dir;
        // A port nobody listens on.
        const QString ini = writeIni(dir, "[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=1\nBANCO=x\n");
        Startup s({"ContasReceber", "X", "JOAO"}, ini);
        BoxRecorder boxes;
        QVERIFY(s.run());
        QCOMPARE(boxes.titles, QStringList{"Manutenção Contas a Receber"});
        QVERIFY2(boxes.texts[0].contains("2002") || boxes.texts[0].contains("2003"),
                 qPrintable(boxes.texts[0]));
        QVERIFY(s.mainWindow()->windowTitle().contains(" -  Usuario : JOAO - 127.0.0.1"));
    }

    void wrongDatabaseShowsError() {
        QTemporaryDir dir;
        const QString ini = writeIni(
            dir,
            QString("[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=%1\nBANCO=nao_existe\n").arg(db->port()));
        Startup s({"ContasReceber", "X", "JOAO"}, ini);
        BoxRecorder boxes;
        QVERIFY(s.run());
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts[0].contains("nao_existe"), qPrintable(boxes.texts[0]));
    }

    void errorBoundaryShowsTheBox() {
        BoxRecorder boxes;
        QWidget w;
        QVERIFY(!guarded(&w, [] { throw DbError("falhou (1146)", "SELECT 1", 1146); }));
        QCOMPARE(boxes.texts, QStringList{"falhou (1146)"});
        // An error escaping a handler stops at the application, not the program.
        QPushButton b;
        QObject::connect(&b, &QPushButton::clicked, [] { throw DbError("no clique (2006)"); });
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(boxes.texts.last(), QString("no clique (2006)"));
    }

    void secondCopyBringsTheFirstToFront() {
        const QString key = "tst-single-" + QString::number(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.activateRunning());
        QVERIFY(first.listen());
        QWidget w;
        w.show();
        w.showMinimized();
        first.setWindow(&w);
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        // The second copy runs in another process, as it would for real.
        QProcess second;
        second.start(QCoreApplication::applicationFilePath(), {"-second", key});
        QTRY_COMPARE_WITH_TIMEOUT(asked.count(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!w.isMinimized());
    }
};

int main(int argc, char **argv) {
    // Helper mode for the single-instance test: act as the second copy.
    if (argc == 3 && qstrcmp(argv[1], "-second") == 0) {
        QCoreApplication app(argc, argv);
        return cr::SingleInstance(QString::fromLocal8Bit(argv[2])).activateRunning() ? 0 : 3;
    }
    cr::Application app(argc, argv);
    TstStartup t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_startup.moc"
