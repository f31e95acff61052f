// The report forms against a real server: queries, fiscal filter, groups,
// totals and captions, read back from the CSV and text exports.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/frame.h"
#include "tests/support/testdb.h"

using namespace reports;

namespace {

const QDate kMar1(2025, 3, 1);
const QDate kMar31(2025, 3, 31);
const QDateTime kNow(QDate(2025, 4, 1), QTime(10, 0, 0));

// Receber rows of every kind the listings tell apart, in March 2025:
// ANA (12) and BRUNO (7) have a cliente row, CARLA (9) has none.
void fixture(crtest::TestDb &db) {
    db.exec(
        "INSERT INTO configuracao (Nome, Endereco, Numero, Bairro, Cidade, Estado, Cep, Tel1, "
        "Tel2) "
        "VALUES ('LOJA TESTE','RUA A','10','CENTRO','ITAUNA','MG','35680000','(37) 1111-2222','')");
    db.exec(
        "INSERT INTO cliente (Codigocliente, Nome, Endereco, Numero, Complemento, Bairro, Cidade, "
        "Cep) "
        "VALUES (12,'ANA SOUZA','RUA B','25','CASA 2','VILA NOVA','ITAUNA','35681000'),"
        "(7,'BRUNO LIMA','RUA C','7',NULL,'CENTRO','ITAUNA','35680001')");
    const QString cols =
        "(Controle, CodigoNota, Controles, CodigoCliente, Nome, NomeCliente, DataEmissao, "
        "DataVenc, "
        "DataQuitacao, Valor, TotalPg, nfce, Pago, NFCancelada, CodigoParcela, DescParcela, "
        "Condicao, "
        "Condicaovenda, Aplicacao, Percentual, Banco, NumeroCheque) VALUES ";
    db.exec(
        "INSERT INTO receber " + cols +
        // open crediário installments due in March
        "(1,'100','100/1',12,'ANA "
        "SOUZA',NULL,'2025-01-01','2025-03-01',NULL,100,NULL,NULL,'N','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(2,'100','100/2',12,'ANA "
        "SOUZA',NULL,'2025-01-01','2025-03-10',NULL,50.5,NULL,NULL,NULL,'N',1,"
        "'CREDIARIO 3X','2/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(3,'101','101/1',7,'BRUNO LIMA',NULL,'2025-01-01','2025-03-10',NULL,20,NULL,555,'N','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(4,'102','102/1',7,'BRUNO "
        "LIMA',NULL,'2025-01-01','2025-03-31',NULL,30,NULL,NULL,'F','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(5,'103','103/1',9,'CARLA "
        "DIAS',NULL,'2025-01-01','2025-03-15',NULL,1000,NULL,NULL,'N','N',1,"
        "'CREDIARIO 5X','1/5','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        // outside the period, cancelled, cancel flag unknown
        "(6,'104','104/1',12,'ANA SOUZA',NULL,'2025-01-01','2025-04-01',NULL,7,NULL,NULL,'N','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(9,'105','105/1',9,'CARLA "
        "DIAS',NULL,'2025-01-01','2025-03-20',NULL,999,NULL,NULL,'N','S',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(10,'106','106/1',9,'CARLA "
        "DIAS',NULL,'2025-01-01','2025-03-20',NULL,888,NULL,NULL,'N',NULL,1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        // settled crediário, one of them the counter-sale client 6048
        "(7,'107','107/1',12,'ANA "
        "SOUZA',NULL,'2025-01-01','2025-03-05','2025-03-05',100,101,NULL,'S','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(8,'108','108/1',6048,'VENDA A "
        "VISTA',NULL,'2025-01-01','2025-03-05','2025-03-05',9,9,NULL,'S','N',1,"
        "'CREDIARIO 3X','1/1','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        // cards settled on one day, debit and credit, and one settled in April
        "(11,'110','110/1',12,'ANA SOUZA','ANA "
        "SOUZA','2025-02-01','2025-03-01','2025-03-12',100,100,NULL,'S',"
        "'N',4,'CARTAO DEBITO','1/1','CARTÃO DEBITO','CARTÃO DEBITO',3.5,'CIELO',NULL),"
        "(12,'111','111/1',7,'BRUNO LIMA','BRUNO "
        "LIMA','2025-02-01','2025-03-02','2025-03-12',50,50,NULL,'S',"
        "'N',4,'CARTAO 1X','1/1','CARTÃO CREDITO','CARTÃO CREDITO',NULL,'REDE',NULL),"
        "(13,'112','112/1',7,'BRUNO LIMA','BRUNO "
        "LIMA','2025-03-03','2025-03-04','2025-04-02',80,80,NULL,'S',"
        "'N',4,'CARTAO 1X','1/1','CARTÃO CREDITO','CARTÃO CREDITO',2,'REDE',NULL),"
        // two cheques paid the same day, due on different days
        "(14,'113','113/1',7,'BRUNO "
        "LIMA',NULL,'2025-02-01','2025-03-18','2025-03-20',40,40,NULL,'S','N',6,"
        "'CHEQUE 30/60','1/2','CHEQUE','CHEQUE',NULL,'ITAU','111'),"
        "(15,'113','113/2',7,'BRUNO "
        "LIMA',NULL,'2025-02-01','2025-03-25','2025-03-20',60,60,NULL,'S','N',6,"
        "'CHEQUE 30/60','2/2','CHEQUE','CHEQUE',NULL,'ITAU','222'),"
        // cash sales of one day whose plans alternate in name order
        "(16,'120','120/"
        "1',20,'ZECA',NULL,'2025-03-02','2025-03-02','2025-03-02',10,10,NULL,'S','N',8,"
        "'CARTAO 1X','CARTAO','CARTAO','CARTAO',NULL,NULL,NULL),"
        "(17,'121','121/"
        "1',21,'ALFREDO',NULL,'2025-03-02','2025-03-02','2025-03-02',20,20,NULL,'S','N',8,"
        "'CARTAO 1X','CARTAO','CARTAO','CARTAO',NULL,NULL,NULL),"
        "(18,'122','122/1',22,'BIA',NULL,'2025-03-02','2025-03-02','2025-03-02',5,5,NULL,'S','N',8,"
        "'A VISTA','DINHEIRO','DINHEIRO','DINHEIRO',NULL,NULL,NULL),"
        // credit sales issued in March, one to the counter-sale name
        "(19,'130','130/1',12,'ANA "
        "SOUZA',NULL,'2025-03-03','2025-05-03',NULL,33,NULL,NULL,'N','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL),"
        "(20,'131','131/1',6048,'VENDA A "
        "VISTA',NULL,'2025-03-03','2025-05-03',NULL,44,NULL,NULL,'N','N',1,"
        "'CREDIARIO 3X','1/3','CREDIARIO','CREDIARIO',NULL,NULL,NULL)");
}

ReportRequest request(const QString &name, QDate from, QDate to, const QString &setting) {
    ReportRequest r;
    r.name = name;
    r.dataI = from;
    r.dataF = to;
    r.fiscalSetting = setting;
    r.now = kNow;
    return r;
}

}  // namespace

