#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// Brazilian display formats, whatever the host's locale.
namespace br {

const QLocale &locale();  // pt_BR

// Delphi-style FormatFloat masks as the screens and reports use them:
// "#,##0.00", "####,##0.00", "###,##0.00", "#####", "0.00" ...
// ',' in the mask turns on thousands separators ('.'), '.' is the decimal
// point (','), '0' is a mandatory digit, '#' an optional one. Rounds half
// away from zero. An empty mask formats like "0.##############".
QString formatFloat(const QString &mask, double value);

QString formatDate(const QDate &d);           // dd/MM/yyyy, empty for a null date
QString formatDateTime(const QDateTime &dt);  // dd/MM/yyyy HH:mm:ss
QString formatTime(const QTime &t);           // HH:mm:ss

// Parses a number written with the Brazilian decimal comma ("0,33",
// "1.234,56", "-2"). Returns false when the text is not such a number.
bool parseDouble(const QString &text, double *out);
bool parseInt(const QString &text, int *out);

// Short date typed or shown on screens: dd/MM/yyyy (also d/M/yy).
QDate parseDate(const QString &text);

}  // namespace br
