#include "app/settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <cmath>
#include <optional>

namespace cr {

namespace {

// Shops edit Admin.ini with Notepad: either UTF-8 or Windows-1252.
QString decodeIni(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;

    // Windows-1252 is Latin-1 except for these code points in 0x80..0x9F.
    static const char16_t k1252[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? k1252[b - 0x80] : char16_t(b));
    }
    return text;
}

// Sections and keys in file order; names compare case-insensitively and the
// first occurrence wins, as with the Windows profile API.
class IniFile {
public:
    explicit IniFile(const QString &path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return;
        QString text = decodeIni(f.readAll());
        text.replace(u'\r', u'\n');  // CRLF, LF or a lone CR all end a line
        qsizetype current = -1;
        for (QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
            if (line.startsWith(u'[')) {
                const qsizetype close = line.indexOf(u']');
                const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed().toString();
                current = find(name);
                if (current < 0) {
                    current = sections_.size();
                    sections_.append({name, {}});
                }
                continue;
            }
            const qsizetype eq = line.indexOf(u'=');
            if (current < 0 || eq <= 0) continue;
            sections_[current].entries.append(
                {line.left(eq).trimmed().toString(), line.mid(eq + 1).trimmed().toString()});
        }
    }

    std::optional<QString> value(const QString &section, const QString &key) const {
        const qsizetype s = find(section);
        if (s < 0) return std::nullopt;
        for (const auto &[k, v] : sections_[s].entries)
            if (k.compare(key, Qt::CaseInsensitive) == 0) return v;
        return std::nullopt;
    }

    QString text(const QString &section, const QString &key, const QString &def) const {
        return value(section, key).value_or(def);
    }

    int integer(const QString &section, const QString &key, int def) const {
        const auto v = value(section, key);
        if (!v) return def;
        bool ok = false;
        const int n = v->toInt(&ok, 10);
        return ok ? n : def;
    }

    // Decimal comma, no thousands separators, optional exponent: "0,33",
    // "-1,5E2". "0.33" is not a number here and gives the default.
    double real(const QString &section, const QString &key, double def) const {
        const auto v = value(section, key);
        if (!v || v->contains(u'.')) return def;
        QString t = *v;
        t.replace(u',', u'.');
        bool ok = false;
        const double d = t.toDouble(&ok);
        return ok && std::isfinite(d) ? d : def;
    }

private:
    struct Section {
        QString name;
        QList<std::pair<QString, QString>> entries;
    };

    qsizetype find(const QString &name) const {
        for (qsizetype i = 0; i < sections_.size(); ++i)
            if (sections_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }

    QList<Section> sections_;
};

}  // namespace

Settings Settings::load(const QString &iniPath) {
    const IniFile ini(iniPath);
    Settings s;
    const QString local = QStringLiteral("LOCAL");
    s.porta = ini.integer(local, QStringLiteral("PORTA"), s.porta);
    s.servidor = ini.text(local, QStringLiteral("SERVIDOR"), s.servidor);
    s.banco = ini.text(local, QStringLiteral("BANCO"), s.banco);
    s.jurosDia = ini.real(local, QStringLiteral("JUROSDIA"), s.jurosDia);
    s.senhaReceber = ini.text(local, QStringLiteral("SENHARECEBER"), s.senhaReceber);
    s.filtroRelatorioFiscal =
        ini.text(local, QStringLiteral("FILTRORELATORIOFISCAL"), s.filtroRelatorioFiscal);
    s.troco = ini.real(local, QStringLiteral("TROCO"), s.troco);
    s.senhaCaixa = ini.text(local, QStringLiteral("SENHACAIXA"), s.senhaCaixa);

    const QString loja = QStringLiteral("LOJA");
    s.lojaPorta = ini.integer(loja, QStringLiteral("PORTA"), s.lojaPorta);
    s.lojaServidor = ini.text(loja, QStringLiteral("SERVIDOR"), s.lojaServidor);
    s.lojaBanco = ini.text(loja, QStringLiteral("BANCO"), s.lojaBanco);

    s.naoHabilitado01 =
        ini.text(QStringLiteral("GERAL"), QStringLiteral("NAOHABILITADO01"), s.naoHabilitado01);
    return s;
}

QString Settings::defaultIniPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Admin.ini");
}

Settings &settings() {
    static Settings s;
    return s;
}

QString &currentUserName() {
    static QString name;
    return name;
}

}  // namespace cr
