// The dataset layer against a real server: statements, quoting, editing,
// refresh in place, master-detail, filters, calculated and lookup fields,
// automatic refresh and the loss policy.
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "data/dataset.h"
#include "data/datasetmodel.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "tests/support/testdb.h"

using namespace cr;

class TstDataset : public QObject {
    Q_OBJECT

    std::unique_ptr<crtest::TestDb> db;
    std::unique_ptr<Connection> conn;

    // Five installments of two clients, one settled, with their sale items.
    void fixture() {
        db->exec("DELETE FROM receber");
        db->exec("DELETE FROM itenssaida");
        db->exec("DELETE FROM parcela");
        db->exec(
            "INSERT INTO receber (Controle, CodigoNota, Controles, CodigoCliente, Nome, DataVenc, "
            "Valor, Percentual, CodigoParcela, DataQuitacao) VALUES "
            "(1,'100','100/1',12,'ANA SOUZA','2026-01-10',100.0,NULL,1,NULL),"
            "(2,'100','100/2',12,'ANA SOUZA','2026-02-10',100.0,NULL,1,NULL),"
            "(3,'120','120/1',7,'BRUNO LIMA','2026-01-15',50.5,3.5,2,'2026-01-15'),"
            "(4,'1234','1234/1',7,'BRUNO LIMA','2026-03-01',80.0,NULL,9,NULL),"
            "(5,'130','130/1',7,'CARLA DIAS','2026-04-01',10.0,NULL,1,NULL)");
        db->exec(
            "INSERT INTO itenssaida (Codigonota, Codigocliente, Codigoproduto, Produto, Preco, Qt) "
            "VALUES (100,12,1,'CAMISA',30,2),(100,12,1,'CAMISA',30,1),(100,12,2,'CALCA',110,1),"
            "(120,7,3,'MEIA',5,3),(120,12,3,'MEIA',5,1)");
        db->exec(
            "INSERT INTO parcela (CodigoParcela, Descparcela, Aplicacao) VALUES "
            "(1,'CREDIARIO 3X','CREDIARIO'),(2,'CARTAO 1X','CARTÃO CREDITO')");
    }

    int controleAt(Dataset &ds, int row) { return ds.value(row, "Controle").toInt(); }

private slots:
    void initTestCase() {
        db = std::make_unique<crtest::TestDb>("dataset");
        conn = db->connect();
    }
    void init() { fixture(); }

