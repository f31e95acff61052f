// The banded engine on its own: group breaks, sums, counts, pages and the
// row exports, over records made in memory.
#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/engine/engine.h"
#include "reports/engine/render.h"

using namespace rpt;

namespace {

class MapRecord : public Record {
public:
    explicit MapRecord(QVariantHash v) : m_v(std::move(v)) {}
    QVariant value(const QString &f) const override { return m_v.value(f.toLower()); }
    std::unique_ptr<Record> clone() const override { return std::make_unique<MapRecord>(m_v); }

private:
    QVariantHash m_v;
};

// A listing with a page header, a group on "k", detail, group sums, summary
// and a page footer with the running count.
Layout listing(bool newPagePerGroup = false) {
    Layout l;
    l.name = QStringLiteral("teste");
    l.paper = Paper::A4Portrait;
    l.texts[QStringLiteral("Titulo")] = QStringLiteral("Lista");
    l.pageHeader.push_back(
        band(BandKind::PageHeader, 10,
             {text(0, 0, 80, QStringLiteral("Titulo")),
              sys(ItemKind::PageNumber, 150, 0, 40, QStringLiteral("Página : "))}));
    Group g;
    g.field = QStringLiteral("k");
    g.newPage = newPagePerGroup;
    g.headers.push_back(
        band(BandKind::GroupHeader, 6, {field(0, 0, 40, QStringLiteral("k"), {}, Align::Left)}));
    g.headers.back().items.front().text = QStringLiteral("Grupo => ");
    g.footers.push_back(band(BandKind::GroupFooter, 6,
                             {sum(100, 0, 50, QStringLiteral("v"), QStringLiteral("#,##0.00"),
                                  QStringLiteral("Sub-Total => "))}));
    l.groups.push_back(g);
    l.detail.push_back(
        band(BandKind::Detail, 5,
             {field(0, 0, 40, QStringLiteral("n")),
              field(100, 0, 50, QStringLiteral("v"), QStringLiteral("#,##0.00"), Align::Right)}));
    l.summary.push_back(band(BandKind::Summary, 6,
                             {sum(100, 0, 50, QStringLiteral("v"), QStringLiteral("#,##0.00"),
                                  QStringLiteral("Total => "))}));
    l.pageFooter.push_back(band(BandKind::PageFooter, 6,
                                {sys(ItemKind::RowCount, 0, 0, 60, QStringLiteral("Itens => "))}));
    return l;
}

std::vector<Page> run(const Layout &l, const QList<QVariantHash> &rows) {
    PageCollector pages;
    Engine e(l, pages, QDateTime(QDate(2026, 6, 30), QTime(10, 0)));
    for (const QVariantHash &r : rows) e.add(MapRecord(r));
    e.finish();
    return pages.pages;
}

QVariantHash row(const QString &k, const QString &n, double v) {
    return {{"k", k}, {"n", n}, {"v", v}};
}

// Every text line of every page, as the text export writes it, trimmed.
QStringList lines(const std::vector<Page> &pages) {
    QStringList out;
    for (const Page &p : pages)
        for (const TextLine &l : textLines(p)) out << lineText(l).simplified();
    return out;
}

QStringList bandTexts(const std::vector<Page> &pages, BandKind kind) {
    QStringList out;
    for (const Page &p : pages)
        for (const PrintedBand &b : p.bands)
            if (b.kind == kind) {
                QStringList t;
                for (const PrintedItem &it : b.items)
                    if (it.kind == PrintedItem::Text) t << it.text;
                out << t.join(u'|');
            }
    return out;
}

}  // namespace

