// The three receipts on 74 mm paper: the payment receipt by Controle and by
// Controles, and the sale receipt of a note.
#include "app/brformat.h"
#include "reports/forms.h"
#include "reports/frame.h"

namespace reports {

using namespace rpt;

namespace {

const QString kRecibo001Sql = QStringLiteral(
    "Select Controle,Codigonota,Controles,codigocliente,nome,dataEmissao,DataVenc,DescParcela,"
    "Valor,Condicao,tipopagamento,Totalpg,Usuario,numeroautenticacao From Receber Where controle "
    "=:MNota Order By Codigonota");
const QString kRecibo0001Sql = QStringLiteral(
    "Select Controle,Codigonota,Controles,codigocliente,nome,dataEmissao,DataVenc,DescParcela,"
    "Valor,Condicao,tipopagamento,Totalpg,Usuario From Receber Where controles =:MNota Order By "
    "Codigonota");
const QString kVendaSql = QStringLiteral(
    "select receber.Nomefuncionario,Descparcela,receber.Descparcela,receber.Datavenc,"
    "receber.controles,receber.codigonota,receber.total,receber.valor,receber.desconto,"
    "receber.codigocliente,receber.dataemissao, "
    "cliente.codigocliente,cliente.endereco,cliente.cidade,cliente.bairro,cliente.nome from "
    "Receber "
    "left join cliente on receber.codigocliente =cliente.codigocliente Where receber.codigonota "
    "=:MNota Order by receber.codigonota");
const QString kItensSql = QStringLiteral(
    "Select Codigonota,codigoproduto,produto,qt,preco,Data,Codigocliente From Itenssaida Where "
    "Codigonota=:MNota Order By Codigonota");
const QString kParcelasSql = QStringLiteral(
    "Select Codigonota,Controles,codigocliente,dataEmissao,DataVenc,DescParcela,Valor From Receber "
    "Where codigonota =:MNota Order By Codigonota");

constexpr double kW = 74;
const QString kMoney = QStringLiteral("#,##0.00");

QString joined(const QStringList &parts, const QString &sep) {
    QStringList kept;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    return kept.join(sep);
}

// Company block: name, street, town line, telephones, a rule below.
Band companyBlock(const RunData &data) {
    auto c = [&](const char *col) {
        return data.company.value(QString::fromLatin1(col)).toString();
    };
    return form::band(
        BandKind::PageHeader, 21,
        {text(1, 1, kW - 2, kCompany, {}, 11, true, Align::Center),
         label(1, 7, kW - 2, c("endereco"), 7, false, Align::Center),
         label(1, 10.5, kW - 2, joined({c("cidade"), c("bairro"), c("estado"), c("cep")}, " "), 7,
               false, Align::Center),
         label(1, 14, kW - 2, joined({c("tel1"), c("tel2")}, "  "), 7, false, Align::Center),
         hline(1, 19, kW - 2, 0.3)});
}

Layout paymentReceipt(const RunData &data, bool withAuthentication) {
    Layout l;
    l.paper = Paper::Receipt74x120;
    l.maxRows = 1;  // several rows of one Controles: the first is the receipt
    l.pageHeader.push_back(companyBlock(data));
    const double pt = 7.5;
    auto lbl = [pt](double x, double y, double w, const char *t, bool bold = false) {
        return label(x, y, w, QString::fromUtf8(t), pt, bold);
    };
    auto fld = [pt](double x, double y, double w, const char *f, const QString &mask = {},
                    Align a = Align::Left, bool bold = false) {
        return field(x, y, w, QString::fromLatin1(f), mask, a, pt, bold);
    };
    Band b = form::band(
        BandKind::Detail, 90,
        {label(1, 0, kW - 2, QStringLiteral("Controle de Pagamento"), 9, true, Align::Center),
         lbl(2, 6, 14, "Nº Nota : "),
         fld(16, 6, 24, "Controles"),
         lbl(41, 6, 14, "Dt.Venc : "),
         fld(55, 6, 18, "DataVenc"),
         lbl(2, 10.5, 15, "Condição : "),
         fld(17, 10.5, 55, "Condicao"),
         lbl(2, 15, 26, "Opção na Compra :"),
         fld(28, 15, 44, "DescParcela"),
         lbl(2, 19.5, 28, "Tipo de Pagamento : "),
         fld(30, 19.5, 42, "tipopagamento"),
         lbl(2, 24, 26, "Resp.Recebimento"),
         fld(28, 24, 44, "Usuario"),
         hline(1, 29.5, kW - 2, 0.3),
         sys(ItemKind::Time, 2, 31, 32, QStringLiteral("Hora : "), pt),
         sys(ItemKind::Date, 36, 31, 36, QStringLiteral("Data : "), pt, Align::Right),
         lbl(2, 35.5, 13, "Codigo : "),
         fld(15, 35.5, 20, "codigocliente"),
         lbl(38, 35.5, 12, "Nome : "),
         fld(2, 40, kW - 4, "nome"),
         hline(1, 45.5, kW - 2, 0.3),
         lbl(2, 47.5, 34, "Valor do Pago R$", true),
         fld(36, 47.5, 36, "Totalpg", kMoney, Align::Right, true),
         hline(1, 53, kW - 2, 0.3),
         label(1, 55, kW - 2, QStringLiteral("Cadastre seu Email "), pt, false, Align::Center),
         label(1, 59, kW - 2, QStringLiteral("Para receber as Promoções"), pt, false,
               Align::Center)});
    if (withAuthentication) {
        Item aut = fld(2, 85, 60, "numeroautenticacao");
        aut.text = QStringLiteral("Aut.: ");
        b.items.push_back(aut);
    }
    l.detail.push_back(b);
    return l;
}

Layout saleReceipt(const RunData &data) {
    Layout l;
    l.paper = Paper::Receipt74x165;
    l.pageHeader.push_back(companyBlock(data));
    const double pt = 7.5;
    auto v = [&data](const char *col, const QString &mask = {}) {
        return formatValue(data.sale.value(QString::fromLatin1(col)), mask);
    };
    auto lbl = [pt](double x, double y, double w, const QString &t, bool bold = false,
                    Align a = Align::Left) { return label(x, y, w, t, pt, bold, a); };
    l.title.push_back(form::band(
        BandKind::Title, 33,
        {lbl(2, 0, 14, QStringLiteral("Nº Nota : ")), lbl(16, 0, 24, v("codigonota")),
         lbl(41, 0, 10, QStringLiteral("Data : ")), lbl(51, 0, 21, v("dataemissao")),
         lbl(2, 4.5, 13, QStringLiteral("Codigo : ")), lbl(15, 4.5, 20, v("codigocliente")),
         lbl(38, 4.5, 12, QStringLiteral("Nome : ")), lbl(2, 9, kW - 4, v("nome")),
         lbl(2, 13.5, 16, QStringLiteral("Endereço : ")), lbl(18, 13.5, 54, v("endereco")),
         lbl(2, 18, 16, QStringLiteral("Bai./Cid.:  ")),
         lbl(18, 18, 54, joined({v("bairro"), v("cidade")}, QStringLiteral(" / "))),
         lbl(2, 22.5, 16, QStringLiteral("Vendedor : ")), lbl(18, 22.5, 54, v("nomefuncionario")),
         hline(1, 27.5, kW - 2, 0.3), lbl(2, 28.5, 10, QStringLiteral("Cod."), true),
         lbl(12, 28.5, 60, QStringLiteral("Descrição do Produto"), true)}));
    l.detail.push_back(
        form::band(BandKind::Detail, 9,
                   {field(2, 0, 10, QStringLiteral("codigoproduto"), {}, Align::Left, pt),
                    field(12, 0, 60, QStringLiteral("produto"), {}, Align::Left, pt),
                    lbl(2, 4.2, 8, QStringLiteral("Qt.: ")),
                    field(10, 4.2, 10, QStringLiteral("qt"), kMoney, Align::Right, pt),
                    lbl(22, 4.2, 12, QStringLiteral("Pr.Unit.")),
                    field(33, 4.2, 12, QStringLiteral("preco"), kMoney, Align::Right, pt),
                    lbl(46, 4.2, 13, QStringLiteral("Toal R$ : ")),
                    exprField(
                        57, 4.2, 15,
                        [](const Record &r) {
                            return QVariant(r.value(QStringLiteral("Preco")).toDouble() *
                                            r.value(QStringLiteral("Qt")).toDouble());
                        },
                        kMoney, Align::Right, pt)}));

    const double total = data.sale.value(QStringLiteral("total")).toDouble();
    const double desconto = data.sale.value(QStringLiteral("desconto")).toDouble();
    Band s = form::band(
        BandKind::Summary, 0,
        {hline(1, 0.5, kW - 2, 0.3), lbl(2, 1.5, 40, QStringLiteral("Total Produtos R$ ")),
         lbl(42, 1.5, 30, v("total", kMoney), false, Align::Right),
         lbl(2, 6, 40, QStringLiteral("Desconto R$")),
         lbl(42, 6, 30, v("desconto", kMoney), false, Align::Right),
         lbl(2, 10.5, 40, QStringLiteral("Total a Pagar R$ "), true),
         lbl(42, 10.5, 30, br::formatFloat(kMoney, total - desconto), true, Align::Right),
         hline(1, 15.5, kW - 2, 0.3), lbl(2, 16.5, 18, QStringLiteral("Dt.Venc."), true),
         lbl(20, 16.5, 30, QStringLiteral("Desc.Parcela(s)"), true),
         lbl(50, 16.5, 22, QStringLiteral("Valor R$"), true, Align::Right)});
    // One line per installment: date, one blank, plan, six blanks, value.
    double y = 21;
    for (const QVariantHash &p : data.installments) {
        const QString lineText =
            br::formatDate(p.value(QStringLiteral("datavenc")).toDate()) + QStringLiteral(" ") +
            p.value(QStringLiteral("descparcela")).toString() + QStringLiteral("      ") +
            br::formatFloat(QStringLiteral("###,##0.00"),
                            p.value(QStringLiteral("valor")).toDouble());
        s.items.push_back(lbl(2, y, kW - 4, lineText));
        y += 4;
    }
    y += 2;
    for (const char *t :
         {"Obrigado pela preferencia", "VOLTE SEMPRE", "NAO VALE COMO CUPOM FISCAL"}) {
        s.items.push_back(lbl(1, y, kW - 2, QString::fromLatin1(t), true, Align::Center));
        y += 4;
    }
    s.height = y + 1;
    l.summary.push_back(s);
    return l;
}

void prepareSale(cr::Connection &conn, const ReportRequest &req, RunData &data) {
    cr::Params p;
    p.set(QStringLiteral("MNota"), req.nota);
    data.sale = firstRow(conn, kVendaSql, p);
    data.installments = allRows(conn, kParcelasSql, p);
}

}  // namespace

void addReceipts(std::vector<ReportDef> &d) {
    ReportDef r;
    r.byNote = true;
    r.hasTitle = false;
    r.name = QStringLiteral("TRptRecibo001");
    r.sql = kRecibo001Sql;
    r.layout = [](const RunData &data) { return paymentReceipt(data, true); };
    d.push_back(r);

    r.name = QStringLiteral("TRptRecibo0001");
    r.sql = kRecibo0001Sql;
    r.layout = [](const RunData &data) { return paymentReceipt(data, false); };
    d.push_back(r);

    r.name = QStringLiteral("TRptReciboNotas001");
    r.sql = kItensSql;
    r.prepare = prepareSale;
    r.layout = saleReceipt;
    d.push_back(r);
}

}  // namespace reports
