#pragma once

#include <QDialog>

class QLineEdit;

namespace cr {

class Connection;
class Dataset;
class DbGrid;

// Finds a client by name or code and puts the pick into the installment
// being edited or inserted in the main window.
class TFrmL_ClienteReceber : public QDialog {
    Q_OBJECT
public:
    TFrmL_ClienteReceber(Dataset *target, Connection *conn, QWidget *parent = nullptr);

    static constexpr const char *kSqlNome =
        "SELECT * FROM CLIENTE WHERE NOME LIKE(%1) ORDER BY NOME";
    static constexpr const char *kSqlCodigo =
        "SELECT * FROM CLIENTE WHERE Codigocliente LIKE(%1) ORDER BY Codigocliente";

    QLineEdit *edtLocalizar;
    Dataset *QRY1;
    DbGrid *grid;

    void search(bool byName);
    // OK: the picked client into the target row (not saved here).
    void takePick();

private:
    Dataset *m_target;
};

}  // namespace cr
