#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

namespace cr {

enum class ColType { String, Int, Double, Date, DateTime, Time, Bytes };

struct ColumnMeta {
    QString name;      // as the select list names it
    QString orgName;   // column of the underlying table, empty for expressions
    QString orgTable;  // underlying table, lower case, empty for expressions
    ColType type = ColType::String;
    bool isUnsigned = false;
};

// One fetched row, kept the way the server sent it (text protocol) in one
// buffer: cheap to store, to compare and to share between row lists.
class Row {
public:
    Row() = default;
    static Row fromRaw(int columns, const char *const *values, const unsigned long *lengths);
    static Row fromVariants(const QList<ColumnMeta> &cols, const QList<QVariant> &values);

    int columns() const;
    bool isNull(int col) const;
    QByteArrayView raw(int col) const;
    QVariant value(int col, const ColumnMeta &meta) const;
    bool operator==(const Row &o) const {
        return m_buf.constData() == o.m_buf.constData() || m_buf == o.m_buf;
    }
    bool operator!=(const Row &o) const { return !(*this == o); }
    bool sharesWith(const Row &o) const { return m_buf.constData() == o.m_buf.constData(); }
    qsizetype bytes() const { return m_buf.size(); }

private:
    QByteArray m_buf;  // int32 column count, then uint32 end offsets, then data
};

QVariant decodeValue(ColType type, QByteArrayView raw, bool isUnsigned = false);
QByteArray encodeValue(ColType type, const QVariant &v);  // server's text form

struct ResultSet {
    QList<ColumnMeta> columns;
    QList<Row> rows;
};

}  // namespace cr
