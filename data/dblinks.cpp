#include "data/dblinks.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/brformat.h"
#include "app/errorbox.h"

namespace cr {

namespace {
bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }
}  // namespace

DbLink::DbLink(Kind kind, QWidget *w, Dataset *ds, const QString &field)
    : QObject(w), m_kind(kind), m_widget(w), m_ds(ds), m_field(field) {
    connect(ds, &Dataset::currentChanged, this, [this] {
        m_dirty = false;
        load();
    });
    connect(ds, &Dataset::reset, this, [this] {
        m_dirty = false;
        load();
    });
    connect(ds, &Dataset::stateChanged, this, [this] {
        if (!m_ds->isEditing()) m_dirty = false;
        load();
    });
    connect(ds, &Dataset::rowsChanged, this, [this](int f, int l) {
        const int c = m_ds->currentRow();
        if (c >= f && c <= l) load();
    });
    connect(ds, &Dataset::aboutToPost, this, &DbLink::commit);
}

QString DbLink::display(const QVariant &v, ColType type, const QString &mask) {
    if (isNull(v)) return {};
    switch (type) {
        case ColType::Double:
            return br::formatFloat(mask.isEmpty() ? QStringLiteral("0.##") : mask, v.toDouble());
        case ColType::Int:
            return mask.isEmpty() ? QString::number(v.toLongLong())
                                  : br::formatFloat(mask, v.toDouble());
        case ColType::Date:
            if (v.typeId() == QMetaType::QDate) return br::formatDate(v.toDate());
            return v.toString();
        case ColType::DateTime:
            return br::formatDateTime(v.toDateTime());
        default:
            return v.toString();
    }
}

QVariant DbLink::current() const {
    if (!m_ds->isActive() || m_ds->currentRow() < 0) return {};
    const int f = m_ds->fieldIndex(m_field);
    return f < 0 ? QVariant() : m_ds->value(m_ds->currentRow(), f);
}

void DbLink::load() {
    if (!m_widget || m_dirty) return;
    m_loading = true;
    const QVariant v = current();
    const int f = m_ds->fieldIndex(m_field);
    const ColType t = f >= 0 ? m_ds->fieldType(f) : ColType::String;
    switch (m_kind) {
        case Kind::Edit: {
            auto *e = static_cast<QLineEdit *>(m_widget.data());
            e->setText(display(v, t, m_mask));
            e->setCursorPosition(0);
            break;
        }
        case Kind::Label:
            static_cast<QLabel *>(m_widget.data())->setText(display(v, t, m_mask));
            break;
        case Kind::Memo:
            static_cast<QPlainTextEdit *>(m_widget.data())->setPlainText(v.toString());
            break;
        case Kind::Check:
            static_cast<QCheckBox *>(m_widget.data())
                ->setChecked(!isNull(v) && v.toString() == m_on.toString());
            break;
        case Kind::Radio: {
            int id = -1;
            for (int i = 0; i < m_values.size(); ++i)
                if (!isNull(v) && v.toString() == m_values[i].toString()) id = i;
            m_group->setExclusive(false);
            for (QAbstractButton *b : m_group->buttons()) b->setChecked(m_group->id(b) == id);
            m_group->setExclusive(true);
            break;
        }
        case Kind::Lookup: {
            auto *c = static_cast<QComboBox *>(m_widget.data());
            fillLookup();
            int idx = -1;
            for (int i = 0; i < c->count() && !isNull(v); ++i)
                if (c->itemData(i).toDouble() == v.toDouble()) idx = i;
            c->setCurrentIndex(idx);
            break;
        }
    }
    m_loading = false;
}

void DbLink::fillLookup() {
    auto *c = static_cast<QComboBox *>(m_widget.data());
    if (!m_list) return;
    if (c->property("crGeneration").toULongLong() == m_list->generation() + 1) return;
    c->clear();
    if (m_list->isActive())
        for (int r = 0; r < m_list->rowCount(); ++r)
            c->addItem(m_list->value(r, m_listDisplay).toString(), m_list->value(r, m_listKey));
    c->setProperty("crGeneration", m_list->generation() + 1);
}

bool DbLink::startEditing() {
    if (m_readOnly) return false;
    if (m_ds->isEditing()) return true;
    return guarded(m_widget, [this] { m_ds->edit(); });
}

