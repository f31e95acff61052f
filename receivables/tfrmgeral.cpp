#include "receivables/tfrmgeral.h"

namespace cr {

TfrmGeral::TfrmGeral(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGeral"));
    setModal(true);
}

}  // namespace cr