class TstReportForms : public QObject {
    Q_OBJECT

    std::unique_ptr<crtest::TestDb> db;
    std::unique_ptr<cr::Connection> conn;
    QTemporaryDir dir;

    QStringList csv(const QString &name, const QString &setting = "N", QDate from = kMar1,
                    QDate to = kMar31, const QString &nota = {}) {
        ReportRequest req = request(name, from, to, setting);
        req.nota = nota;
        const QString path = dir.filePath(name + ".csv");
        QFile::remove(path);
        if (!exportReport(*conn, req, rpt::Format::Csv, path)) return {};
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

private slots:
    void initTestCase() {
        db = std::make_unique<crtest::TestDb>("reportforms");
        conn = db->connect();
        fixture(*db);
    }

    void fiscalRule_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QVariant>("nfce");
        QTest::addColumn<QVariant>("pago");
        QTest::addColumn<bool>("printed");
        const QVariant none;
        QTest::newRow("N: no receipt, open") << "N" << none << QVariant("N") << true;
        QTest::newRow("N: no receipt, Pago null passes 'or Pago is null'")
            << "N" << none << none << true;
        QTest::newRow("N: no receipt, Pago empty") << "N" << none << QVariant("") << true;
        QTest::newRow("N: refinanced left out") << "N" << none << QVariant("F") << false;
        QTest::newRow("N: fiscal receipt left out")
            << "N" << QVariant(555) << QVariant("N") << false;
        QTest::newRow("F: fiscal receipt printed") << "F" << QVariant(555) << none << true;
        QTest::newRow("F: receipt number 0 is still a receipt")
            << "F" << QVariant(0) << QVariant("S") << true;
        QTest::newRow("F: refinanced left out") << "F" << QVariant(555) << QVariant("F") << false;
        QTest::newRow("F: lower-case f compares as the server does")
            << "F" << QVariant(1) << QVariant("f") << false;
        QTest::newRow("F: no receipt left out") << "F" << none << QVariant("N") << false;
        QTest::newRow("A: refinanced printed") << "A" << none << QVariant("F") << true;
        QTest::newRow("A: fiscal printed") << "A" << QVariant(9) << QVariant("F") << true;
    }
    void fiscalRule() {
        QFETCH(QString, setting);
        QFETCH(QVariant, nfce);
        QFETCH(QVariant, pago);
        QFETCH(bool, printed);
        QCOMPARE(passesFiscal(*fiscalMode(setting), nfce, pago), printed);
    }

