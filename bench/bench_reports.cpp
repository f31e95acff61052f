// Figures for the report engine: the open-installments listing by issue
// date (the listing that selects the most generated rows) exported to PDF
// headless from two databases, each size in a child process of its own so
// that the peak resident memory (VmHWM) of one does not hide the other's.
//   bench_reports PORT DB10K DB100K
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "reports/frame.h"

namespace {

long peakKb() {
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Counts detail rows and pages on their way to the PDF writer.
class Counting : public rpt::PageSink {
public:
    explicit Counting(rpt::PageSink &next) : m_next(next) {}
    void begin(const rpt::Layout &l) override { m_next.begin(l); }
    void page(rpt::Page &&p) override {
        ++pages;
        for (const rpt::PrintedBand &b : p.bands) rows += b.kind == rpt::BandKind::Detail;
        m_next.page(std::move(p));
    }
    void end() override { m_next.end(); }
    long rows = 0, pages = 0;

private:
    rpt::PageSink &m_next;
};

struct Figures {
    long rows = 0, pages = 0, peakKb = 0, pdfKb = 0;
    double seconds = 0;
    char error[200] = {};
};

Figures runOne(int port, const char *db) {
    Figures fig;
    int argc = 1;
    char name[] = "bench_reports";
    char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("aberto.pdf");
    try {
        cr::Connection conn(QStringLiteral("bench"));
        conn.setHost(QStringLiteral("127.0.0.1"));
        conn.setPort(port);
        conn.setDatabase(QString::fromLatin1(db));
        conn.setUserName(QStringLiteral("root"));
        conn.setPassword(QStringLiteral("kqv7315"));
        conn.open();
        reports::ReportRequest req;
        req.name = QStringLiteral("TRptResumoRecberAbertoEmissao");
        req.dataI = QDate(2000, 1, 1);
        req.dataF = QDate(2099, 12, 31);
        req.fiscalSetting = QStringLiteral("A");
        QElapsedTimer t;
        t.start();
        reports::ReportForm form(conn, req);
        rpt::exportToFile(rpt::Format::Pdf, path, [&](rpt::PageSink &sink) {
            Counting counting(sink);
            form.stream(counting);
            fig.rows = counting.rows;
            fig.pages = counting.pages;
        });
        fig.seconds = t.nsecsElapsed() / 1e9;
        fig.pdfKb = QFile(path).size() / 1024;
    } catch (const std::exception &e) {
        std::snprintf(fig.error, sizeof fig.error, "%s", e.what());
    }
    fig.peakKb = peakKb();
    return fig;
}

Figures inChild(int port, const char *db) {
    int fd[2];
    if (pipe(fd) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        const Figures f = runOne(port, db);
        (void)!write(fd[1], &f, sizeof f);
        _exit(0);
    }
    close(fd[1]);
    Figures f;
    if (read(fd[0], &f, sizeof f) != ssize_t(sizeof f))
        std::snprintf(f.error, sizeof f.error, "child failed");
    close(fd[0]);
    waitpid(pid, nullptr, 0);
    return f;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_reports PORT DB10K DB100K\n");
        return 1;
    }
    const int port = std::atoi(argv[1]);
    const Figures small = inChild(port, argv[2]);
    const Figures large = inChild(port, argv[3]);
    std::printf("TRptResumoRecberAbertoEmissao to PDF, headless (streamed select, page by page)\n");
    std::printf("%-12s %8s %7s %9s %10s %10s\n", "database", "rows", "pages", "seconds", "peak MB",
                "PDF MB");
    for (const auto &[db, f] : {std::pair{argv[2], small}, std::pair{argv[3], large}}) {
        if (f.error[0]) {
            std::printf("%-12s error: %s\n", db, f.error);
            return 1;
        }
        std::printf("%-12s %8ld %7ld %9.2f %10.1f %10.1f\n", db, f.rows, f.pages, f.seconds,
                    f.peakKb / 1024.0, f.pdfKb / 1024.0);
    }
    const double timeRatio = small.seconds > 0 ? large.seconds / small.seconds : 0;
    const double rowRatio = small.rows > 0 ? double(large.rows) / small.rows : 0;
    const double memRatio = small.peakKb > 0 ? double(large.peakKb) / small.peakKb : 0;
    std::printf(
        "rows ratio %.2fx; time ratio %.2fx (goal <= 11x); peak memory ratio %.2fx (goal <= 2x)\n",
        rowRatio, timeRatio, memRatio);
    return 0;
}
