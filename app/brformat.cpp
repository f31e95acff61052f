#include "app/brformat.h"

#include <QRegularExpression>
#include <cmath>

#include "app/routines.h"

namespace br {

const QLocale &locale() {
    static const QLocale pt(QLocale::Portuguese, QLocale::Brazil);
    return pt;
}

namespace {

struct Mask {
    int minInteger = 0;   // '0' placeholders from the first '0' to the point
    int minDecimals = 0;  // up to the last '0' after the point
    int maxDecimals = 0;  // all placeholders after the point
    bool thousands = false;
};

Mask parseMask(QStringView mask) {
    Mask m;
    const qsizetype section = mask.indexOf(u';');
    if (section >= 0) mask = mask.left(section);
    const qsizetype point = mask.indexOf(u'.');
    const QStringView integral = point >= 0 ? mask.left(point) : mask;
    bool mandatory = false;
    for (QChar c : integral) {
        if (c == u'0') mandatory = true;
        if (c == u'0' || c == u'#') m.minInteger += mandatory ? 1 : 0;
        if (c == u',') m.thousands = true;
    }
    if (point >= 0) {
        int placeholders = 0;
        for (QChar c : mask.mid(point + 1)) {
            if (c == u'0' || c == u'#') ++placeholders;
            if (c == u'0') m.minDecimals = placeholders;
        }
        m.maxDecimals = placeholders;
    }
    return m;
}

QString groupThousands(const QString &digits) {
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += u'.';
        out += digits[i];
    }
    return out;
}

bool allAsciiDigits(QStringView s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// Digits with optional well-formed '.' groups ("1.234.567"); false otherwise.
bool takeGroupedDigits(QStringView s, QString *digits) {
    const QList<QStringView> groups = s.split(u'.');
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView g = groups[i];
        const bool sizeOk =
            i == 0 ? !g.isEmpty() && (groups.size() == 1 || g.size() <= 3) : g.size() == 3;
        if (!sizeOk || !allAsciiDigits(g)) return false;
        *digits += g;
    }
    return true;
}

}  // namespace

QString formatFloat(const QString &mask, double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const Mask m = mask.isEmpty() ? parseMask(u"0.##############") : parseMask(mask);
    QString text = FixedDecimalText(m.maxDecimals, value);
    const bool negative = text.startsWith(u'-');
    if (negative) text.remove(0, 1);

    const qsizetype point = text.indexOf(u'.');
    QString integral = point >= 0 ? text.left(point) : text;
    QString decimals = point >= 0 ? text.mid(point + 1) : QString();
    while (decimals.size() > m.minDecimals && decimals.endsWith(u'0')) decimals.chop(1);

    // Optional integer digits vanish: "#####" shows nothing for zero.
    while (integral.startsWith(u'0') && integral.size() > m.minInteger) integral.remove(0, 1);
    if (integral.size() < m.minInteger)
        integral.prepend(QString(m.minInteger - integral.size(), u'0'));
    if (m.thousands) integral = groupThousands(integral);

    QString out = integral;
    if (!decimals.isEmpty()) out += u',' + decimals;
    if (negative && !out.isEmpty()) out.prepend(u'-');
    return out;
}

QString formatDate(const QDate &d) {
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString formatDateTime(const QDateTime &dt) {
    return dt.isValid() ? dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString();
}

QString formatTime(const QTime &t) {
    return t.isValid() ? t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

bool parseDouble(const QString &text, double *out) {
    QStringView s = QStringView(text).trimmed();
    QString number;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        if (s[0] == u'-') number += u'-';
        s = s.mid(1);
    }
    const qsizetype comma = s.indexOf(u',');
    const QStringView integral = comma >= 0 ? s.left(comma) : s;
    const QStringView fraction = comma >= 0 ? s.mid(comma + 1) : QStringView();
    if (integral.isEmpty() && fraction.isEmpty()) return false;
    if (!integral.isEmpty() && !takeGroupedDigits(integral, &number)) return false;
    if (!allAsciiDigits(fraction)) return false;
    if (integral.isEmpty()) number += u'0';
    if (!fraction.isEmpty()) number += u'.' + fraction.toString();

    bool ok = false;
    const double v = number.toDouble(&ok);  // C locale: '.' as the point
    if (!ok || !std::isfinite(v)) return false;
    if (out) *out = v;
    return true;
}

bool parseInt(const QString &text, int *out) {
    QStringView s = QStringView(text).trimmed();
    QString number;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        if (s[0] == u'-') number += u'-';
        s = s.mid(1);
    }
    if (s.isEmpty() || !takeGroupedDigits(s, &number)) return false;
    bool ok = false;
    const int v = number.toInt(&ok);
    if (!ok) return false;
    if (out) *out = v;
    return true;
}

QDate parseDate(const QString &text) {
    static const QRegularExpression re(
        QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})/([0-9]{2}|[0-9]{4})$"));
    const QRegularExpressionMatch mt = re.match(text.trimmed());
    if (!mt.hasMatch()) return QDate();
    int year = mt.captured(3).toInt();
    if (mt.capturedLength(3) == 2) year += year <= 50 ? 2000 : 1900;
    const QDate d(year, mt.captured(2).toInt(), mt.captured(1).toInt());
    return d.isValid() ? d : QDate();
}

}  // namespace br
