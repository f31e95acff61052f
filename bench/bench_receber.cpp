// Figures for the main window: a 10,000-row search result refreshed once
// on the window's thread against the plain client fetch of the same query,
// and painting one screen of rows at the end of a 100,000-row result
// against one at the start.
//   bench_receber PORT DB100K
#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>

#include "app/settings.h"
#include "bench/plainclient.h"
#include "data/dbgrid.h"
#include "data/tdm.h"
#include "receivables/tfrmreceber.h"

using namespace cr;

namespace {
double paintMs(DbGrid *g) {
    QList<double> t;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer c;
        c.start();
        g->viewport()->repaint();
        t << c.nsecsElapsed() / 1e6;
    }
    return bench::median(t);
}
}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_receber PORT DB100K\n");
        return 2;
    }
    settings().servidor = "127.0.0.1";
    settings().porta = atoi(argv[1]);
    settings().banco = QString::fromLatin1(argv[2]);
    settings().jurosDia = 0.33;
    TDM dm;
    setDM(&dm);
    dm.initialize();
    TfrmReceber w;
    w.initialize("BENCH");
    w.resize(1366, 768);
    w.show();
    Dataset *ds = w.data()->MyReceber;
    ds->setAutoRefresh(false);
    w.data()->MyAxVendas->setAutoRefresh(false);
    w.data()->MyCaixa->setAutoRefresh(false);

    // The issue-date search whose period holds the first 10,000 rows.
    const QString where = "(NfCancelada <>\"S\")  and ((Pago <> \"F\") or (Pago is null))";
    const ResultSet first = dm.MyConnection1->select(
        "SELECT MIN(DataEmissao), (SELECT DataEmissao FROM receber WHERE " + where +
        " ORDER BY DataEmissao LIMIT 1 OFFSET 9999), MAX(DataEmissao) FROM receber WHERE " + where);
    const QDate d0 = first.rows[0].value(0, first.columns[0]).toDate();
    const QDate d10k = first.rows[0].value(1, first.columns[1]).toDate();
    const QDate dEnd = first.rows[0].value(2, first.columns[2]).toDate();

    bench::PlainClient plain(atoi(argv[1]), argv[2]);

    w.DTI->setDate(d0);
    w.DTF->setDate(d10k);
    w.button("BtnPorEmissao")->click();
    QCoreApplication::processEvents();
    const QByteArray sql = dm.MyConnection1->expand(ds->sql(), ds->params()).toUtf8();
    QList<double> tPlain, tRefresh;
    for (int i = 0; i < 15; ++i) {
        tPlain << plain.fetchMs(sql);
        QElapsedTimer t;
        t.start();
        ds->refresh();
        QCoreApplication::processEvents();
        w.DBGrid1->viewport()->repaint();
        tRefresh << t.nsecsElapsed() / 1e6;
    }
    const double p = bench::median(tPlain), r = bench::median(tRefresh);
    std::printf(
        "main list   rows=%d  plain fetch=%.1f ms  window refresh to grid up to date=%.1f ms"
        "  ratio=%.2f  (median of 15)\n",
        ds->rowCount(), p, r, r / p);

    w.DTF->setDate(dEnd);
    w.button("BtnPorEmissao")->click();
    QCoreApplication::processEvents();
    QScrollBar *bar = w.DBGrid1->verticalScrollBar();
    bar->setValue(bar->minimum());
    QCoreApplication::processEvents();
    const double top = paintMs(w.DBGrid1);
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    const double bottom = paintMs(w.DBGrid1);
    std::printf(
        "main list   rows=%d  paint one screen at the start=%.2f ms  at the end=%.2f ms"
        "  ratio end/start=%.2f\n",
        ds->rowCount(), top, bottom, bottom / top);
    w.close();
    setDM(nullptr);
    return 0;
}
