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

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Plain {
    MYSQL *h = mysql_init(nullptr);
    Plain(int port, const QByteArray &db) {
        if (!mysql_real_connect(h, "127.0.0.1", "root", "kqv7315", db.constData(), port, nullptr,
                                0)) {
            std::fprintf(stderr, "plain connect: %s\n", mysql_error(h));
            std::exit(2);
        }
        mysql_set_character_set(h, "utf8mb4");
    }
    ~Plain() { mysql_close(h); }
    // The ordinary way: store the result, walk every row and its lengths.
    qint64 fetch() {
        mysql_real_query(h, kSql, qstrlen(kSql));
        MYSQL_RES *res = mysql_store_result(h);
        const unsigned nf = mysql_num_fields(res);
        qint64 rows = 0, bytes = 0;
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const unsigned long *len = mysql_fetch_lengths(res);
            for (unsigned i = 0; i < nf; ++i)
                if (row[i]) bytes += len[i];
            ++rows;
        }
        mysql_free_result(res);
        return rows + (bytes & 0);
    }
};

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
    Plain plain(port, db.toUtf8());

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
        t.restart();
        plain.fetch();
        tPlain << t.nsecsElapsed() / 1e6;
        t.restart();
        b.ds.refresh();
        QCoreApplication::processEvents();
        tRefresh << t.nsecsElapsed() / 1e6;
    }
    const double p = median(tPlain), r = median(tRefresh);
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