    void settingsOutsideFNA_data() {
        QTest::addColumn<QString>("setting");
        QTest::newRow("lower case") << "f";
        QTest::newRow("empty") << "";
        QTest::newRow("word") << "FN";
    }
    void settingsOutsideFNA() {
        QFETCH(QString, setting);
        QVERIFY(!fiscalMode(setting));
        for (const char *name : {"TRptValesAberto", "TRptAtraso", "TRptCartaoQuitado01"}) {
            QVERIFY(csv(name, setting).isEmpty());
            QVERIFY(!QFile::exists(dir.filePath(QString(name) + ".csv")));
        }
        // The sales and cheque listings ignore the setting.
        QCOMPARE(csv("TRptVendaVista", setting), csv("TRptVendaVista", "A"));
        QCOMPARE(csv("TRptChequeQ", setting), csv("TRptChequeQ", "N"));
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("title");
        QTest::newRow("open by due date, F") << "TRptValesAberto"
                                             << "F"
                                             << "Relatório de Contas a Receber em Abertos Por "
                                                "Vencimento no Período: 01/03/2025 à 31/03/2025";
        QTest::newRow("open by due date, N")
            << "TRptValesAberto"
            << "N"
            << "Relatório de Contas a Receber em Abertos no Período: 01/03/2025 à 31/03/2025";
        QTest::newRow("open by due date, A")
            << "TRptValesAberto"
            << "A"
            << "Relatório de Contas a Receber em Abertos no Período: 01/03/2025 à 31/03/2025";
        QTest::newRow("open by client, F keeps its caption")
            << "TRptCobrancaGeral"
            << "F"
            << "Relatorio em Aberto Geral  por Cliente no Periodo 01/03/2025 à 31/03/2025";
        QTest::newRow("settled cards") << "TRptCartaoQuitado01"
                                       << "N"
                                       << "Relatório de Vendas Com Cartão de Crédito ou e Debito "
                                          "já Quitado no Período: 01/03/2025 à 31/03/2025";
        QTest::newRow("open cheques") << "TRptCheque"
                                      << "x"
                                      << "Relatório de Contas a Receber em Abertos com Cheque no "
                                         "Período: 01/03/2025 à 31/03/2025";
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, setting);
        QFETCH(QString, title);
        ReportRequest req = request(name, kMar1, kMar31, setting);
        QCOMPARE(ReportForm(*conn, req).titleText(), title);
        // The title line is the first item of the page header's second line.
        QVERIFY2(csv(name, setting).value(1).startsWith(title),
                 qPrintable(csv(name, setting).value(1)));
    }

    void listings_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("body");  // every line after the page header

        QTest::newRow("open by due date, N: nfce and refinanced left out")
            << "TRptValesAberto"
            << "N"
            << QStringList{"Codigo,Nome do Cliente,Nota,Cond.Venda,Dt.Emissão,Valor R$",
                           "Data de Vencimento =>,01/03/2025",
                           "12,ANA SOUZA,100/1,CREDIARIO,01/01/2025,\"100,00\"",
                           "Sub-Total =>,\"100,00\"",
                           "Data de Vencimento =>,10/03/2025",
                           "12,ANA SOUZA,100/2,CREDIARIO,01/01/2025,\"50,50\"",
                           "Sub-Total =>,\"50,50\"",
                           "Data de Vencimento =>,15/03/2025",
                           "9,CARLA DIAS,103/1,CREDIARIO,01/01/2025,\"1.000,00\"",
                           "Sub-Total =>,\"1.000,00\"",
                           "Valor Total =>,\"1.150,50\"",
                           "Total de Itens =>,3"};
        QTest::newRow("open by due date, A: every row, groups in query order")
            << "TRptValesAberto"
            << "A"
            << QStringList{"Codigo,Nome do Cliente,Nota,Cond.Venda,Dt.Emissão,Valor R$",
                           "Data de Vencimento =>,01/03/2025",
                           "12,ANA SOUZA,100/1,CREDIARIO,01/01/2025,\"100,00\"",
                           "Sub-Total =>,\"100,00\"",
                           "Data de Vencimento =>,10/03/2025",
                           "12,ANA SOUZA,100/2,CREDIARIO,01/01/2025,\"50,50\"",
                           "7,BRUNO LIMA,101/1,CREDIARIO,01/01/2025,\"20,00\"",
                           "Sub-Total =>,\"70,50\"",
                           "Data de Vencimento =>,15/03/2025",
                           "9,CARLA DIAS,103/1,CREDIARIO,01/01/2025,\"1.000,00\"",
                           "Sub-Total =>,\"1.000,00\"",
                           "Data de Vencimento =>,31/03/2025",
                           "7,BRUNO LIMA,102/1,CREDIARIO,01/01/2025,\"30,00\"",
                           "Sub-Total =>,\"30,00\"",
                           "Valor Total =>,\"1.200,50\"",
                           "Total de Itens =>,5"};
        QTest::newRow("open by client, F: only the fiscal row")
            << "TRptCobrancaGeral"
            << "F"
            << QStringList{"Nome do Cliente,Nº Nota,Emissão,Inativação,Condição,Valor R$",
                           "BRUNO LIMA,101/1,01/01/2025,1/3,\"20,00\"",
                           "Quantidade de Lançamentos =>,1,\"20,00\""};
        QTest::newRow("settled by payoff date: client 6048 never listed")
            << "TRptReceberPg"
            << "A"
            << QStringList{
                   "Codigo,Nome do Cliente,Nº Nota,Dt.Emissão,Vencimento,Cond.Venda,Total Pgto.",
                   "Data de Quitação =>,05/03/2025",
                   "12,ANA SOUZA,107,01/01/2025,05/03/2025,1/3,\"101,00\"",
                   "Sub-Total R$ =>,\"101,00\"",
                   "Quantidade de Vales =>,1,Valor Total =>,\"101,00\""};
        QTest::newRow("open by issue date, grouped by application")
            << "TRptResumoRecberAbertoEmissao"
            << "N"
            << QStringList{
                   "Nota,Nº Contr.,Codigo,Nome do Cliente,Nfce,\"Dt,Emissão\",Dt.Venc.,Dt.Quitado,"
                   "Valor R$,Vl.Pagto",
                   "Condição de Venda =>,CREDIARIO",
                   "130,130/1,12,ANA SOUZA,03/03/2025,03/05/2025,\"33,00\"",
                   "131,131/1,6048,VENDA A VISTA,03/03/2025,03/05/2025,\"44,00\"",
                   "Sub-Total =>,\"77,00\"",
                   "Valor Total =>,\"77,00\"",
                   "Total de Itens =>,2"};
        QTest::newRow("cash sales: alternating plans give a group per run")
            << "TRptVendaVista"
            << "N"
            << QStringList{"Codigo,Nome do Cliente,Nº Nota,Dt.Emissão,Valor R$",
                           "Tipo de Venda =>,CARTAO",
                           "21,ALFREDO,121,02/03/2025,\"20,00\"",
                           "\"20,00\"",
                           "Codigo,Nome do Cliente,Nº Nota,Dt.Emissão,Valor R$",
                           "Tipo de Venda =>,DINHEIRO",
                           "22,BIA,122,02/03/2025,\"5,00\"",
                           "\"5,00\"",
                           "Codigo,Nome do Cliente,Nº Nota,Dt.Emissão,Valor R$",
                           "Tipo de Venda =>,CARTAO",
                           "20,ZECA,120,02/03/2025,\"10,00\"",
                           "7,BRUNO LIMA,112,03/03/2025,\"80,00\"",
                           "\"90,00\"",
                           "Total de Vendas =>,\"115,00\""};
        QTest::newRow("credit sales: the counter-sale name left out")
            << "TRptVendaPrazo"
            << "x"
            << QStringList{"Codigo,Nome do Cliente,Nº Nota,Dt.Emissão,Dt.Vencimento,Valor R$",
                           "Tipo de Venda =>,CREDIARIO 3X",
                           "12,ANA SOUZA,130,03/03/2025,03/05/2025,\"33,00\"", "\"33,00\"",
                           "Total de Venda =>,\"33,00\""};
        QTest::newRow("settled cards: one payoff day covers debit and credit, net values")
            << "TRptCartaoQuitado01"
            << "N"
            << QStringList{
                   "Nome do Cliente,Banco,Nº Controle,Vencimento,Tipo de Venda,Valor "
                   "R$,Perc.%,C/Desc.",
                   "Data de Quitação =>,12/03/2025",
                   "BRUNO LIMA,REDE,111/1,02/03/2025,CARTÃO CREDITO,\"50,00\",\"50,00\"",
                   "ANA SOUZA,CIELO,110/1,01/03/2025,CARTÃO DEBITO,\"100,00\",\"3,50\",\"96,50\"",
                   "Sub-Total =>,\"150,00\",\"146,50\"",
                   "Total R$ =>,\"150,00\",\"146,50\""};
        QTest::newRow("settled cheques: one payoff day, two due days")
            << "TRptChequeQ"
            << "N"
            << QStringList{"Codigo,Nome do Cliente,Nº Cheque,Dt.Emissão,Dt.Quitação,Valor R$",
                           "Data de Quitação =>,20/03/2025",
                           "7,BRUNO LIMA,111,01/02/2025,20/03/2025,\"40,00\"",
                           "7,BRUNO LIMA,222,01/02/2025,20/03/2025,\"60,00\"",
                           "Sub-Total =>,\"100,00\"",
                           "Quantidade de Notas =>,2,\"100,00\""};
    }
    void listings() {
        QFETCH(QString, name);
        QFETCH(QString, setting);
        QFETCH(QStringList, body);
        const QStringList lines = csv(name, setting);
        QVERIFY(lines.size() > 2);
        QVERIFY2(lines[0].startsWith("LOJA TESTE,Data"), qPrintable(lines[0]));
        if (lines.mid(2) != body) qWarning().noquote() << lines.join(u'\n');
        QCOMPARE(lines.mid(2), body);
    }

    void emptyPeriod_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::newRow("no rows in the period") << QDate(2030, 1, 1) << QDate(2030, 1, 31);
        QTest::newRow("first date after the second") << kMar31 << kMar1;
    }
    void emptyPeriod() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const QStringList lines = csv("TRptValesAberto", "A", from, to);
        QCOMPARE(lines.mid(2),
                 (QStringList{"Codigo,Nome do Cliente,Nota,Cond.Venda,Dt.Emissão,Valor R$",
                              "Valor Total =>,\"0,00\"", "Total de Itens =>,0"}));
        QCOMPARE(csv("TRptCobrancaGeral", "A", from, to).last(),
                 "Quantidade de Lançamentos =>,0,\"0,00\"");
        // The letters: one page with only the page header.
        QCOMPARE(csv("TRptAtraso", "A", from, to), QStringList{"LOJA TESTE,01/04/2025"});
    }

    void sameDayBothBounds() {
        const QStringList lines =
            csv("TRptValesAberto", "A", QDate(2025, 3, 10), QDate(2025, 3, 10));
        QCOMPARE(lines.filter("CREDIARIO,01/01/2025").size(), 2);
    }

    void lettersFront() {
        const QStringList lines = csv("TRptAtraso", "N");
        // Two clients, two pages: ANA (two installments) then CARLA, whose
        // cancelled and unknown-cancel rows count, as the letter tests neither.
        QCOMPARE(lines.filter("LOJA TESTE,01/04/2025").size(), 2);
        QCOMPARE(lines.filter("Sr(a) : ").size(), 2);
        QCOMPARE(lines.filter("Sr(a) : ")[0], "Sr(a) : ANA SOUZA");
        QCOMPARE(lines.filter("Sr(a) : ")[1], "Sr(a) : CARLA DIAS");
        QCOMPARE(lines.filter("Nº do Título").size(), 2);
        const int ana = lines.indexOf("Sr(a) : ANA SOUZA");
        QCOMPARE(lines.mid(ana + 4, 3),
                 (QStringList{"100,01/01/2025,01/03/2025,\"100,00\"",
                              "100,01/01/2025,10/03/2025,\"50,50\"", "\"150,50\""}));
        const int carla = lines.indexOf("Sr(a) : CARLA DIAS");
        QCOMPARE(lines[carla + 7], "\"2.887,00\"");
        QCOMPARE(lines.filter("Dep. de Crédito e Cobrança").size(), 2);
        QCOMPARE(lines.last(),
                 "\"Nota: Ao recebimento deste Aviso, já estiver pago, queira desconsiderá-lo.\"");
    }

    void lettersBack() {
        const QStringList lines = csv("TRptVersoAtraso", "A");
        // One page per open installment due in March: ANA 2, BRUNO 2, CARLA 3.
        QCOMPARE(lines.filter("Ilmo(a) Sr.(a) ").size(), 7);
        QCOMPARE(lines.filter("RUA A, 10").size(), 7);  // the shop as sender
        QCOMPARE(lines.filter("CENTRO - ITAUNA").size(), 7);
        QCOMPARE(lines.filter("Endereço : RUA B, 25").size(), 2);
        QCOMPARE(lines.filter("Complemento : CASA 2").size(), 2);
        QCOMPARE(lines.filter("VILA NOVA,ITAUNA").size(), 2);
        // CARLA has no cliente row.
        QCOMPARE(lines.filter(QRegularExpression("^\"Endereço : ,\"$")).size(), 3);
        const int carla = lines.indexOf("Ilmo(a) Sr.(a) CARLA DIAS");
        QCOMPARE(lines[carla - 4], "CARLA DIAS");
    }

    void receipts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("nota");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("by Controles: the first of the rows in note order")
            << "TRptRecibo0001"
            << "RC/1"
            << QStringList{"Nº Nota :,RC/1,Dt.Venc :,10/03/2025", "Tipo de Pagamento :,PIX",
                           "Resp.Recebimento,FERNANDA", "Valor do Pago R$,\"1.234,50\""};
        QTest::newRow("by Controle, with the authentication")
            << "TRptRecibo001"
            << "41"
            << QStringList{"Nº Nota :,RC/1,Dt.Venc :,11/03/2025", "Valor do Pago R$,\"7,00\"",
                           "Aut.: AUT-77"};
    }
    void receipts() {
        QFETCH(QString, name);
        QFETCH(QString, nota);
        QFETCH(QStringList, expected);
        db->exec("DELETE FROM receber WHERE Controle IN (40,41)");
        db->exec(
            "INSERT INTO receber (Controle, CodigoNota, Controles, CodigoCliente, Nome, DataVenc, "
            "Valor, "
            "TotalPg, tipopagamento, usuario, numeroautenticacao, CodigoParcela) VALUES "
            "(41,'200','RC/1',12,'ANA SOUZA','2025-03-11',7,7,'DINHEIRO','ADMIN','AUT-77',1),"
            "(40,'199','RC/1',12,'ANA SOUZA','2025-03-10',1234.5,1234.5,'PIX','FERNANDA',NULL,1)");
        const QStringList lines = csv(name, "N", {}, {}, nota);
        QCOMPARE(lines[0], "LOJA TESTE");
        for (const QString &e : expected)
            QVERIFY2(lines.contains(e), qPrintable(e + "\n" + lines.join('\n')));
        QCOMPARE(lines.filter("Controle de Pagamento").size(), 1);
        QCOMPARE(lines.contains("Aut.: AUT-77"), name == "TRptRecibo001");
    }

    void saleReceipt() {
        db->exec("DELETE FROM receber WHERE CodigoNota = '500'");
        db->exec(
            "INSERT INTO receber (CodigoNota, Controles, CodigoCliente, Nome, DataEmissao, "
            "DataVenc, "
            "DescParcela, Valor, Total, Desconto, Nomefuncionario, CodigoParcela) VALUES "
            "('500','500/1',12,'ANA SOUZA','2025-03-01','2025-04-01','CREDIARIO "
            "3X',1234.5,1300,10,'JULIANA',1),"
            "('500','500/2',12,'ANA SOUZA','2025-03-01','2025-05-01','CREDIARIO "
            "3X',20,1300,10,'JULIANA',1),"
            "('500','500/3',12,'ANA SOUZA','2025-03-01','2025-06-01','CREDIARIO "
            "3X',35.5,1300,10,'JULIANA',1)");
        db->exec(
            "INSERT INTO itenssaida (Codigonota, Codigocliente, Codigoproduto, Produto, Preco, Qt) "
            "VALUES "
            "(500,12,1,'CAMISA',30,2),(500,12,2,'CALCA',110,1)");
        const QStringList lines = csv("TRptReciboNotas001", "x", {}, {}, "500");
        for (const char *e : {"Nº Nota :,500,Data :,01/03/2025", "ANA SOUZA", "Endereço :,RUA B",
                              "Bai./Cid.:,VILA NOVA / ITAUNA", "Vendedor :,JULIANA", "1,CAMISA",
                              "Qt.:,\"2,00\",Pr.Unit.,\"30,00\",Toal R$ :,\"60,00\"",
                              "Total Produtos R$,\"1.300,00\"", "Desconto R$,\"10,00\"",
                              "Total a Pagar R$,\"1.290,00\"", "Obrigado pela preferencia",
                              "NAO VALE COMO CUPOM FISCAL"})
            QVERIFY2(lines.contains(QString::fromUtf8(e)), e);
        // Installment lines in query order: date, blank, plan, six blanks, value.
        QCOMPARE(lines.filter("CREDIARIO 3X      "),
                 (QStringList{"\"01/04/2025 CREDIARIO 3X      1.234,50\"",
                              "\"01/05/2025 CREDIARIO 3X      20,00\"",
                              "\"01/06/2025 CREDIARIO 3X      35,50\""}));
    }

    void previewPagesMatchTheExport() {
        ReportRequest req = request("TRptValesAberto", kMar1, kMar31, "A");
        req.now = kNow;
        ReportForm form(*conn, req);
        const std::vector<rpt::Page> pages = form.pages();
        QStringList fromPages;
        for (const rpt::Page &p : pages)
            for (const rpt::TextLine &l : rpt::textLines(p)) {
                QStringList cells;
                for (const rpt::PrintedItem *it : l.items) {
                    const QString t = it->text.trimmed();
                    cells << (t.contains(',') ? '"' + t + '"' : t);
                }
                fromPages << cells.join(',');
            }
        QCOMPARE(fromPages, csv("TRptValesAberto", "A"));
    }

    void pdfHoldsTheLines() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext missing");
        ReportRequest req = request("TRptCartaoQuitado01", kMar1, kMar31, "N");
        req.now = kNow;
        const QString path = dir.filePath("cartao.pdf");
        QVERIFY(exportReport(*conn, req, rpt::Format::Pdf, path));
        QProcess p;
        p.start("pdftotext", {"-layout", path, "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        for (const char *e :
             {"LOJA TESTE", "Data: 01/04/2025", "Página: 1", "Data de Quitação =>", "12/03/2025",
              "CARTÃO DEBITO", "96,50", "146,50",
              "Relatório de Vendas Com Cartão de Crédito ou e Debito já Quitado no Período: "
              "01/03/2025 à 31/03/2025"})
            QVERIFY2(text.contains(QString::fromUtf8(e)), e);
        QVERIFY(QRegularExpression("ANA SOUZA\\s+CIELO\\s+110/1").match(text).hasMatch());
    }

    void unknownReportIsAnError() {
        ReportRequest req = request("TRptNaoExiste", kMar1, kMar31, "N");
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ReportForm(*conn, req));
    }
};

QTEST_MAIN(TstReportForms)
#include "tst_report_forms.moc"
