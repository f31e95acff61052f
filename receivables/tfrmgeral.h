#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QGroupBox;

namespace cr {

// The period dialog: created once at start-up, hidden, alive for the whole
// run, so it remembers the last period entered.
class TfrmGeral : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGeral(QWidget *parent = nullptr);
    ~TfrmGeral() override;

    // The whole calling protocol: fills today once per run (Tag), shows the
    // period and button groups, runs modally, trims memory, hides the groups
    // and restores the height. True when closed with OK; the dates stay in
    // the pickers for the next caller.
    bool askPeriod();
    QDate dti() const;
    QDate dtf() const;

    int Tag = 0;
    QDateEdit *DTI;
    QDateEdit *DTF;

    // The instance created at start-up (null before).
    static TfrmGeral *instance();

private:
    QGroupBox *m_text;
    QGroupBox *m_combo;
    QGroupBox *m_period;
    QGroupBox *m_buttons;
};

}  // namespace cr
