#pragma once

#include <QHash>
#include <QLabel>
#include <QMainWindow>

#include "receivables/receberdata.h"

class QLineEdit;
class QDateEdit;
class QPushButton;
class QTabWidget;
class QMenu;
class QWidget;

namespace cr {

class DbGrid;
class DbLink;

// The program's main window: searches, lists and colours installments,
// shows one installment's details with its products and cash rows, edits
// installments and launches the other windows. Closing it ends the program.
class TfrmReceber : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmReceber(QWidget *parent = nullptr);
    ~TfrmReceber() override;

    // Creation steps: the operator's name, the restricted-user rule and the
    // title. False when the program must end (no operator name).
    bool initialize(const QString &userName);

    static QString titleFor(const QString &shopName, const QString &user, const QString &host);

    ReceberData *data() const { return m_data; }
    QPushButton *button(const QString &objectName) const { return m_buttons.value(objectName); }
    bool isEditingMode() const { return m_editingMode; }
    bool isRestrictedUser() const { return m_restricted; }
    QMenu *reportMenu() const { return m_reportMenu; }
    QMenu *listMenu() const { return m_listMenu; }

    QLineEdit *edtLocalizar;
    QDateEdit *DTI;
    QDateEdit *DTF;
    QTabWidget *PageControl1;
    DbGrid *DBGrid1;
    DbGrid *gridProdutos;
    DbGrid *gridCaixa;

    // Handlers, public so the tests drive the real flow.
    void textSearch(ReceberData::TextSearch kind);
    void letterSearch(QChar letter);
    void dateSearch(ReceberData::DateSearch kind);
    void incluir();
    void alterar();
    void excluir();
    void salvar();
    void cancelar();
    void runClientProgram();
    void openClientLookup();
    void showProductsSold();
    void reprintReceipt();

    // Where the client registration program is looked for.
    static QString clientProgramPath();

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QWidget *buildSearchGroup();
    QWidget *buildButtonGroup();
    QWidget *buildDetailsPage();
    QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text);
    void setEditingMode(bool on);
    void selectPage(int index);  // program's own switch: no user rule
    void pageChanged(int index);
    void applyRestrictedRule();
    void showNewRowFields();

    ReceberData *m_data;
    QLabel *m_caption;
    QHash<QString, QPushButton *> m_buttons;
    QWidget *m_bar1, *m_bar2, *m_bar3;
    QMenu *m_reportMenu;
    QMenu *m_listMenu;
    QList<DbLink *> m_links;
    QWidget *m_newNota = nullptr, *m_newTotal = nullptr;
    QWidget *m_lblNotaNova = nullptr, *m_lblTotalNova = nullptr;
    QWidget *m_lblNota = nullptr, *m_edtControles = nullptr;
    QWidget *m_lblControle = nullptr, *m_valControle = nullptr;
    bool m_editingMode = false;
    bool m_restricted = false;
    bool m_programPage = false;
    bool m_closing = false;
};

}  // namespace cr
