#pragma once

#include <QDateEdit>

namespace cr {

// A date picker that takes a date typed the way operators type it,
// "01/03/2025" or "1/3/2025": the separator right after a section filled
// itself (and moved on) is swallowed instead of skipping the next section.
class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;

private:
    bool m_justAdvanced = false;
};

}  // namespace cr
