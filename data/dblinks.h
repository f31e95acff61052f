#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>

#include "data/dataset.h"
#include "data/datasetmodel.h"

class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QComboBox;
class QButtonGroup;
class QLabel;
class QWidget;

namespace cr {

// Binds an input control to a field of a dataset's current row: it shows
// the value, and typing starts editing the row. Typed text is handed to the
// field when the control is left or right before the row is saved.
class DbLink : public QObject {
    Q_OBJECT
public:
    static DbLink *edit(QLineEdit *w, Dataset *ds, const QString &field, const QString &mask = {},
                        bool upperCase = false);
    static DbLink *memo(QPlainTextEdit *w, Dataset *ds, const QString &field);
    static DbLink *check(QCheckBox *w, Dataset *ds, const QString &field, const QVariant &on,
                         const QVariant &off);
    static DbLink *radio(QButtonGroup *g, Dataset *ds, const QString &field,
                         const QList<QVariant> &values);
    // A drop-down of `list` rows showing `listDisplay`; picking one writes its
    // `listKey` into `keyField`.
    static DbLink *lookup(QComboBox *w, Dataset *ds, const QString &keyField, Dataset *list,
                          const QString &listKey, const QString &listDisplay);
    static DbLink *label(QLabel *w, Dataset *ds, const QString &field, const QString &mask = {});

    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    QWidget *widget() const { return m_widget; }
    // Hands typed text over to the field now.
    void commit();
    void load();

    static QString display(const QVariant &v, ColType type, const QString &mask);

private:
    enum class Kind { Edit, Memo, Check, Radio, Lookup, Label };
    DbLink(Kind kind, QWidget *w, Dataset *ds, const QString &field);
    void userChanged();
    bool startEditing();
    QVariant current() const;
    void fillLookup();

    Kind m_kind;
    QPointer<QWidget> m_widget;
    QButtonGroup *m_group = nullptr;
    Dataset *m_ds;
    QString m_field;
    QString m_mask;
    bool m_upper = false;
    bool m_dirty = false;
    bool m_loading = false;
    bool m_readOnly = false;
    QVariant m_on, m_off;
    QList<QVariant> m_values;
    Dataset *m_list = nullptr;
    QString m_listKey, m_listDisplay;
};

}  // namespace cr
