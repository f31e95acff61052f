#include "app/dateedit.h"

#include <QKeyEvent>

namespace cr {

DateEdit::DateEdit(QWidget *parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
}

void DateEdit::keyPressEvent(QKeyEvent *e) {
    const QString t = e->text();
    const bool separator =
        t == QLatin1String("/") || t == QLatin1String(".") || t == QLatin1String("-");
    if (separator && m_justAdvanced) {
        m_justAdvanced = false;
        e->accept();
        return;
    }
    const int before = currentSectionIndex();
    QDateEdit::keyPressEvent(e);
    m_justAdvanced =
        !separator && !t.isEmpty() && t[0].isDigit() && currentSectionIndex() != before;
}

void DateEdit::focusInEvent(QFocusEvent *e) {
    m_justAdvanced = false;
    QDateEdit::focusInEvent(e);
}

}  // namespace cr
