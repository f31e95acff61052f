// Card listings (with the operator's fee and the net value) and cheque
// listings.
#include "reports/forms.h"

namespace reports {

using namespace rpt;
using form::Col;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");

const QString kCartaoQuitadoSql = QStringLiteral(
    "SELECT * FROM  receber WHERE ((dataquitacao >=:DataI) AND (dataquitacao <=:DataF)) and "
    "((condicaovenda ='CARTÃO DEBITO') or (condicaovenda ='CARTÃO CREDITO'))  AND (dataquitacao IS "
    "Not NULL)  Order by dataquitacao, condicaovenda, nomecliente");
const QString kCartaoEmissaoSql = QStringLiteral(
    "SELECT * FROM  Receber WHERE ((DataEmissao >=:DataI) AND (DataEmissao <=:DataF)) and "
    "((condicaovenda ='CARTÃO DEBITO') or (condicaovenda ='CARTÃO CREDITO')) AND (DataQuitacao  IS "
    "NULL)  Order by Dataemissao, CondicaoVenda, Nomecliente");
const QString kCartaoVencimentoSql = QStringLiteral(
    "SELECT * FROM  Receber WHERE ((DataVenc >=:DataI) AND (DataVenc <=:DataF)) and "
    "((condicaovenda ='CARTÃO DEBITO') or (condicaovenda ='CARTÃO CREDITO'))  AND (DataQuitacao IS "
    "NULL)  Order by DataVenc, CondicaoVenda, Nomecliente");

const QString kChequeColumns = QStringLiteral(
    "SELECT Controle, CodigoNota, Contro, Cont, Ncartao, CodigoCliente, Nome, CodigoFilial, "
    "CodigoParcela, DescParcela, Controles, iCodTitulotlan, bdeParcelatlan, bateParcelatlan, "
    "DataEmissao, DataVenc, DataQuitacao, dInativotLan, Data1carta, Data2carta, Carta01, Carta02, "
    "Desconto, Valor, sValJurostlan, sValDescontotlan, Cartorio, Condicao, Diferenca, Obs, Tipo, "
    "Fechada, Opcao, Opcaovenda, OpcaoJuros, Total, TotalPg, DataNascimento, Codigocartao, "
    "Nomecartao, Numero, Condicaovenda, Impinvativo, Boinativo, CodigoFuncionario, "
    "NomeFuncionario, Comissao, Pago, Ro, Banco, Conta, Agencia, NumeroCheque, Titular, "
    "ValorOperacao, DataEmi, TipoRecebimento\n"
    "FROM  Receber\n");
const QString kChequeSql =
    kChequeColumns +
    QStringLiteral(
        "WHERE   (DataVenc >=:DataI)   AND  (DataVenc <=:DataF)  AND (CondicaoVenda = "
        "'CHEQUE') AND (DataQuitacao is null)\n"
        "Order By CondicaoVenda, DataVenc, Nome");
const QString kChequeQSql =
    kChequeColumns + QStringLiteral(
                         "WHERE   (Dataquitacao >=:DataI)   AND  (Dataquitacao <=:DataF)  AND "
                         "(CondicaoVenda = 'CHEQUE') AND (DataQuitacao is not null)\n"
                         "Order By CondicaoVenda, Dataquitacao, Nome");

constexpr double kLandscape = 277;
constexpr double kLetter = 195.9;

// value - value * Percentual / 100, an empty fee counting as none.
Expr netOf(const QString &valueField) {
    return [valueField](const Record &r) -> QVariant {
        const QVariant v = r.value(valueField);
        if (v.isNull()) return {};
        const double value = v.toDouble();
        const double perc = r.value(QStringLiteral("Percentual")).toDouble();
        return value - (value * perc) / 100;
    };
}

Band groupHeader(const QString &caption, const QString &fieldName) {
    return form::band(
        BandKind::GroupHeader, 6.5,
        {label(0, 1, 45, caption, 9, true), field(45, 1, 60, fieldName, {}, Align::Left, 9, true)});
}

Layout card(const QString &fourthTitle, const QString &fourthField, const QString &groupCaption,
            const QString &groupField, const QString &valueField) {
    const std::vector<Col> cols{{0, 70},
                                {72, 30},
                                {104, 32},
                                {138, 22},
                                {162, 36},
                                {200, 25, Align::Right},
                                {227, 16, Align::Right},
                                {245, 32, Align::Right}};
    Layout l;
    l.paper = Paper::A4Landscape;
    l.pageHeader.push_back(form::pageHeader(kLandscape, ItemKind::Date, QStringLiteral("Data: "),
                                            QStringLiteral("Página: ")));
    l.columnHeader.push_back(
        form::titles(cols, {"Nome do Cliente", "Banco", "Nº Controle", fourthTitle, "Tipo de Venda",
                            "Valor R$", "Perc.%", "C/Desc."}));
    Group g;
    g.field = groupField;
    g.headers.push_back(groupHeader(groupCaption, groupField));
    auto totals = [&](BandKind kind, const QString &caption, const QString &valueMask) {
        return form::band(
            kind, 7,
            {hline(cols[5].x, 0.4, cols[7].x + cols[7].w - cols[5].x, 0.25),
             form::labelBefore(cols[5], 35, caption),
             sum(cols[5].x, 0.5, cols[5].w, valueField, valueMask, {}, Align::Right, 8.5, true),
             sumOf(cols[7].x, 0.5, cols[7].w, netOf(valueField), kMoney, Align::Right, 8.5, true)});
    };
    g.footers.push_back(totals(BandKind::GroupFooter, QStringLiteral("Sub-Total => "),
                               QStringLiteral("####,##0.00")));
    l.groups.push_back(g);
    Band d = form::row(cols,
                       {"NomeCliente", "Banco", "Controles", fourthField, "Condicaovenda",
                        valueField, "Percentual"},
                       {{}, {}, {}, {}, {}, kMoney, kMoney});
    d.items.push_back(
        exprField(cols[7].x, 0.3, cols[7].w, netOf(valueField), kMoney, Align::Right, 8.5));
    l.detail.push_back(d);
    l.summary.push_back(totals(BandKind::Summary, QStringLiteral("Total R$ => "), kMoney));
    return l;
}

Layout cheque(const QString &groupCaption, const QString &groupField) {
    const std::vector<Col> cols{{0, 18, Align::Right},    {21, 72}, {95, 28}, {125, 22}, {149, 22},
                                {172, 23.9, Align::Right}};
    Layout l;
    l.paper = Paper::LetterPortrait;
    l.pageHeader.push_back(form::pageHeader(kLetter, ItemKind::Date, QStringLiteral("Data : "),
                                            QStringLiteral("Pagina : ")));
    l.columnHeader.push_back(form::titles(
        cols, {"Codigo", "Nome do Cliente", "Nº Cheque", "Dt.Emissão", "Dt.Quitação", "Valor R$"}));
    Group g;
    g.field = groupField;
    g.headers.push_back(groupHeader(groupCaption, groupField));
    g.footers.push_back(
        form::band(BandKind::GroupFooter, 7,
                   {hline(cols[5].x, 0.4, cols[5].w, 0.25),
                    form::labelBefore(cols[5], 35, QStringLiteral("Sub-Total => ")),
                    sum(cols[5].x, 0.5, cols[5].w, "Valor", kMoney, {}, Align::Right, 8.5, true)}));
    l.groups.push_back(g);
    l.detail.push_back(form::row(
        cols, {"CodigoCliente", "Nome", "NumeroCheque", "DataEmissao", "DataQuitacao", "Valor"},
        {{}, {}, {}, {}, {}, kMoney}));
    l.summary.push_back(
        form::band(BandKind::Summary, 7,
                   {hline(cols[5].x, 0.4, cols[5].w, 0.25),
                    label(0, 0.5, 45, QStringLiteral("Quantidade de Notas => "), 8.5, true),
                    sys(ItemKind::RowCount, 45, 0.5, 20, {}, 8.5, Align::Right),
                    sum(cols[5].x, 0.5, cols[5].w, "Valor", kMoney, {}, Align::Right, 8.5, true)}));
    return l;
}

}  // namespace

