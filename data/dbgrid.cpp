#include "data/dbgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace cr {

DbGrid::DbGrid(QWidget *parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
}

void DbGrid::setDataset(Dataset *ds, const QList<DatasetModel::Column> &cols) {
    m_model = new DatasetModel(ds, this);
    m_model->setColumns(cols);
    setModel(m_model);
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].width > 0) setColumnWidth(i, cols[i].width);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &cur) {
                if (m_syncing || !cur.isValid()) return;
                Dataset *d = dataset();
                if (!d || d->currentRow() == cur.row()) return;
                try {
                    d->setCurrentRow(cur.row());  // saves a pending edit first
                } catch (const DbError &e) {
                    // The edit could not be saved: stay on its row.
                    Dataset::reportError(e);
                    QTimer::singleShot(0, this, &DbGrid::followDataset);
                }
            });
    connect(ds, &Dataset::currentChanged, this, &DbGrid::followDataset);
    connect(ds, &Dataset::reset, this, &DbGrid::followDataset);
}

void DbGrid::setEditable(bool on) {
    if (m_model) m_model->setEditable(on);
    setEditTriggers(on ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

void DbGrid::followDataset() {
    Dataset *d = dataset();
    if (!d || !selectionModel()) return;
    const int r = d->currentRow();
    const QModelIndex cur = currentIndex();
    if (r < 0 || (cur.isValid() && cur.row() == r)) return;
    m_syncing = true;
    const int col = cur.isValid() ? cur.column() : 0;
    selectionModel()->setCurrentIndex(
        m_model->index(r, col), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
}

void DbGrid::keyPressEvent(QKeyEvent *e) {
    if (e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier)) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

}  // namespace cr
