#include "data/datasetmodel.h"

#include <QDate>
#include <QDateTime>

#include "app/brformat.h"

namespace cr {

QVariant typedValue(ColType type, const QString &text) {
    const QString t = text.trimmed();
    switch (type) {
        case ColType::Date: {
            const QDate d = br::parseDate(t);
            // A date that does not parse goes as typed: the server refuses it
            // and the row stays in editing for the operator to correct.
            return t.isEmpty() ? QVariant() : d.isValid() ? QVariant(d) : QVariant(t);
        }
        case ColType::Double:
        case ColType::Int: {
            double d = 0;
            return t.isEmpty() ? QVariant() : br::parseDouble(t, &d) ? QVariant(d) : QVariant(t);
        }
        default:
            // An emptied text field stores null, as the suite's programs do.
            return text.isEmpty() ? QVariant() : QVariant(text);
    }
}

DatasetModel::DatasetModel(Dataset *ds, QObject *parent) : QAbstractTableModel(parent), m_ds(ds) {
    connect(ds, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(ds, &Dataset::reset, this, [this] {
        m_cacheFor = ~0ull;
        endResetModel();
    });
    connect(ds, &Dataset::rowsAboutToBeInserted, this,
            [this](int f, int l) { beginInsertRows({}, f, l); });
    connect(ds, &Dataset::rowsInserted, this, [this] { endInsertRows(); });
    connect(ds, &Dataset::rowsAboutToBeRemoved, this,
            [this](int f, int l) { beginRemoveRows({}, f, l); });
    connect(ds, &Dataset::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(ds, &Dataset::layoutAboutToChange, this, [this] {
        emit layoutAboutToBeChanged();
        m_persistent = persistentIndexList();
    });
    connect(ds, &Dataset::layoutChanged, this, [this](const QList<int> &oldToNew) {
        QModelIndexList to;
        to.reserve(m_persistent.size());
        for (const QModelIndex &i : m_persistent) {
            const int r = i.row() < oldToNew.size() ? oldToNew[i.row()] : i.row();
            to.append(index(r, i.column()));
        }
        changePersistentIndexList(m_persistent, to);
        m_persistent.clear();
        emit QAbstractItemModel::layoutChanged();
    });
    connect(ds, &Dataset::rowsChanged, this, [this](int f, int l) {
        if (m_cols.isEmpty() || f < 0 || l < f) return;
        emit dataChanged(index(f, 0), index(l, m_cols.size() - 1));
    });
}

void DatasetModel::setColumns(const QList<Column> &cols) {
    beginResetModel();
    m_cols = cols;
    m_cacheFor = ~0ull;
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_ds->rowCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_cols.size());
}

int DatasetModel::fieldOf(int col) const {
    // Field positions only change when the dataset reopens.
    if (m_fieldCache.size() != m_cols.size() || m_cacheFor != quint64(m_ds->fieldCount())) {
        m_fieldCache.clear();
        for (const Column &c : m_cols) m_fieldCache.append(m_ds->fieldIndex(c.field));
        m_cacheFor = quint64(m_ds->fieldCount());
    }
    return m_fieldCache.value(col, -1);
}

void DatasetModel::setEditable(bool on) { m_editable = on; }

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int field = fieldOf(index.column());
    if (m_editable && field >= 0 && m_ds->fieldKind(field) == Dataset::FieldKind::Data)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const int field = fieldOf(index.column());
    if (field < 0) return false;
    const QString text = value.toString();
    if (text == displayText(index.row(), index.column())) return true;  // nothing typed
    try {
        m_ds->setCurrentRow(index.row());
        m_ds->setFieldValue(field, typedValue(m_ds->fieldType(field), text));
    } catch (const DbError &e) {
        Dataset::reportError(e);
        return false;
    }
    return true;
}

QString DatasetModel::displayText(int row, int col) const {
    const int f = fieldOf(col);
    if (f < 0) return {};
    const QVariant v = m_ds->value(row, f);
    if (!v.isValid() || v.isNull()) return {};
    const ColType t = m_ds->fieldType(f);
    const QString &mask = m_cols[col].mask;
    switch (t) {
        case ColType::Double:
        case ColType::Int:
            if (!mask.isEmpty()) return br::formatFloat(mask, v.toDouble());
            if (t == ColType::Int) return QString::number(v.toLongLong());
            return br::formatFloat(QString(), v.toDouble());
        case ColType::Date:
            return br::formatDate(v.toDate());
        case ColType::DateTime:
            return br::formatDateTime(v.toDateTime());
        case ColType::Time:
            return br::formatTime(v.toTime());
        default:
            break;
    }
    return v.toString();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_ds->rowCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return displayText(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const int f = fieldOf(index.column());
            const ColType t = f >= 0 ? m_ds->fieldType(f) : ColType::String;
            if (t == ColType::Double || t == ColType::Int)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
        case Qt::BackgroundRole:
            if (rowColor) {
                if (auto c = rowColor(m_ds->record(index.row()))) return *c;
            }
            return {};
        case Qt::ForegroundRole:
            if (rowColor && rowColor(m_ds->record(index.row()))) return QColor(Qt::black);
            return {};
        default:
            return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < m_cols.size())
        return m_cols[section].title;
    return QAbstractTableModel::headerData(section, o, role);
}

}  // namespace cr
