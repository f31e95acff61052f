#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "data/dataset.h"

namespace cr {

// What the operator typed, as the value for a field of `type`: dates
// dd/mm/yyyy, numbers with the decimal comma, empty text as null.
QVariant typedValue(ColType type, const QString &text);

// A grid's view of a dataset: per column a title, a field and a display mask
// ("#,##0.00", "####,##0.00", "#####", "" for dates and texts). Follows the
// dataset's row notifications, so a refresh never resets the grid.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString title;
        QString field;
        QString mask;
        int width = 0;  // pixels, 0 = default
    };

    explicit DatasetModel(Dataset *ds, QObject *parent = nullptr);

    void setColumns(const QList<Column> &cols);
    const QList<Column> &columnsDef() const { return m_cols; }
    Dataset *dataset() const { return m_ds; }

    // Background for a row; nullopt draws the grid's normal colours.
    std::function<std::optional<QColor>(const RecordView &)> rowColor;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    QString displayText(int row, int col) const;

    // Typing into a cell edits the dataset's row (data fields only).
    void setEditable(bool on);
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    int fieldOf(int col) const;

    Dataset *m_ds;
    QList<Column> m_cols;
    mutable QList<int> m_fieldCache;
    mutable quint64 m_cacheFor = ~0ull;
    QModelIndexList m_persistent;
    bool m_editable = false;
};

}  // namespace cr
