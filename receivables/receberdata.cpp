#include "receivables/receberdata.h"

#include "app/settings.h"
#include "receivables/likepattern.h"

namespace cr {

const char *const ReceberData::kDesignSql =
    "SELECT * FROM RECEBER\n"
    "WHERE NfCancelada <>'S' and ((Pago <> 'F') or (Pago is null)) and CODIGONOTA <0";
const char *const ReceberData::kAxVendasSql =
    "SELECT data,contador,codigoproduto,produto,preco,qt,obs,codigonota,sum(preco*qt) as total "
    "FROM itenssaida\nGroup by codigoproduto";
// Every cash-book row of the current installment's sale (the link adds the
// note and client), so the operator sees what was received for it.
const char *const ReceberData::kCaixaSql = "SELECT * FROM CAIXA";

namespace {
bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }

// Days late to `today`, or -1 when the installment is settled or not late.
int daysLate(const RecordView &r, const QDate &today) {
    if (!r.isNull(QStringLiteral("DataQuitacao"))) return -1;
    const QDate venc = r.asDate(QStringLiteral("DataVenc"));
    if (!venc.isValid()) return -1;
    const qint64 d = venc.daysTo(today);
    return d > 0 ? int(d) : 0;
}

double interest(const RecordView &r, const QDate &today) {
    const int d = daysLate(r, today);
    return d <= 0 ? 0.0 : d * settings().jurosDia / 100 * r.asFloat(QStringLiteral("Valor"));
}
}  // namespace

ReceberData::ReceberData(Connection *conn, QObject *parent) : QObject(parent) {
    MyReceber = new Dataset(conn, this);
    MyReceber->setObjectName(QStringLiteral("MyReceber"));
    MyReceber->setSql(QString::fromLatin1(kDesignSql));
    MyParcela = new Dataset(conn, this);
    MyParcela->setObjectName(QStringLiteral("MyParcela"));
    MyParcela->setSql(QStringLiteral("select * from parcela"));
    MyAxVendas = new Dataset(conn, this);
    MyAxVendas->setObjectName(QStringLiteral("MyAxVendas"));
    MyAxVendas->setSql(QString::fromUtf8(kAxVendasSql));
    MyAxVendas->setMaster(MyReceber, QStringLiteral("CodigoNota;CodigoCliente"),
                          QStringLiteral("Codigonota;Codigocliente"));
    MyCaixa = new Dataset(conn, this);
    MyCaixa->setObjectName(QStringLiteral("MyCaixa"));
    MyCaixa->setSql(QString::fromLatin1(kCaixaSql));
    MyCaixa->setMaster(MyReceber, QStringLiteral("CodigoNota;CodigoCliente"),
                       QStringLiteral("CodigoNota;CodigoCliente"));
    for (Dataset *d : {MyReceber, MyAxVendas, MyCaixa}) d->setAutoRefresh(true, 1);

    MyReceber->addCalculatedField(
        QStringLiteral("CartaoLiquido"), ColType::Double, [](const RecordView &r) {
            const double v = r.asFloat(QStringLiteral("Valor"));
            return QVariant(v - r.asFloat(QStringLiteral("Percentual")) * v / 100);
        });
    MyReceber->addCalculatedField(QStringLiteral("dias"), ColType::Double,
                                  [this](const RecordView &r) {
                                      const int d = daysLate(r, today());
                                      return d > 0 ? QVariant(double(d)) : QVariant();
                                  });
    MyReceber->addCalculatedField(
        QStringLiteral("JurosD"), ColType::Double, [this](const RecordView &r) {
            return daysLate(r, today()) < 0 ? QVariant() : QVariant(interest(r, today()));
        });
    MyReceber->addCalculatedField(
        QStringLiteral("valorjuros"), ColType::Double, [this](const RecordView &r) {
            if (daysLate(r, today()) < 0) return QVariant();
            return QVariant(r.asFloat(QStringLiteral("Valor")) + interest(r, today()));
        });
    MyReceber->addCalculatedField(
        QStringLiteral("jurosdesconto"), ColType::Double, [this](const RecordView &r) {
            if (daysLate(r, today()) < 0) return QVariant();
            return QVariant(interest(r, today()) - r.asFloat(QStringLiteral("Desconto")));
        });
    MyReceber->addCalculatedField(
        QStringLiteral("ValorDesconto"), ColType::Double, [this](const RecordView &r) {
            if (daysLate(r, today()) < 0) return QVariant();
            return QVariant(r.asFloat(QStringLiteral("Valor")) + interest(r, today()) -
                            r.asFloat(QStringLiteral("Desconto")));
        });
    MyReceber->addLookupField(QStringLiteral("Descricaoparcela"), ColType::String,
                              QStringLiteral("CodigoParcela"), MyParcela,
                              QStringLiteral("CodigoParcela"), QStringLiteral("Descparcela"));
    MyReceber->addLookupField(QStringLiteral("CondicaoAplicacao"), ColType::String,
                              QStringLiteral("CodigoParcela"), MyParcela,
                              QStringLiteral("CodigoParcela"), QStringLiteral("Aplicacao"));
    MyReceber->beforePost = [this](Dataset &ds) { beforePost(ds); };
    MyReceber->afterPost = [this](Dataset &ds) { afterPost(ds); };
}

