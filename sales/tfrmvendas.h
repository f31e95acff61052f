#pragma once

#include <QDialog>

class QLabel;

namespace cr {

class Dataset;
class DbGrid;

// Products sold in the sale behind the opener's current installment. Owns
// no dataset: it shows the opener's product dataset.
class TFrmvendas : public QDialog {
    Q_OBJECT
public:
    TFrmvendas(Dataset *products, double saleTotal, QWidget *parent = nullptr);
    QLabel *header;
    DbGrid *grid;

    static QString headerText(double saleTotal);
};

}  // namespace cr