    void addCondition_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no where, group by") << "SELECT a FROM t\nGroup by a"
                                            << "SELECT a FROM t WHERE (x = 1)\nGroup by a";
        QTest::newRow("where keeps its OR inside parentheses")
            << "SELECT * FROM t WHERE a = 1 OR b = 2 ORDER BY a"
            << "SELECT * FROM t WHERE (a = 1 OR b = 2) AND (x = 1) ORDER BY a";
        QTest::newRow("keywords inside strings and subqueries are not clauses")
            << "SELECT * FROM t WHERE n = 'x where y order by' AND c IN (SELECT c FROM u WHERE d)"
            << "SELECT * FROM t WHERE (n = 'x where y order by' AND c IN (SELECT c FROM u WHERE "
               "d)) "
               "AND (x = 1)";
        QTest::newRow("plain") << "SELECT * FROM CAIXA"
                               << "SELECT * FROM CAIXA WHERE (x = 1)";
    }
    void addCondition() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(sqltext::addCondition(sql, "x = 1"), expected);
    }

    void paramsSkipStringsAndComments() {
        const QString sql =
            "select ':nope', \":no\" -- :gone\n from t /* :x */ where a >=:Dti and b <= :dtf "
            "and c = :DTI and h = '08:00'";
        QCOMPARE(sqltext::paramNames(sql), (QStringList{"Dti", "dtf"}));
        QCOMPARE(sqltext::firstTable("SELECT * from `Receber` r where 1"), QString("receber"));
    }

    // Typed texts travel as literals; nothing in them is ever executed.
    // Inside LIKE the backslash stays LIKE's own escape character, and the
    // wildcards keep their meaning.
    void hostileTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("likeCount");
        QTest::newRow("backslash-quote breakout") << "X\\' OR 1=1 -- "
                                                  << "X\\' OR 1=1 -- " << 0;
        QTest::newRow("quote breakout") << "D' OR ''='"
                                        << "D' OR ''='" << 1;
        QTest::newRow("trailing backslash") << "BARRA\\"
                                            << "BARRA\\\\" << 1;
        QTest::newRow("percent wildcard") << "ZE%"
                                          << "Z" << 1;
        QTest::newRow("underscore wildcard") << "ZULU"
                                             << "Z_L" << 1;
        QTest::newRow("comment and semicolon") << "A'; DROP TABLE receber; #"
                                               << "A'; DROP" << 1;
    }
    void hostileTexts() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(int, likeCount);
        Dataset ins(conn.get());
        ins.setSql("SELECT * FROM receber WHERE CodigoNota < 0");
        ins.open();
        ins.append();
        ins["Nome"] = name;
        ins["CodigoNota"] = "900";
        ins.post();
        QCOMPARE(db->scalar("SELECT Nome FROM receber WHERE CodigoNota='900'").toString(), name);

        // As a parameter ...
        Dataset q(conn.get());
        q.setSql("SELECT * FROM receber WHERE Nome = :p");
        q.setParam("p", name);
        q.open();
        QCOMPARE(q.rowCount(), 1);
        // ... and as literals built the old way, with quotes doubled.
        auto quoted = [](QString t) { return "'" + t.replace("'", "''") + "'"; };
        Dataset eq(conn.get());
        eq.setSql("SELECT * FROM RECEBER WHERE Nome = " + quoted(name));
        eq.open();
        QCOMPARE(eq.rowCount(), 1);
        Dataset like(conn.get());
        like.setSql("SELECT * FROM RECEBER WHERE (NfCancelada <>\"S\") and Nome LIKE(" +
                    quoted(typed + "%") + ") ORDER BY Nome");
        like.open();
        QCOMPARE(like.rowCount(), likeCount);
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM receber").toInt(), 6);
    }

    void textsCutToWidth_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const QString accented = QString("JOSÉ ").repeated(12);  // 60 characters
        QTest::newRow("accented over 50") << accented << accented.left(50);
        QTest::newRow("exactly 50") << QString(50, 'A') << QString(50, 'A');
        QTest::newRow("emoji kept whole")
            << QString(49, 'B') + QString::fromUtf8("\xF0\x9F\x98\x80") + "C"
            << QString(49, 'B') + QString::fromUtf8("\xF0\x9F\x98\x80");
    }
    void textsCutToWidth() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM RECEBER WHERE Controle = 1");
        ds.open();
        ds.edit();
        ds["Nome"] = typed;
        ds["Turno"] = "12";  // text(1)
        ds.post();
        QCOMPARE(db->scalar("SELECT Nome FROM receber WHERE Controle=1").toString(), stored);
        QCOMPARE(db->scalar("SELECT Turno FROM receber WHERE Controle=1").toString(), QString("1"));
        QCOMPARE(ds.field("Nome").asString(), stored);
    }

    void editAppendDelete() {
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber ORDER BY Controle");
        ds.open();
        QCOMPARE(ds.rowCount(), 5);
        ds.setCurrentRow(2);
        ds.edit();
        QCOMPARE(ds.state(), Dataset::State::Edit);
        ds["valor"] = 60.25;  // field names without regard to case
        ds.post();
        QCOMPARE(db->scalar("SELECT Valor FROM receber WHERE Controle=3").toDouble(), 60.25);
        QCOMPARE(ds.state(), Dataset::State::Browse);

        ds.append();
        ds["Nome"] = "NOVO";
        ds["CodigoNota"] = "555";
        ds.post();
        const int id = ds.field("Controle").asInteger();
        QVERIFY(id > 5);
        // Server defaults come back with the new row.
        QCOMPARE(ds.field("NFCancelada").asString(), QString("N"));
        QVERIFY(ds.field("Pago").isNull());

        ds.remove();
        QCOMPARE(
            db->scalar(QString("SELECT COUNT(*) FROM receber WHERE Controle=%1").arg(id)).toInt(),
            0);
        QCOMPARE(ds.rowCount(), 5);

        ds.first();
        ds.edit();
        ds["Nome"] = "DESCARTADO";
        ds.cancel();
        QCOMPARE(ds.field("Nome").asString(), QString("ANA SOUZA"));
    }

    // The walk every posting loop makes: first, then next until eof.
    void walkRows_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("rows");
        QTest::newRow("none") << "Controle < 0" << 0;
        QTest::newRow("one") << "Controle = 3" << 1;
        QTest::newRow("all") << "1=1" << 5;
    }
    void walkRows() {
        QFETCH(QString, where);
        QFETCH(int, rows);
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber WHERE " + where);
        ds.open();
        int seen = 0;
        ds.first();
        while (!ds.eof()) {
            ++seen;
            ds.next();
        }
        QCOMPARE(seen, rows);
        ds.last();
        QVERIFY(ds.eof());
        seen = 0;
        while (!ds.bof()) {
            ++seen;
            ds.prior();
        }
        QCOMPARE(seen, rows);
    }

    // An insert on an empty selection, as the windows do it.
    void appendOnEmptySelection() {
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM CAIXA\nWhere codigonota < 0");
        ds.open();
        QVERIFY(ds.isEmpty());
        ds.append();
        ds["CodigoNota"] = "77";
        ds["Credito"] = 12.5;
        ds["Data"] = QDate(2026, 5, 1);
        ds.post();
        QCOMPARE(ds.rowCount(), 1);
        QCOMPARE(db->scalar("SELECT Credito FROM caixa WHERE CodigoNota='77'").toDouble(), 12.5);
    }

    void refusedWritesKeepTheRowInEditing() {
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber ORDER BY Controle");
        ds.open();
        // Deleted elsewhere while being edited: the save must not pass as done.
        ds.edit();
        ds["Nome"] = "X";
        db->exec("DELETE FROM receber WHERE Controle=1");
        QVERIFY_THROWS_EXCEPTION(DbError, ds.post());
        QCOMPARE(ds.state(), Dataset::State::Edit);
        ds.cancel();
        // A value the strict server refuses.
        ds.setCurrentRow(1);
        ds.edit();
        ds["DataVenc"] = QString("não é data");
        QVERIFY_THROWS_EXCEPTION(DbError, ds.post());
        QCOMPARE(ds.state(), Dataset::State::Edit);
        QCOMPARE(ds.field("DataVenc").asString(), QString("não é data"));
    }

    // Changes made elsewhere reach the grid row by row: the current row,
    // the selection and the scroll position stay.
    void refreshInPlace() {
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber ORDER BY Nome, Controle");
        ds.open();
        DatasetModel model(&ds);
        model.setColumns({{"Nome", "Nome", ""}, {"Parcela R$", "Valor", "#,##0.00"}});
        QTableView view;
        view.setModel(&model);
        view.selectRow(3);
        QPersistentModelIndex sel = model.index(3, 0);
        ds.setCurrentRow(3);
        QCOMPARE(controleAt(ds, 3), 4);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

        db->exec("UPDATE receber SET Valor = 81 WHERE Controle = 4");
        db->exec("DELETE FROM receber WHERE Controle = 1");
        db->exec("INSERT INTO receber (Controle, Nome) VALUES (9, 'AAA PRIMEIRO')");
        db->exec("UPDATE receber SET Nome = 'ZECA' WHERE Controle = 2");  // moves to the end
        ds.refresh();

        QCOMPARE(resets.count(), 0);
        QCOMPARE(ds.rowCount(), 5);
        QCOMPARE(controleAt(ds, ds.currentRow()), 4);
        QCOMPARE(ds.field("Valor").asFloat(), 81.0);
        QCOMPARE(model.displayText(ds.currentRow(), 1), QString("81,00"));
        QVERIFY(sel.isValid());
        QCOMPARE(controleAt(ds, sel.row()), 4);
        QCOMPARE(view.selectionModel()->selectedRows().value(0).row(), sel.row());
        QList<int> order;
        for (int r = 0; r < ds.rowCount(); ++r) order << controleAt(ds, r);
        QCOMPARE(order, (QList<int>{9, 3, 4, 5, 2}));

        // The current row deleted elsewhere: its place stays current.
        db->exec("DELETE FROM receber WHERE Controle = 4");
        ds.refresh();
        QCOMPARE(ds.rowCount(), 4);
        QCOMPARE(ds.currentRow(), 2);
    }

    void masterDetailFollows() {
        Dataset master(conn.get());
        master.setSql("SELECT * FROM receber ORDER BY Controle");
        Dataset detail(conn.get());
        detail.setSql(
            "SELECT data,contador,codigoproduto,produto,preco,qt,obs,codigonota,sum(preco*qt) as "
            "total FROM itenssaida\nGroup by codigoproduto");
        detail.setMaster(&master, "CodigoNota;CodigoCliente", "Codigonota;Codigocliente");
        master.open();
        detail.open();
        QCOMPARE(detail.rowCount(), 2);  // note 100, client 12: two products
        QCOMPARE(detail.value(0, "total").toDouble(), 90.0);
        QSignalSpy reopened(&detail, &Dataset::reset);
        master.next();  // same note and client: not re-run
        QCOMPARE(reopened.count(), 0);
        master.next();  // note 120, client 7
        QCOMPARE(detail.rowCount(), 1);
        QCOMPARE(detail.value(0, "total").toDouble(), 15.0);
        master.next();  // note 1234: no items
        QCOMPARE(detail.rowCount(), 0);
        master.close();
        master.open();
        QCOMPARE(detail.rowCount(), 2);
    }

    void filterCalculatedAndLookup() {
        Dataset plans(conn.get());
        plans.setSql("select * from parcela");
        plans.open();
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber ORDER BY Controle");
        ds.addCalculatedField("CartaoLiquido", ColType::Double, [](const RecordView &r) {
            const double v = r.asFloat("Valor");
            return QVariant(v - r.asFloat("Percentual") * v / 100);
        });
        ds.addLookupField("Descricaoparcela", ColType::String, "CodigoParcela", &plans,
                          "CodigoParcela", "Descparcela");
        ds.open();
        QCOMPARE(ds.value(2, "CartaoLiquido").toDouble(), 50.5 - 3.5 * 50.5 / 100);
        QCOMPARE(ds.value(0, "CartaoLiquido").toDouble(), 100.0);  // no percentage
        QCOMPARE(ds.value(2, "descricaoparcela").toString(), QString("CARTAO 1X"));
        QVERIFY(ds.value(3, "Descricaoparcela").isNull());  // plan 9 does not exist
        // Recomputed while the row changes.
        ds.setCurrentRow(2);
        ds["Valor"] = 200.0;
        QCOMPARE(ds.field("CartaoLiquido").asFloat(), 193.0);
        ds["CodigoParcela"] = 1;
        QCOMPARE(ds.field("Descricaoparcela").asString(), QString("CREDIARIO 3X"));
        ds.cancel();

        ds.setFilter([](const RecordView &r) { return r.asString("Nome").startsWith("BRUNO"); });
        ds.setFiltered(true);
        QCOMPARE(ds.rowCount(), 2);
        db->exec("UPDATE receber SET Nome='BRUNO Z' WHERE Controle=5");
        ds.refresh();
        QCOMPARE(ds.rowCount(), 3);
        ds.setFiltered(false);
        QCOMPARE(ds.rowCount(), 5);
    }

    // Rows handed out one by one; stopping early leaves the session usable.
    void streamedSelect() {
        QStringList names;
        conn->selectStream(
            "SELECT Nome FROM receber WHERE Valor >= :v ORDER BY Controle",
            [] {
                Params p;
                p.set("v", 50);
                return p;
            }(),
            [](const QList<ColumnMeta> &cols) { QCOMPARE(cols.size(), 1); },
            [&](const Row &r) {
                names << r.value(0, ColumnMeta{}).toString();
                return names.size() < 2;
            });
        QCOMPARE(names, (QStringList{"ANA SOUZA", "ANA SOUZA"}));
        QCOMPARE(conn->select("SELECT COUNT(*) FROM receber").rows.size(), 1);
    }

    void emptyTable() {
        Dataset ds(conn.get());
        ds.setTableName("itenssaida");
        ds.open();
        QCOMPARE(ds.rowCount(), 5);
        ds.emptyTable();
        QCOMPARE(ds.rowCount(), 0);
        QCOMPARE(db->scalar("SELECT COUNT(*) FROM itenssaida").toInt(), 0);
    }

    void autoRefresh() {
        Dataset ds(conn.get());
        ds.setSql("SELECT * FROM receber ORDER BY Controle");
        ds.setAutoRefresh(true, 1);
        ds.open();
        db->exec("UPDATE receber SET Nome='ALTERADA' WHERE Controle=1");
        QTRY_COMPARE_WITH_TIMEOUT(ds.value(0, "Nome").toString(), QString("ALTERADA"), 4000);

        // Never while the operator edits.
        ds.edit();
        ds["Valor"] = 1.0;
        db->exec("UPDATE receber SET Nome='OUTRA' WHERE Controle=1");
        QTest::qWait(1500);
        QCOMPARE(ds.field("Nome").asString(), QString("ALTERADA"));
        ds.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(ds.value(0, "Nome").toString(), QString("OUTRA"), 4000);

        // An error is reported once and switches the refresh off.
        int reported = 0;
        Dataset::setErrorReporter([&](const DbError &) { ++reported; });
        db->exec("ALTER TABLE receber RENAME TO receber_x");
        QTRY_COMPARE_WITH_TIMEOUT(reported, 1, 4000);
        QTest::qWait(2500);
        QCOMPARE(reported, 1);
        QVERIFY(!ds.autoRefresh());
        db->exec("ALTER TABLE receber_x RENAME TO receber");
        Dataset::setErrorReporter(nullptr);
    }

    // Five losses are overcome silently, the sixth is raised, and the count
    // goes on after that; a success never resets it.
    void connectionLossPolicy() {
        auto c = db->connect("lossy");
        c->onConnectionLost = connectionLostPolicy;
        ConnectionLostCount() = 0;
        Dataset ds(c.get());
        ds.setSql("SELECT COUNT(*) AS n FROM receber");
        for (int i = 1; i <= 5; ++i) {
            db->kill(c->threadId());
            ds.close();
            ds.open();  // reconnects and runs again
            QCOMPARE(ds.field("n").asInteger(), 5);
            QCOMPARE(ConnectionLostCount(), i);
        }
        db->kill(c->threadId());
        ds.close();
        QVERIFY_THROWS_EXCEPTION(DbError, ds.open());
        QCOMPARE(ConnectionLostCount(), 0);
        // The next operation connects afresh; the next loss is silent again.
        ds.open();
        QCOMPARE(ConnectionLostCount(), 0);
        db->kill(c->threadId());
        ds.close();
        ds.open();
        QCOMPARE(ConnectionLostCount(), 1);
        Dataset mode(c.get());
        mode.setSql("SELECT @@SESSION.sql_mode AS m");
        mode.open();
        QVERIFY(mode.field("m").asString().contains("NO_BACKSLASH_ESCAPES"));
        // Writes are run again too.
        db->kill(c->threadId());
        c->execute("UPDATE receber SET Valor = 7 WHERE Controle = 5");
        QCOMPARE(db->scalar("SELECT Valor FROM receber WHERE Controle=5").toDouble(), 7.0);
        QCOMPARE(ConnectionLostCount(), 2);
    }
};

QTEST_MAIN(TstDataset)
#include "tst_dataset.moc"
