// The overdue notice: front (one letter per client) and back (an
// addressing panel per open installment).
#include "reports/forms.h"
#include "reports/frame.h"

namespace reports {

using namespace rpt;

namespace {

const QString kAtrasoSql = QStringLiteral(
    "SELECT Controle, CodigoNota, Contro, CodigoCliente, Nome, CodigoFilial, Controles, "
    "iCodTitulotlan, bdeParcelatlan, bateParcelatlan, DataEmissao, DataVenc, DataQuitacao, "
    "dInativotLan, Data1Carta, Data2Carta, Valor, Desconto, sValJurostlan, sValDescontotlan, "
    "Cartorio, Carta01, Carta02, Condicao, Diferenca, Obs, Tipo, Fechada, Opcao, Total, TotalPg, "
    "Nfce, Pago FROM Receber WHERE   (DataVenc >=:DataI)   AND  (DataVenc <=:DataF)  AND  "
    "(DataQuitacao IS NULL)  Order By Nome,DataVenc");
const QString kVersoAtrasoSql = QStringLiteral(
    "SELECT * FROM Receber WHERE (DataVenc >=:DataI)  AND  (DataVenc <=:DataF)  AND  (DataQuitacao "
    "IS NULL)   Order By Nome,DataVenc");
// Address columns of the clients the back side prints, read before the
// letters stream, since no other statement may run while they do.
const QString kVersoClientesSql = QStringLiteral(
    "SELECT Codigocliente, Endereco, Numero, Complemento, Bairro, Cidade, Cep FROM cliente WHERE "
    "Codigocliente IN (SELECT CodigoCliente FROM Receber WHERE (DataVenc >=:DataI)  AND  (DataVenc "
    "<=:DataF)  AND  (DataQuitacao IS NULL)) ORDER BY Contador");

constexpr double kWidth = 190;

Layout atraso(const RunData &) {
    Layout l;
    l.paper = Paper::A4Portrait;
    l.pageHeader.push_back(form::band(
        BandKind::PageHeader, 16,
        {text(0, 1, 140, kCompany, {}, 16, true),
         sys(ItemKind::Date, 140, 1, 50, {}, 10, Align::Right), hline(0, 12, kWidth, 0.4)}));
    Group g;
    g.field = QStringLiteral("CodigoCliente");
    g.newPage = true;
    Band h = form::band(
        BandKind::GroupHeader, 44,
        {field(0, 4, kWidth, QStringLiteral("Nome"), {}, Align::Left, 11, true),
         label(0, 14, kWidth, QStringLiteral("Ref. Prestação Vencida"), 11, true, Align::Center),
         label(0, 24, kWidth,
               QStringLiteral("Comunicamos ao Sr. (a) que a prestação de sua compra, está em "
                              "atraso desde"),
               10),
         label(10, 36, 40, QStringLiteral("Nº do Título"), 9.5, true),
         label(55, 36, 30, QStringLiteral("Dt.Emissão"), 9.5, true),
         label(90, 36, 30, QStringLiteral("Vencimento "), 9.5, true),
         label(130, 36, 35, QStringLiteral("Valor R$"), 9.5, true, Align::Right),
         hline(10, 42, 155, 0.25)});
    h.items[0].text = QStringLiteral("Sr(a) : ");
    g.headers.push_back(h);
    g.footers.push_back(form::band(
        BandKind::GroupFooter, 112,
        {hline(130, 1, 35, 0.3),
         sum(130, 2, 35, QStringLiteral("Valor"), QStringLiteral("#,##0.00"), {}, Align::Right, 10,
             true),
         label(0, 16, kWidth,
               QStringLiteral(
                   "Solicitamos sua especial atenção para o ocorrido, pois a pontualidade faz o "
                   "bom crédito."),
               10),
         label(0, 24, kWidth, QStringLiteral("Contamos com a sua presença o mais breve possível."),
               10),
         label(0, 38, kWidth, QStringLiteral("Atenciosamente"), 10),
         label(0, 62, kWidth, QStringLiteral("________________________________________________"),
               10, false, Align::Center),
         label(0, 68, kWidth, QStringLiteral("Dep. de Crédito e Cobrança"), 10, false,
               Align::Center),
         label(0, 104, kWidth,
               QStringLiteral(
                   "Nota: Ao recebimento deste Aviso, já estiver pago, queira desconsiderá-lo."),
               8.5)}));
    l.groups.push_back(g);
    l.detail.push_back(
        form::band(BandKind::Detail, 5.5,
                   {field(10, 0.5, 40, QStringLiteral("CodigoNota"), {}, Align::Left, 10),
                    field(55, 0.5, 30, QStringLiteral("DataEmissao"), {}, Align::Left, 10),
                    field(90, 0.5, 30, QStringLiteral("DataVenc"), {}, Align::Left, 10),
                    field(130, 0.5, 35, QStringLiteral("Valor"), QStringLiteral("#,##0.00"),
                          Align::Right, 10)}));
    return l;
}

Layout versoAtraso(const RunData &data) {
    // The client record behind a row, found by its code.
    auto client = [clients = data.clients](const Record &r, const char *col) {
        return clients.value(keyText(r.value(QStringLiteral("CodigoCliente"))))
            .value(QString::fromLatin1(col));
    };
    auto company = [&data](const char *col) {
        return data.company.value(QString::fromLatin1(col)).toString();
    };
    const QString street =
        company("endereco") +
        (company("numero").isEmpty() ? QString() : QStringLiteral(", ") + company("numero"));
    const QString district = company("bairro") + QStringLiteral(" - ") + company("cidade");

    Layout l;
    l.paper = Paper::A4Portrait;
    // The sender: the name line prints the row's name, the rest is the shop.
    l.pageHeader.push_back(
        form::band(BandKind::PageHeader, 40,
                   {field(20, 10, 150, QStringLiteral("Nome"), {}, Align::Left, 11, true),
                    label(20, 17, 150, street, 10), label(20, 23, 150, district, 10),
                    label(20, 29, 150, company("tel1"), 10)}));
    auto line = [](double y, Expr e, const QString &prefix, double x = 20, double w = 150) {
        Item it = exprField(x, y, w, std::move(e), {}, Align::Left, 11);
        it.text = prefix;
        return it;
    };
    Band d = form::band(
        BandKind::Detail, 200,
        {line(
             150, [](const Record &r) { return r.value(QStringLiteral("Nome")); },
             QStringLiteral("Ilmo(a) Sr.(a) ")),
         line(
             158,
             [client](const Record &r) {
                 return QVariant(client(r, "endereco").toString() + QStringLiteral(", ") +
                                 client(r, "numero").toString());
             },
             QStringLiteral("Endereço : ")),
         line(
             166, [client](const Record &r) { return client(r, "complemento"); },
             QStringLiteral("Complemento : ")),
         line(
             174, [client](const Record &r) { return client(r, "bairro"); }, {}, 20, 80),
         line(
             174, [client](const Record &r) { return client(r, "cidade"); }, {}, 105, 65),
         line(182, [client](const Record &r) { return client(r, "cep"); }, {})});
    d.fillPage = true;
    l.detail.push_back(d);
    return l;
}

void prepareVerso(cr::Connection &conn, const ReportRequest &req, RunData &data) {
    cr::Params p;
    p.set(QStringLiteral("DataI"), req.dataI);
    p.set(QStringLiteral("DataF"), req.dataF);
    for (const QVariantHash &c : allRows(conn, kVersoClientesSql, p)) {
        const QString key = keyText(c.value(QStringLiteral("codigocliente")));
        if (!data.clients.contains(key)) data.clients.insert(key, c);
    }
}

}  // namespace

void addLetters(std::vector<ReportDef> &d) {
    ReportDef r;
    r.fiscal = true;
    r.hasTitle = false;
    r.name = QStringLiteral("TRptAtraso");
    r.sql = kAtrasoSql;
    r.layout = atraso;
    d.push_back(r);

    r.name = QStringLiteral("TRptVersoAtraso");
    r.sql = kVersoAtrasoSql;
    r.prepare = prepareVerso;
    r.layout = versoAtraso;
    d.push_back(r);
}

}  // namespace reports
