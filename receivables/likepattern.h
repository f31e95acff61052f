#pragma once

#include <QString>

namespace cr {

// A typed search text as the literal of a LIKE: trimmed, "%" appended for
// prefix searches, single quotes doubled. A backslash is LIKE's escape
// character, so it is doubled too and a typed "\" is searched as itself;
// "%" and "_" keep their wildcard meaning.
inline QString likeLiteral(const QString &typed, bool prefix) {
    QString t = typed.trimmed();
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    if (prefix) t += QLatin1Char('%');
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

}  // namespace cr