void addCardAndCheque(std::vector<ReportDef> &d) {
    ReportDef r;
    r.fiscal = true;
    r.name = QStringLiteral("TRptCartaoQuitado01");
    r.sql = kCartaoQuitadoSql;
    r.caption = QStringLiteral(
        "Relatório de Vendas Com Cartão de Crédito ou e Debito já Quitado no Período: ");
    r.layout = [](const RunData &) {
        return card(QStringLiteral("Vencimento"), QStringLiteral("DataVenc"),
                    QStringLiteral("Data de Quitação => "), QStringLiteral("DataQuitacao"),
                    QStringLiteral("TotalPg"));
    };
    d.push_back(r);

    r.name = QStringLiteral("TRptCartaoEmissao");
    r.sql = kCartaoEmissaoSql;
    r.caption = QStringLiteral("Relatório de Vendas Com Cartão Por Data de Emissão no Período: ");
    r.layout = [](const RunData &) {
        return card(QStringLiteral("Vencimento"), QStringLiteral("DataVenc"),
                    QStringLiteral("Data de Emissão => "), QStringLiteral("DataEmissao"),
                    QStringLiteral("Valor"));
    };
    d.push_back(r);

    r.name = QStringLiteral("TRptCartaoVencimento");
    r.sql = kCartaoVencimentoSql;
    r.caption =
        QStringLiteral("Relatório de Vendas Com Cartão Por Data de Vencimento no Período: ");
    r.layout = [](const RunData &) {
        return card(QStringLiteral("Emissão"), QStringLiteral("DataEmissao"),
                    QStringLiteral("Data de Vencimento => "), QStringLiteral("DataVenc"),
                    QStringLiteral("Valor"));
    };
    d.push_back(r);

    r.fiscal = false;
    r.name = QStringLiteral("TRptCheque");
    r.sql = kChequeSql;
    r.caption = QStringLiteral("Relatório de Contas a Receber em Abertos com Cheque no Período: ");
    r.layout = [](const RunData &) {
        return cheque(QStringLiteral("Data de Vencimento => "), QStringLiteral("DataVenc"));
    };
    d.push_back(r);

    r.name = QStringLiteral("TRptChequeQ");
    r.sql = kChequeQSql;
    r.caption = QStringLiteral("Relatório de Contas a Receber Quitados com Cheque no Período: ");
    r.layout = [](const RunData &) {
        return cheque(QStringLiteral("Data de Quitação => "), QStringLiteral("DataQuitacao"));
    };
    d.push_back(r);
}

}  // namespace reports
