#include "data/sqltext.h"

#include <QRegularExpression>
#include <QSet>

namespace cr::sqltext {

namespace {

// For every character: is it plain SQL at parenthesis depth 0?
// Also collects parameter references found in plain SQL at any depth.
struct Scan {
    QList<bool> top;
    QList<ParamRef> params;
};

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

Scan scan(const QString &s) {
    Scan r;
    const int n = s.size();
    r.top.fill(false, n);
    int depth = 0;
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"' || c == u'`') {
            // Quotes are doubled inside; the session runs with
            // NO_BACKSLASH_ESCAPES, so a backslash is an ordinary character.
            int j = i + 1;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            i = j + 1;
            continue;
        }
        if (c == u'#' || (c == u'-' && i + 2 < n && s[i + 1] == u'-' && s[i + 2].isSpace()) ||
            (c == u'-' && i + 2 == n && s[i + 1] == u'-')) {
            while (i < n && s[i] != u'\n') ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            int j = s.indexOf(QStringLiteral("*/"), i + 2);
            i = j < 0 ? n : j + 2;
            continue;
        }
        if (c == u'(') {
            ++depth;
            ++i;
            continue;
        }
        if (c == u')') {
            if (depth > 0) --depth;
            ++i;
            continue;
        }
        if (c == u':' && i + 1 < n && isNameStart(s[i + 1]) && (i == 0 || s[i - 1] != u':')) {
            int j = i + 1;
            while (j < n && isNameChar(s[j])) ++j;
            r.params.append({i, j - i, s.mid(i + 1, j - i - 1)});
            for (int k = i; k < j; ++k) r.top[k] = false;
            i = j;
            continue;
        }
        if (depth == 0) r.top[i] = true;
        ++i;
    }
    return r;
}

// Position of a top-level keyword sequence such as "ORDER BY", or -1.
int findKeyword(const QString &s, const Scan &sc, const QStringList &words, int from = 0,
                int *end = nullptr) {
    const int n = s.size();
    for (int i = from; i < n; ++i) {
        if (!sc.top[i]) continue;
        if (i > 0 && sc.top[i - 1] && isNameChar(s[i - 1])) continue;
        int p = i;
        bool ok = true;
        for (int w = 0; w < words.size() && ok; ++w) {
            if (w > 0) {
                if (p >= n || !s[p].isSpace()) {
                    ok = false;
                    break;
                }
                while (p < n && s[p].isSpace()) ++p;
            }
            const QString &word = words[w];
            if (p + word.size() > n ||
                QStringView(s).mid(p, word.size()).compare(word, Qt::CaseInsensitive) != 0) {
                ok = false;
                break;
            }
            for (int k = p; k < p + word.size(); ++k)
                if (!sc.top[k]) ok = false;
            p += word.size();
        }
        if (!ok) continue;
        if (p < n && isNameChar(s[p])) continue;
        if (end) *end = p;
        return i;
    }
    return -1;
}

// Start of the first clause that follows WHERE (or the end of the text).
int clauseAfterWhere(const QString &s, const Scan &sc, int from) {
    static const QList<QStringList> tails = {
        {QStringLiteral("GROUP"), QStringLiteral("BY")},
        {QStringLiteral("HAVING")},
        {QStringLiteral("ORDER"), QStringLiteral("BY")},
        {QStringLiteral("LIMIT")},
        {QStringLiteral("FOR"), QStringLiteral("UPDATE")},
        {QStringLiteral("LOCK"), QStringLiteral("IN")},
    };
    int best = s.size();
    for (const auto &t : tails) {
        int p = findKeyword(s, sc, t, from);
        if (p >= 0 && p < best) best = p;
    }
    // Trailing semicolon or blanks stay after the clause.
    while (best > from && (s[best - 1].isSpace() || s[best - 1] == u';')) --best;
    return best;
}

QString rewriteWhere(const QString &sql, const QString &cond, bool keepOld) {
    const Scan sc = scan(sql);
    int whereEnd = 0;
    const int where = findKeyword(sql, sc, {QStringLiteral("WHERE")}, 0, &whereEnd);
    if (where >= 0) {
        const int tail = clauseAfterWhere(sql, sc, whereEnd);
        const QString old = sql.mid(whereEnd, tail - whereEnd).trimmed();
        QString clause = keepOld && !old.isEmpty() ? QStringLiteral(" (%1) AND (%2)").arg(old, cond)
                                                   : QStringLiteral(" (%1)").arg(cond);
        QString rest = sql.mid(tail);
        if (!rest.isEmpty() && !rest[0].isSpace()) clause += u' ';
        return sql.left(whereEnd) + clause + rest;
    }
    int from = findKeyword(sql, sc, {QStringLiteral("FROM")});
    const int tail = clauseAfterWhere(sql, sc, from < 0 ? 0 : from);
    QString rest = sql.mid(tail);
    return sql.left(tail) + QStringLiteral(" WHERE (%1)").arg(cond) +
           (rest.isEmpty() || rest[0].isSpace() ? QString() : QStringLiteral(" ")) + rest;
}

}  // namespace

QList<ParamRef> findParams(const QString &sql) { return scan(sql).params; }

QStringList paramNames(const QString &sql) {
    QStringList out;
    QSet<QString> seen;
    for (const auto &p : findParams(sql)) {
        const QString key = p.name.toLower();
        if (seen.contains(key)) continue;
        seen.insert(key);
        out.append(p.name);
    }
    return out;
}

QString addCondition(const QString &sql, const QString &cond) {
    return rewriteWhere(sql, cond, true);
}

QString replaceCondition(const QString &sql, const QString &cond) {
    return rewriteWhere(sql, cond, false);
}

QString firstTable(const QString &sql) {
    const Scan sc = scan(sql);
    int end = 0;
    if (findKeyword(sql, sc, {QStringLiteral("FROM")}, 0, &end) < 0) return {};
    int p = end;
    const int n = sql.size();
    while (p < n && sql[p].isSpace()) ++p;
    QString name;
    while (p < n) {
        if (sql[p] == u'`') {
            int q = sql.indexOf(u'`', p + 1);
            if (q < 0) break;
            name = sql.mid(p + 1, q - p - 1);
            p = q + 1;
        } else {
            int q = p;
            while (q < n && (isNameChar(sql[q]) || sql[q] == u'$')) ++q;
            if (q == p) break;
            name = sql.mid(p, q - p);
            p = q;
        }
        if (p < n && sql[p] == u'.') {
            ++p;  // schema-qualified: keep the last part
            continue;
        }
        break;
    }
    return name.toLower();
}

bool returnsRows(const QString &sql) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\(\\s*)*(SELECT|SHOW|DESCRIBE|DESC|EXPLAIN|WITH|VALUES|TABLE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

}  // namespace cr::sqltext
