#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

#include "app/brformat.h"
#include "app/routines.h"
#include "app/settings.h"

namespace {

QVariant settingsField(const cr::Settings &s, const QString &name) {
    if (name == u"porta") return s.porta;
    if (name == u"servidor") return s.servidor;
    if (name == u"banco") return s.banco;
    if (name == u"jurosDia") return s.jurosDia;
    if (name == u"senhaReceber") return s.senhaReceber;
    if (name == u"filtroRelatorioFiscal") return s.filtroRelatorioFiscal;
    if (name == u"troco") return s.troco;
    if (name == u"lojaPorta") return s.lojaPorta;
    if (name == u"lojaBanco") return s.lojaBanco;
    if (name == u"naoHabilitado01") return s.naoHabilitado01;
    qFatal("unknown settings field %s", qPrintable(name));
}

}  // namespace

class TstRoutines : public QObject {
    Q_OBJECT

private slots:
    void roundDecimals_data();
    void roundDecimals();
    void roundDecimalsKeepsNonFinite();
    void settingsLoad_data();
    void settingsLoad();
    void settingsMissingFileGivesDefaults();
    void formatFloat_data();
    void formatFloat();
    void parseDouble_data();
    void parseDouble();
    void parseDate_data();
    void parseDate();
    void currentTimeText();
};

void TstRoutines::roundDecimals_data() {
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("exact half rounds up") << 2 << 0.125 << 0.13;
    QTest::newRow("negative half rounds away from zero") << 2 << -0.125 << -0.13;
    QTest::newRow("2.675 is stored just below the half") << 2 << 2.675 << 2.67;
    QTest::newRow("1.005 is stored just below the half") << 2 << 1.005 << 1.0;
    QTest::newRow("wider than the minimum width") << 2 << 1234567.891 << 1234567.89;
    // 1000.005 is stored as 1000.00499999999999545..., which is 1000.005 at
    // 18 significant digits.
    QTest::newRow("eighteen digits reach the half") << 2 << 1000.005 << 1000.01;
    QTest::newRow("carry through nines") << 2 << 99.995 << 100.0;
    QTest::newRow("zero") << 2 << 0.0 << 0.0;
    QTest::newRow("tiny negative becomes zero") << 2 << -0.001 << 0.0;
    QTest::newRow("large value") << 2 << 1e15 << 1e15;
    QTest::newRow("large value with cents") << 2 << 123456789012.345 << 123456789012.35;
    QTest::newRow("no decimals half up") << 0 << 2.5 << 3.0;
    QTest::newRow("no decimals negative half") << 0 << -2.5 << -3.0;
    QTest::newRow("no decimals below half") << 0 << 0.49 << 0.0;
}

void TstRoutines::roundDecimals() {
    QFETCH(int, digits);
    QFETCH(double, value);
    QFETCH(double, expected);
    const double got = RoundDecimals(digits, value);
    QCOMPARE(got, expected);
    QVERIFY2(got != 0 || !std::signbit(got), "zero must not carry a minus sign");
}

void TstRoutines::roundDecimalsKeepsNonFinite() {
    const double inf = std::numeric_limits<double>::infinity();
    QCOMPARE(RoundDecimals(2, inf), inf);
    QCOMPARE(RoundDecimals(2, -inf), -inf);
    QVERIFY(std::isnan(RoundDecimals(2, std::nan(""))));
}

void TstRoutines::settingsLoad_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const QByteArray local = "[LOCAL]\n";
    QTest::newRow("port") << local + "PORTA=3307\n"
                          << "porta" << QVariant(3307);
    QTest::newRow("port not a number") << local + "PORTA=abc\n"
                                       << "porta" << QVariant(0);
    QTest::newRow("interest with decimal comma") << local + "JUROSDIA=0,33\n"
                                                 << "jurosDia" << QVariant(0.33);
    QTest::newRow("interest with decimal point does not parse") << local + "JUROSDIA=0.33\n"
                                                                << "jurosDia" << QVariant(0.0);
    QTest::newRow("change with blanks around the value") << local + "TROCO =  50,5  \n"
                                                         << "troco" << QVariant(50.5);
    QTest::newRow("missing key keeps password default")
        << local + "SERVIDOR=loja\n"
        << "senhaReceber" << QVariant(QStringLiteral("KLUMP"));
    QTest::newRow("fiscal filter kept in lower case")
        << local + "FILTRORELATORIOFISCAL=f\n"
        << "filtroRelatorioFiscal" << QVariant(QStringLiteral("f"));
    QTest::newRow("missing section")
        << QByteArray("[GERAL]\nNAOHABILITADO01=caixa\n") << "servidor" << QVariant(QString());
    QTest::newRow("names are case-insensitive")
        << QByteArray("[local]\nServidor=192.168.0.10\n") << "servidor"
        << QVariant(QStringLiteral("192.168.0.10"));
    QTest::newRow("CRLF line ends") << QByteArray("[LOCAL]\r\nBANCO=telvo\r\nPORTA=3306\r\n")
                                    << "banco" << QVariant(QStringLiteral("telvo"));
    QTest::newRow("value holding an equals sign")
        << local + "SENHARECEBER=a=b\n"
        << "senhaReceber" << QVariant(QStringLiteral("a=b"));
    QTest::newRow("commented key is ignored") << local + ";BANCO=velho\n#BANCO=outro\nBANCO=novo\n"
                                              << "banco" << QVariant(QStringLiteral("novo"));
    QTest::newRow("same key in another section")
        << QByteArray("[LOCAL]\nPORTA=3306\n[LOJA]\nPORTA=3310\n") << "lojaPorta" << QVariant(3310);
    QTest::newRow("Windows-1252 text")
        << QByteArray("[GERAL]\nNAOHABILITADO01=Jo\xE3o \x80\n") << "naoHabilitado01"
        << QVariant(QString::fromUtf8("João €"));
    QTest::newRow("UTF-8 text with BOM")
        << QByteArray("\xEF\xBB\xBF[GERAL]\nNAOHABILITADO01=Jo\xC3\xA3o\n") << "naoHabilitado01"
        << QVariant(QString::fromUtf8("João"));
}

