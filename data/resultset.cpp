#include "data/resultset.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstring>

namespace cr {

namespace {
constexpr quint32 kNull = 0x80000000u;

quint32 offsetAt(const QByteArray &b, int i) {
    quint32 v;
    std::memcpy(&v, b.constData() + sizeof(qint32) + i * sizeof(quint32), sizeof v);
    return v;
}
}  // namespace

Row Row::fromRaw(int columns, const char *const *values, const unsigned long *lengths) {
    const qsizetype head = sizeof(qint32) + columns * sizeof(quint32);
    qsizetype total = head;
    for (int c = 0; c < columns; ++c) total += values[c] ? qsizetype(lengths[c]) : 0;
    Row r;
    r.m_buf.resize(total);
    char *p = r.m_buf.data();
    const qint32 n = columns;
    std::memcpy(p, &n, sizeof n);
    char *data = p + head;
    quint32 end = 0;
    for (int c = 0; c < columns; ++c) {
        quint32 off;
        if (values[c]) {
            std::memcpy(data + end, values[c], lengths[c]);
            end += quint32(lengths[c]);
            off = end;
        } else {
            off = end | kNull;
        }
        std::memcpy(p + sizeof(qint32) + c * sizeof(quint32), &off, sizeof off);
    }
    return r;
}

Row Row::fromVariants(const QList<ColumnMeta> &cols, const QList<QVariant> &values) {
    QList<QByteArray> enc;
    QList<const char *> ptrs;
    QList<unsigned long> lens;
    const int n = cols.size();
    enc.reserve(n);
    for (int c = 0; c < n; ++c) {
        const QVariant v = c < values.size() ? values[c] : QVariant();
        if (!v.isValid() || v.isNull()) {
            enc.append(QByteArray());
            ptrs.append(nullptr);
            lens.append(0);
        } else {
            enc.append(encodeValue(cols[c].type, v));
            ptrs.append(enc.last().constData());
            lens.append(enc.last().size());
        }
    }
    // constData() of an empty non-null array still points somewhere valid.
    for (int c = 0; c < n; ++c)
        if (ptrs[c]) ptrs[c] = enc[c].constData();
    return fromRaw(n, ptrs.constData(), lens.constData());
}

int Row::columns() const {
    if (m_buf.isEmpty()) return 0;
    qint32 n;
    std::memcpy(&n, m_buf.constData(), sizeof n);
    return n;
}

bool Row::isNull(int col) const {
    if (col < 0 || col >= columns()) return true;
    return offsetAt(m_buf, col) & kNull;
}

QByteArrayView Row::raw(int col) const {
    const int n = columns();
    if (col < 0 || col >= n) return {};
    const quint32 end = offsetAt(m_buf, col) & ~kNull;
    const quint32 start = col == 0 ? 0 : (offsetAt(m_buf, col - 1) & ~kNull);
    const qsizetype head = sizeof(qint32) + n * sizeof(quint32);
    return QByteArrayView(m_buf.constData() + head + start, end - start);
}

QVariant Row::value(int col, const ColumnMeta &meta) const {
    if (isNull(col)) return QVariant();
    return decodeValue(meta.type, raw(col), meta.isUnsigned);
}

QVariant decodeValue(ColType type, QByteArrayView raw, bool isUnsigned) {
    switch (type) {
        case ColType::Int: {
            bool ok = false;
            if (isUnsigned) {
                const qulonglong v = raw.toULongLong(&ok);
                return ok ? QVariant(v) : QVariant();
            }
            const qlonglong v = raw.toLongLong(&ok);
            return ok ? QVariant(v) : QVariant();
        }
        case ColType::Double: {
            bool ok = false;
            const double v = raw.toDouble(&ok);
            return ok ? QVariant(v) : QVariant(0.0);
        }
        case ColType::Date: {
            const QDate d = QDate::fromString(QString::fromLatin1(raw), Qt::ISODate);
            return d.isValid() ? QVariant(d) : QVariant(QMetaType::fromType<QDate>());
        }
        case ColType::DateTime: {
            QString t = QString::fromLatin1(raw);
            QDateTime dt = QDateTime::fromString(t.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            return dt.isValid() ? QVariant(dt) : QVariant(QMetaType::fromType<QDateTime>());
        }
        case ColType::Time: {
            const QTime t =
                QTime::fromString(QString::fromLatin1(raw).left(8), QStringLiteral("HH:mm:ss"));
            return t.isValid() ? QVariant(t) : QVariant(QMetaType::fromType<QTime>());
        }
        case ColType::Bytes:
            return QByteArray(raw.data(), raw.size());
        case ColType::String:
            break;
    }
    return QString::fromUtf8(raw.data(), raw.size());
}

QByteArray encodeValue(ColType type, const QVariant &v) {
    switch (type) {
        case ColType::Date:
            return v.toDate().toString(Qt::ISODate).toLatin1();
        case ColType::DateTime:
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
        case ColType::Time:
            return v.toTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
        case ColType::Double:
            return QByteArray::number(v.toDouble(), 'g', 17);
        case ColType::Int:
            return QByteArray::number(v.toLongLong());
        case ColType::Bytes:
            return v.toByteArray();
        case ColType::String:
            break;
    }
    if (v.typeId() == QMetaType::Double) return QByteArray::number(v.toDouble(), 'g', 17);
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate).toLatin1();
    return v.toString().toUtf8();
}

}  // namespace cr