void DbLink::userChanged() {
    if (m_loading || !m_widget) return;
    // Dirty first: entering edit state reloads the controls, and what is
    // being typed must survive that.
    const bool typed = m_kind == Kind::Edit || m_kind == Kind::Memo;
    if (typed) m_dirty = true;
    if (!startEditing()) {
        m_dirty = false;
        load();
        return;
    }
    switch (m_kind) {
        case Kind::Edit:
        case Kind::Memo:
            break;
        case Kind::Check: {
            const bool on = static_cast<QCheckBox *>(m_widget.data())->isChecked();
            guarded(m_widget, [&] { m_ds->field(m_field).setValue(on ? m_on : m_off); });
            break;
        }
        case Kind::Radio: {
            const int id = m_group->checkedId();
            if (id >= 0 && id < m_values.size())
                guarded(m_widget, [&] { m_ds->field(m_field).setValue(m_values[id]); });
            break;
        }
        case Kind::Lookup: {
            auto *c = static_cast<QComboBox *>(m_widget.data());
            guarded(m_widget, [&] { m_ds->field(m_field).setValue(c->currentData()); });
            break;
        }
        case Kind::Label:
            break;
    }
}

void DbLink::commit() {
    if (!m_dirty || !m_widget || !m_ds->isEditing()) {
        m_dirty = false;
        return;
    }
    m_dirty = false;
    const int f = m_ds->fieldIndex(m_field);
    if (f < 0) return;
    QString text = m_kind == Kind::Memo
                       ? static_cast<QPlainTextEdit *>(m_widget.data())->toPlainText()
                       : static_cast<QLineEdit *>(m_widget.data())->text();
    m_ds->setFieldValue(f, typedValue(m_ds->fieldType(f), text));
}

void DbLink::setReadOnly(bool on) {
    m_readOnly = on;
    if (!m_widget) return;
    if (auto *e = qobject_cast<QLineEdit *>(m_widget)) e->setReadOnly(on);
    if (auto *m = qobject_cast<QPlainTextEdit *>(m_widget)) m->setReadOnly(on);
}

DbLink *DbLink::edit(QLineEdit *w, Dataset *ds, const QString &field, const QString &mask,
                     bool upperCase) {
    auto *l = new DbLink(Kind::Edit, w, ds, field);
    l->m_mask = mask;
    l->m_upper = upperCase;
    connect(w, &QLineEdit::textEdited, l, [l, w](const QString &t) {
        if (l->m_upper && t != t.toUpper()) {
            const int pos = w->cursorPosition();
            w->setText(t.toUpper());
            w->setCursorPosition(pos);
        }
        l->userChanged();
    });
    connect(w, &QLineEdit::editingFinished, l, [l, w] {
        if (l->m_dirty) guarded(w, [l] { l->commit(); });
    });
    l->load();
    return l;
}

DbLink *DbLink::memo(QPlainTextEdit *w, Dataset *ds, const QString &field) {
    auto *l = new DbLink(Kind::Memo, w, ds, field);
    connect(w, &QPlainTextEdit::textChanged, l, [l] { l->userChanged(); });
    l->load();
    return l;
}

DbLink *DbLink::check(QCheckBox *w, Dataset *ds, const QString &field, const QVariant &on,
                      const QVariant &off) {
    auto *l = new DbLink(Kind::Check, w, ds, field);
    l->m_on = on;
    l->m_off = off;
    connect(w, &QCheckBox::clicked, l, [l] { l->userChanged(); });
    l->load();
    return l;
}

DbLink *DbLink::radio(QButtonGroup *g, Dataset *ds, const QString &field,
                      const QList<QVariant> &values) {
    QWidget *owner = g->buttons().isEmpty() ? nullptr : g->buttons().first()->parentWidget();
    auto *l = new DbLink(Kind::Radio, owner, ds, field);
    l->m_group = g;
    l->m_values = values;
    connect(g, &QButtonGroup::idClicked, l, [l] { l->userChanged(); });
    l->load();
    return l;
}

DbLink *DbLink::lookup(QComboBox *w, Dataset *ds, const QString &keyField, Dataset *list,
                       const QString &listKey, const QString &listDisplay) {
    auto *l = new DbLink(Kind::Lookup, w, ds, keyField);
    l->m_list = list;
    l->m_listKey = listKey;
    l->m_listDisplay = listDisplay;
    connect(w, &QComboBox::activated, l, [l] { l->userChanged(); });
    connect(list, &Dataset::reset, l, [l] { l->load(); });
    l->load();
    return l;
}

DbLink *DbLink::label(QLabel *w, Dataset *ds, const QString &field, const QString &mask) {
    auto *l = new DbLink(Kind::Label, w, ds, field);
    l->m_mask = mask;
    l->load();
    return l;
}

}  // namespace cr
