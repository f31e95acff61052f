#pragma once

#include <QDialog>

namespace cr {

// The period dialog: created once, hidden, alive for the whole run.
class TfrmGeral : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGeral(QWidget *parent = nullptr);
};

}  // namespace cr
