#include "data/tdm.h"

#include "app/settings.h"

namespace cr {

namespace {
TDM *g_dm = nullptr;
}

int &ConnectionLostCount() {
    static int count = 0;
    return count;
}

Connection::LostAction connectionLostPolicy() {
    int &n = ConnectionLostCount();
    if (n < 5) {
        ++n;
        return Connection::LostAction::ReconnectExecute;
    }
    n = 0;
    return Connection::LostAction::Raise;
}

TDM *DM() { return g_dm; }
void setDM(TDM *dm) { g_dm = dm; }

TDM::TDM(QObject *parent) : QObject(parent) {
    MyConnection1 = new Connection(QStringLiteral("MyConnection1"), this);
    MyConnection1->setUserName(QStringLiteral("root"));
    MyConnection1->setPassword(QStringLiteral("kqv7315"));
    MyConnection1->setConnectTimeout(120);
    MyConnection1->onConnectionLost = connectionLostPolicy;

    auto make = [this](const char *name) {
        auto *ds = new Dataset(MyConnection1, this);
        ds->setObjectName(QString::fromLatin1(name));
        return ds;
    };
    tbConfiguracao = make("tbConfiguracao");
    tbConfiguracao->setTableName(QStringLiteral("configuracao"));
    tbFilial = make("tbFilial");
    tbFilial->setSql(QStringLiteral("Select * from Filial"));
    tbturno = make("tbturno");
    tbturno->setSql(QStringLiteral("select * from turno\nOrder by controle"));
    tbConta = make("tbConta");
    tbConta->setTableName(QStringLiteral("conta"));
    tbContacorrente = make("tbContacorrente");
    tbContacorrente->setTableName(QStringLiteral("contacorrente"));
    tbSaida = make("tbSaida");
    tbSaida->setTableName(QStringLiteral("saida"));
    MyCliente = make("MyCliente");
    MyCliente->setSql(QStringLiteral("SELECT * FROM CLIENTE"));
    MyCliente->setMaster(tbSaida, QStringLiteral("Codigocliente"), QStringLiteral("Codigocliente"));
    tbCliente = make("tbCliente");
    tbCliente->setTableName(QStringLiteral("cliente"));
    tbParcela = make("tbParcela");
    tbParcela->setTableName(QStringLiteral("parcela"));
    tbFaturamento = make("tbFaturamento");
    tbFaturamento->setTableName(QStringLiteral("receber"));
}

TDM::~TDM() {
    if (g_dm == this) g_dm = nullptr;
}

void TDM::initialize() {
    const Settings &s = settings();
    MyConnection1->close();
    MyConnection1->setPort(s.porta);
    MyConnection1->setHost(s.servidor);
    MyConnection1->setDatabase(s.banco);
    MyConnection1->open();
    tbConfiguracao->open();
    tbFilial->open();
}

void TDM::ensureOpen(Dataset *ds) {
    if (!ds->isActive()) ds->open();
}

QString TDM::companyName() {
    ensureOpen(tbConfiguracao);
    return tbConfiguracao->isEmpty() ? QString() : tbConfiguracao->field("Nome").asString();
}

int TDM::currentBranchCode() {
    ensureOpen(tbFilial);
    return tbFilial->isEmpty() ? 0 : tbFilial->field("Codigofilial").asInteger();
}

QString TDM::currentBranchName() {
    ensureOpen(tbFilial);
    return tbFilial->isEmpty() ? QString() : tbFilial->field("Nomefilial").asString();
}

int TDM::currentShift() {
    ensureOpen(tbturno);
    return tbturno->isEmpty() ? 0 : tbturno->field("controle").asInteger();
}

void TDM::closeShared() {
    for (Dataset *ds :
         {tbFilial, tbConfiguracao, tbParcela, tbFaturamento, tbSaida, tbCliente, MyCliente})
        ds->close();
}

}  // namespace cr
