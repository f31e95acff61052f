#pragma once

#include <QTableView>

#include "data/datasetmodel.h"

namespace cr {

// A read-only grid bound to a dataset: whole-row selection, the view's
// current row and the dataset's current row follow each other, fixed row
// height, and Ctrl+Delete swallowed (grids never delete).
class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget *parent = nullptr);
    void setDataset(Dataset *ds, const QList<DatasetModel::Column> &cols);
    DatasetModel *datasetModel() const { return m_model; }
    Dataset *dataset() const { return m_model ? m_model->dataset() : nullptr; }
    // Typing into a cell edits it in place (the list of installments).
    void setEditable(bool on);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void followDataset();
    DatasetModel *m_model = nullptr;
    bool m_syncing = false;
};

}  // namespace cr