class TstReportEngine : public QObject {
    Q_OBJECT

private slots:
    void groups_data() {
        QTest::addColumn<QList<QVariantHash>>("rows");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("footers");
        QTest::addColumn<QString>("total");

        QTest::newRow("two runs, sums reset after each footer")
            << QList<QVariantHash>{row("A", "a1", 1), row("A", "a2", 2), row("B", "b1", 10)}
            << QStringList{"Grupo => A", "Grupo => B"}
            << QStringList{"Sub-Total => 3,00", "Sub-Total => 10,00"} << "Total => 13,00";
        QTest::newRow("unsorted keys give one group per run")
            << QList<QVariantHash>{row("A", "a1", 1), row("B", "b1", 2), row("A", "a2", 4)}
            << QStringList{"Grupo => A", "Grupo => B", "Grupo => A"}
            << QStringList{"Sub-Total => 1,00", "Sub-Total => 2,00", "Sub-Total => 4,00"}
            << "Total => 7,00";
        QTest::newRow("null key is a value of its own")
            << QList<QVariantHash>{{{"n", "x"}, {"v", 5.5}},
                                   {{"n", "y"}, {"v", 1.0}},
                                   row("A", "a", 1000)}
            << QStringList{"Grupo => ", "Grupo => A"}
            << QStringList{"Sub-Total => 6,50", "Sub-Total => 1.000,00"} << "Total => 1.006,50";
        QTest::newRow("no rows: no groups, zero total")
            << QList<QVariantHash>{} << QStringList{} << QStringList{} << "Total => 0,00";
    }
    void groups() {
        QFETCH(QList<QVariantHash>, rows);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, footers);
        QFETCH(QString, total);
        const auto pages = run(listing(), rows);
        QCOMPARE(bandTexts(pages, BandKind::GroupHeader), headers);
        QCOMPARE(bandTexts(pages, BandKind::GroupFooter), footers);
        QCOMPARE(bandTexts(pages, BandKind::Summary), QStringList{total});
        QCOMPARE(bandTexts(pages, BandKind::PageFooter).last(),
                 QStringLiteral("Itens => %1").arg(rows.size()));
    }

    void emptyReportIsOnePageWithHeaders() {
        const auto pages = run(listing(), {});
        QCOMPARE(pages.size(), size_t(1));
        QCOMPARE(lines(pages), (QStringList{"Lista Página : 1", "Total => 0,00", "Itens => 0"}));
    }

    void pagesRepeatHeaderAndCountRunningRows() {
        QList<QVariantHash> rows;
        for (int i = 0; i < 120; ++i) rows << row("A", QStringLiteral("n%1").arg(i), 1);
        const auto pages = run(listing(), rows);
        QVERIFY(pages.size() >= 3);
        int printed = 0;
        for (size_t i = 0; i < pages.size(); ++i) {
            const Page &p = pages[i];
            QCOMPARE(p.number, int(i + 1));
            QCOMPARE(p.bands.front().kind, BandKind::PageHeader);
            QCOMPARE(p.bands.front().items[1].text, QStringLiteral("Página : %1").arg(i + 1));
            for (const PrintedBand &b : p.bands) {
                if (b.kind == BandKind::Detail) ++printed;
                QVERIFY(b.mm.bottom() <= p.sizeMm.height() - 10 + 1e-6);
            }
            QCOMPARE(p.bands.back().kind, BandKind::PageFooter);
            QCOMPARE(p.bands.back().items[0].text, QStringLiteral("Itens => %1").arg(printed));
        }
        QCOMPARE(printed, 120);
    }

    void newPagePerGroup() {
        const auto pages = run(listing(true), {row("A", "a1", 1), row("A", "a2", 1),
                                               row("B", "b1", 1), row("C", "c", 1)});
        QCOMPARE(pages.size(), size_t(3));
        for (const Page &p : pages) {
            QCOMPARE(p.bands[0].kind, BandKind::PageHeader);
            QCOMPARE(p.bands[1].kind, BandKind::GroupHeader);
        }
        // The summary follows the last group on its page.
        QCOMPARE(bandTexts({pages[2]}, BandKind::Summary), QStringList{"Total => 4,00"});
    }

    void detailAsTallAsThePage() {
        Layout l = listing();
        l.groups.clear();
        l.summary.clear();
        l.detail.front().fillPage = true;
        const auto pages = run(l, {row("A", "1", 1), row("A", "2", 1), row("B", "3", 1)});
        QCOMPARE(pages.size(), size_t(3));
        for (const Page &p : pages) QCOMPARE(bandTexts({p}, BandKind::Detail).size(), 1);
        QCOMPARE(bandTexts({pages[2]}, BandKind::Detail), QStringList{"3|1,00"});
    }

    void formOfOneRowTakesTheFirst() {
        Layout l = listing();
        l.groups.clear();
        l.maxRows = 1;
        const auto pages = run(l, {row("A", "primeiro", 7), row("A", "segundo", 9)});
        QCOMPARE(bandTexts(pages, BandKind::Detail), QStringList{"primeiro|7,00"});
        QCOMPARE(bandTexts(pages, BandKind::Summary), QStringList{"Total => 7,00"});
    }

    void valueFormats_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::newRow("money with thousands") << QVariant(1234.5) << "#,##0.00"
                                              << "1.234,50";
        QTest::newRow("money mask with more hashes") << QVariant(-12.345) << "####,##0.00"
                                                     << "-12,35";
        QTest::newRow("date") << QVariant(QDate(2025, 3, 1)) << ""
                              << "01/03/2025";
        QTest::newRow("code stored as double") << QVariant(6048.0) << ""
                                               << "6048";
        QTest::newRow("null prints nothing") << QVariant() << "#,##0.00"
                                             << "";
        QTest::newRow("whole number mask") << QVariant(12.0) << "#####"
                                           << "12";
    }
    void valueFormats() {
        QFETCH(QVariant, value);
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QCOMPARE(formatValue(value, mask), text);
    }

    void exportsCarryEveryItemInBandOrder_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("csv quotes Brazilian decimals")
            << "csv"
            << "Lista,Página : 1\r\nGrupo => A\r\na1,\"1,50\"\r\n\"Sub-Total => 1,50\"\r\n";
        QTest::newRow("plain text keeps columns") << "txt"
                                                  << "Lista";
    }
    void exportsCarryEveryItemInBandOrder() {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("r." + format);
        const Layout l = listing();
        exportToFile(*formatFromName(format), path, [&](PageSink &sink) {
            Engine e(l, sink);
            e.add(MapRecord(row("A", "a1", 1.5)));
            e.finish();
        });
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString all = QString::fromUtf8(f.readAll());
        QVERIFY2(all.startsWith(expected), qPrintable(all));
        if (format == "txt") {
            const QStringList ls = all.split('\n');
            // The amount is right-aligned under its column, the footer last.
            QVERIFY(ls[2].startsWith("a1") && ls[2].endsWith("1,50"));
            QCOMPARE(ls[2].size(), ls[3].size());
            QCOMPARE(ls[5].trimmed(), QStringLiteral("Itens => 1"));
        }
    }

    void failedExportLeavesNothingBehind_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << "pdf";
        QTest::newRow("xlsx") << "xlsx";
        QTest::newRow("csv") << "csv";
    }
    void failedExportLeavesNothingBehind() {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString path = dir.filePath("r." + format);
        const Layout l = listing();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 exportToFile(*formatFromName(format), path, [&](PageSink &sink) {
                                     Engine e(l, sink);
                                     for (int i = 0; i < 200; ++i)
                                         e.add(MapRecord(row("A", "x", 1)));
                                     throw std::runtime_error("lost connection");
                                 }));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void unwritablePathIsAClearError() {
        const Layout l = listing();
        try {
            exportToFile(Format::Pdf, "/nonexistent-folder/r.pdf", [&](PageSink &sink) {
                Engine e(l, sink);
                e.finish();
            });
            QFAIL("no error");
        } catch (const ExportError &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains("/nonexistent-folder/r.pdf"));
        }
    }

    void allFormatsWrite() {
        QTemporaryDir dir;
        const Layout l = listing();
        for (Format f : {Format::Pdf, Format::Xlsx, Format::Rtf, Format::XmlSheet, Format::Text,
                         Format::Csv, Format::Svg}) {
            const QString path = dir.filePath("r." + formatSuffix(f));
            exportToFile(f, path, [&](PageSink &sink) {
                Engine e(l, sink);
                e.add(MapRecord(row("A", "ação", 2)));
                e.finish();
            });
            QVERIFY2(QFileInfo(path).size() > 40, qPrintable(path));
        }
        QFile x(dir.filePath("r.xml"));
        QVERIFY(x.open(QIODevice::ReadOnly));
        QVERIFY(x.readAll().contains("<Data ss:Type=\"Number\">2.00</Data>"));
    }
};

QTEST_MAIN(TstReportEngine)
#include "tst_report_engine.moc"
