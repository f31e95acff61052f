#pragma once

#include <QObject>
#include <memory>

#include "data/connection.h"
#include "data/dataset.h"

namespace cr {

// Connection losses over the life of the process; only the loss policy
// touches it.
int &ConnectionLostCount();

// The loss policy: five losses are overcome by reconnecting and running the
// failed operation again, the sixth is raised and the count starts over.
Connection::LostAction connectionLostPolicy();

// The data module: the one connection and the datasets windows share.
class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    // Reads the settings already loaded, opens the connection, then the
    // company and branch datasets. Throws DbError; the caller shows it.
    void initialize();

    Connection *MyConnection1;
    Dataset *tbConfiguracao;
    Dataset *tbFilial;
    Dataset *tbturno;
    Dataset *tbConta;
    Dataset *tbContacorrente;
    Dataset *tbSaida;
    Dataset *MyCliente;
    Dataset *tbCliente;
    Dataset *tbParcela;
    Dataset *tbFaturamento;

    // Opens `ds` when it is not open; readers take its current row.
    static void ensureOpen(Dataset *ds);
    // Shop name of the current configuracao row (opening it if needed).
    QString companyName();
    // Current branch (first filial row) and cash shift (first turno row by
    // controle; 0 when there is none).
    int currentBranchCode();
    QString currentBranchName();
    int currentShift();

    // Closes the datasets the main window releases when it closes.
    void closeShared();
};

// The single data module instance, created at start-up.
TDM *DM();
void setDM(TDM *dm);

}  // namespace cr
