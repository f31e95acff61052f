// Figures for the dataset layer: open and refresh of SELECT * FROM receber
// through a dataset bound to a grid, against the plain client library
// fetching the same query, and resident memory across many refreshes.
//   bench_dataset PORT DB10K DB100K [REFRESHES]
#include <mysql.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <algorithm>
#include <cstdio>

#include "bench/plainclient.h"
#include "data/dataset.h"
#include "data/datasetmodel.h"

using namespace cr;

namespace {
const char *kSql = "SELECT * FROM receber";

long residentKb() {
    QFile f("/proc/self/statm");
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Bound {
    Dataset ds;
    DatasetModel model;
    QTableView view;
    explicit Bound(Connection *c) : ds(c), model(&ds) {
        ds.setSql(QString::fromLatin1(kSql));
        model.setColumns({{"Condição", "Condicao", ""},
                          {"Nº. Controles", "Controles", ""},
                          {"Nº Nota", "CodigoNota", ""},
                          {"Dt.Vencimento", "DataVenc", ""},
                          {"Nome do Cliente", "Nome", ""},
                          {"Parcela R$", "Valor", "#,##0.00"},
                          {"Total R$", "Total", "#,##0.00"}});
        view.setModel(&model);
        view.resize(1200, 700);
        view.show();
    }
};

void run(int port, const QString &db, int reps, int refreshes, bool memory) {
    Connection conn(QStringLiteral("bench_") + db);
    conn.setHost("127.0.0.1");
    conn.setPort(port);
    conn.setDatabase(db);
    conn.setUserName("root");
    conn.setPassword("kqv7315");
    conn.open();
    const QByteArray dbName = db.toUtf8();
    bench::PlainClient plain(port, dbName.constData());

    const long rssBefore = residentKb();
    Bound b(&conn);
    QElapsedTimer t;
    t.start();
    b.ds.open();
    QCoreApplication::processEvents();
    const double openMs = t.nsecsElapsed() / 1e6;
    const long rssOpen = residentKb();
    const int rows = b.ds.rowCount();

    QList<double> tPlain, tRefresh;
    for (int i = 0; i < reps; ++i) {
        tPlain << plain.fetchMs(kSql);
        t.restart();
        b.ds.refresh();
        QCoreApplication::processEvents();
        tRefresh << t.nsecsElapsed() / 1e6;
    }
    const double p = bench::median(tPlain), r = bench::median(tRefresh);
    std::printf(
        "%-8s rows=%d  open=%.1f ms  plain fetch=%.1f ms  dataset refresh=%.1f ms  "
        "ratio refresh/plain=%.2f  (median of %d)\n",
        qPrintable(db), rows, openMs, p, r, r / p, reps);

    if (memory) {
        for (int i = 0; i < refreshes; ++i) {
            b.ds.refresh();
            QCoreApplication::processEvents();
        }
        const long rssAfter = residentKb();
        std::printf(
            "%-8s resident memory: before=%ld KiB  after open=%ld KiB  after %d refreshes=%ld KiB"
            "  growth since open=%.2f %%\n",
            qPrintable(db), rssBefore, rssOpen, refreshes + reps, rssAfter,
            100.0 * (rssAfter - rssOpen) / rssOpen);
    }
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_dataset PORT DB10K DB100K [REFRESHES]\n");
        return 2;
    }
    const int port = atoi(argv[1]);
    const int refreshes = argc > 4 ? atoi(argv[4]) : 1000;
    run(port, QString::fromLatin1(argv[2]), 21, refreshes - 21, true);
    run(port, QString::fromLatin1(argv[3]), 7, 0, false);
    return 0;
}
