#include "receivables/tfrmgeral.h"

namespace cr {

namespace {
TfrmGeral *g_instance = nullptr;
}

TfrmGeral::TfrmGeral(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGeral"));
    setModal(true);
    if (!g_instance) g_instance = this;
    DTI = nullptr;
    DTF = nullptr;
    m_text = m_combo = m_period = m_buttons = nullptr;
}

TfrmGeral::~TfrmGeral() {
    if (g_instance == this) g_instance = nullptr;
}

TfrmGeral *TfrmGeral::instance() { return g_instance; }

bool TfrmGeral::askPeriod() { return exec() == QDialog::Accepted; }
QDate TfrmGeral::dti() const { return {}; }
QDate TfrmGeral::dtf() const { return {}; }

}  // namespace cr