void TstRoutines::settingsLoad() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Admin.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();

    QCOMPARE(settingsField(cr::Settings::load(path), field), expected);
}

void TstRoutines::settingsMissingFileGivesDefaults() {
    QTemporaryDir dir;
    const cr::Settings s = cr::Settings::load(dir.filePath(QStringLiteral("Admin.ini")));
    QCOMPARE(s.porta, 0);
    QCOMPARE(s.servidor, QString());
    QCOMPARE(s.banco, QString());
    QCOMPARE(s.jurosDia, 0.0);
    QCOMPARE(s.senhaReceber, QStringLiteral("KLUMP"));
    QCOMPARE(s.filtroRelatorioFiscal, QStringLiteral("N"));
    QCOMPARE(s.naoHabilitado01, QString());
}

void TstRoutines::formatFloat_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("money with thousands") << "#,##0.00" << 1234.5 << "1.234,50";
    QTest::newRow("negative money rounds away from zero") << "#,##0.00" << -1234.567 << "-1.234,57";
    QTest::newRow("money zero") << "#,##0.00" << 0.0 << "0,00";
    QTest::newRow("money millions") << "#,##0.00" << 1234567.891 << "1.234.567,89";
    QTest::newRow("tiny negative shows no sign") << "#,##0.00" << -0.001 << "0,00";
    QTest::newRow("wider mask same output") << "###,##0.00" << 1234.5 << "1.234,50";
    QTest::newRow("widest mask same output") << "####,##0.00" << -1234.567 << "-1.234,57";
    QTest::newRow("optional digits hide zero") << "#####" << 0.0 << "";
    QTest::newRow("optional digits round") << "#####" << 123.6 << "124";
    QTest::newRow("no thousands flag") << "0.00" << 1234.5 << "1234,50";
    QTest::newRow("whole value gets decimals") << "0.00" << 3.0 << "3,00";
    QTest::newRow("half rounds up") << "0.00" << 0.125 << "0,13";
    QTest::newRow("2.675 stays below the half") << "0.00" << 2.675 << "2,67";
    QTest::newRow("carry adds a thousands group") << "#,##0.00" << 999.995 << "1.000,00";
    QTest::newRow("optional decimals trimmed") << "0.##" << 2.5 << "2,5";
    QTest::newRow("empty mask") << "" << 0.1 << "0,1";
}

void TstRoutines::formatFloat() {
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(br::formatFloat(mask, value), expected);
}

void TstRoutines::parseDouble_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");

    QTest::newRow("decimal comma") << "0,33" << true << 0.33;
    QTest::newRow("thousands and comma") << "1.234,56" << true << 1234.56;
    QTest::newRow("several groups, negative") << "-1.234.567,5" << true << -1234567.5;
    QTest::newRow("blanks around") << "  42  " << true << 42.0;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("misplaced group") << "1.23,4" << false << 0.0;
    QTest::newRow("decimal point") << "0.33" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
}

void TstRoutines::parseDouble() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    double got = 0;
    QCOMPARE(br::parseDouble(text, &got), ok);
    if (ok) QCOMPARE(got, expected);

    // Whole numbers follow the same rules.
    int whole = 0;
    const bool integral = ok && expected == std::trunc(expected) && !text.contains(u',');
    QCOMPARE(br::parseInt(text, &whole), integral);
    if (integral) QCOMPARE(whole, int(expected));
}

void TstRoutines::parseDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("full date") << "04/02/2025" << QDate(2025, 2, 4);
    QTest::newRow("single-digit day and month") << "4/2/2025" << QDate(2025, 2, 4);
    QTest::newRow("two-digit year up to 50") << "31/12/50" << QDate(2050, 12, 31);
    QTest::newRow("two-digit year after 50") << "01/01/51" << QDate(1951, 1, 1);
    QTest::newRow("no such day") << "30/02/2024" << QDate();
    QTest::newRow("month 13") << "01/13/2024" << QDate();
    QTest::newRow("ISO text") << "2024-01-01" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TstRoutines::parseDate() {
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const QDate got = br::parseDate(text);
    QCOMPARE(got, expected);
    if (got.isValid()) QCOMPARE(br::parseDate(br::formatDate(got)), got);
}

void TstRoutines::currentTimeText() {
    const QString text = CurrentTimeText();
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$"))
                 .match(text)
                 .hasMatch(),
             qPrintable(text));
    QVERIFY(QTime::fromString(text, QStringLiteral("HH:mm:ss")).isValid());
}

QTEST_GUILESS_MAIN(TstRoutines)
#include "tst_routines.moc"
