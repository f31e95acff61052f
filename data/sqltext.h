#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Small SQL text helpers for the dataset layer: named parameters and the
// top-level clauses of a single SELECT. Strings, quoted identifiers and
// comments are skipped, so a ':x' or 'where' inside them never counts.
namespace cr::sqltext {

struct ParamRef {
    int pos;  // index of the ':'
    int len;  // ':' plus the name
    QString name;
};

QList<ParamRef> findParams(const QString &sql);

// Unique parameter names in order of first use (compared without case).
QStringList paramNames(const QString &sql);

// ANDs `cond` to the statement's top-level WHERE clause (keeping the old
// clause in parentheses), or adds a WHERE before GROUP BY / HAVING /
// ORDER BY / LIMIT.
QString addCondition(const QString &sql, const QString &cond);

// Replaces the top-level WHERE clause by `cond` (or adds one).
QString replaceCondition(const QString &sql, const QString &cond);

// The first table after the top-level FROM, lower-cased, without quotes or
// schema. Empty when there is none.
QString firstTable(const QString &sql);

// True when the statement is one that returns rows (SELECT, SHOW, ...).
bool returnsRows(const QString &sql);

}  // namespace cr::sqltext