QString ReceberData::textSearchSql(TextSearch kind, const QString &typed) {
    switch (kind) {
        case TextSearch::Codigo:
            return QStringLiteral(
                       "SELECT * FROM RECEBER WHERE (NfCancelada <>\"S\")  and ((Pago <> \"F\") or "
                       "(Pago is null)) and CODIGOCLIENTE LIKE(%1) ORDER BY CODIGOCLIENTE")
                .arg(likeLiteral(typed, false));
        case TextSearch::Nome:
            return QStringLiteral(
                       "SELECT * FROM RECEBER WHERE (NfCancelada <>\"S\") and ((Pago <> \"F\") or "
                       "(Pago is null)) and Nome LIKE(%1) ORDER BY Nome")
                .arg(likeLiteral(typed, true));
        case TextSearch::Nota:
            return QStringLiteral(
                       "SELECT * FROM RECEBER WHERE (NfCancelada <> \"S\" )  and ((Pago <> \"F\") "
                       "or (Pago is null)) and codigonota LIKE(%1) ORDER BY Codigonota,Datavenc")
                .arg(likeLiteral(typed, true));
        case TextSearch::Letra:
            return QStringLiteral(
                       "SELECT * FROM Receber WHERE (NfCancelada <>\"S\") and ((Pago <> \"F\") or "
                       "(Pago is null)) and NOME LIKE(%1) ORDER BY NOME")
                .arg(likeLiteral(typed, true));
    }
    return {};
}

QString ReceberData::dateSearchSql(DateSearch kind) {
    QString cond, order;
    switch (kind) {
        case DateSearch::Emissao:
            cond = QStringLiteral(
                "where (NfCancelada <>\"S\")  and ((Pago <> \"F\") or (Pago is null)) and "
                "(dataEmissao >=:dti and dataEmissao <=:dtf)");
            order = QStringLiteral("ORDER BY dataEmissao,Nome");
            break;
        case DateSearch::Vencimento:
            cond = QStringLiteral(
                "where (NfCancelada <>\"S\")  and ((Pago <> \"F\") or (Pago is null)) and "
                "(dataVenc "
                ">= :dti and dataVenc <= :dtf and isnull(dataquitacao))");
            order = QStringLiteral("ORDER BY dataVenc");
            break;
        case DateSearch::Quitacao:
            cond = QStringLiteral(
                "where (NfCancelada <>\"S\")  and ((Pago <> \"F\") or (Pago is null)) and "
                "(dataQuitacao >= :dti and dataQuitacao <= :dtf)");
            order = QStringLiteral("ORDER BY dataQuitacao,Nome");
            break;
    }
    return QStringLiteral("SELECT * from Receber \n") + cond + u'\n' + order;
}

void ReceberData::openDetails() {
    if (!MyParcela->isActive()) MyParcela->open();
    MyAxVendas->close();
    MyAxVendas->open();
    MyCaixa->close();
    MyCaixa->open();
}

void ReceberData::searchText(TextSearch kind, const QString &typed) {
    if (!MyParcela->isActive()) MyParcela->open();
    MyReceber->close();
    MyReceber->setSql(textSearchSql(kind, typed));
    MyReceber->execute();
    openDetails();
}

void ReceberData::searchDates(DateSearch kind, const QDate &dti, const QDate &dtf) {
    if (!MyParcela->isActive()) MyParcela->open();
    MyReceber->close();
    MyReceber->setSql(dateSearchSql(kind));
    MyReceber->setParam(QStringLiteral("Dti"), dti);
    MyReceber->setParam(QStringLiteral("Dtf"), dtf);
    MyReceber->open();
}

void ReceberData::appendInstallment() {
    if (!MyReceber->isActive()) MyReceber->open();
    if (!MyAxVendas->isActive()) MyAxVendas->open();
    if (!MyCaixa->isActive()) MyCaixa->open();
    if (!MyParcela->isActive()) MyParcela->open();
    MyReceber->append();
}

std::optional<QColor> ReceberData::rowColor(const RecordView &r, const QDate &today) {
    if (!r.dataset() || r.index() < 0) return std::nullopt;
    const bool settled = !r.isNull(QStringLiteral("DataQuitacao"));
    std::optional<QColor> c;
    if (settled && r.isNull(QStringLiteral("dInativotLan"))) c = kGreen;
    const QDate venc = r.asDate(QStringLiteral("DataVenc"));
    if (!settled && venc.isValid() && today > venc) c = kRed;
    return c;
}

void ReceberData::beforePost(Dataset &ds) {
    // The plan's description and application follow the plan on every save;
    // both empty when no plan matches.
    const QVariant desc = ds.field(QStringLiteral("Descricaoparcela")).value();
    const QVariant apl = ds.field(QStringLiteral("CondicaoAplicacao")).value();
    ds.field(QStringLiteral("DescParcela")).setValue(isNull(desc) ? QVariant() : desc);
    ds.field(QStringLiteral("Condicaovenda")).setValue(isNull(apl) ? QVariant() : apl);
}

void ReceberData::afterPost(Dataset &ds) {
    if (m_fixingControles) return;
    if (!ds.field(QStringLiteral("Controles")).isNull()) return;
    // A row saved without a control text takes its note number; a row with
    // neither is left as it is rather than saved again and again.
    const QString nota = ds.field(QStringLiteral("CodigoNota")).asString();
    if (nota.isEmpty()) return;
    m_fixingControles = true;
    try {
        ds.edit();
        ds.field(QStringLiteral("Controles")).setValue(nota);
        ds.post();
    } catch (...) {
        m_fixingControles = false;
        throw;
    }
    m_fixingControles = false;
}

}  // namespace cr
