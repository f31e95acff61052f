// The six receivables and sales listings of the report menu.
#include "reports/forms.h"

namespace reports {

using namespace rpt;
using form::Col;

namespace {

const QString kMoney = QStringLiteral("#,##0.00");

const QString kValesAbertoSql = QStringLiteral(
    "SELECT * FROM  Receber WHERE (DataVenc >=:DataI) AND (DataVenc <=:DataF) AND (DataQuitacao IS "
    "NULL)  AND (Dinativotlan is Null) and (codigoparcela <> -1) and (NfCancelada <> \"S\" ) and "
    "(Aplicacao='CREDIARIO') Order By DataVenc,CondicaoVenda, Nome");
const QString kCobrancaGeralSql = QStringLiteral(
    "SELECT * FROM Receber WHERE (Datavenc >=:DataI) AND (Datavenc <=:DataF)  AND (DataQuitacao IS "
    "NULL) and (codigoparcela <> -1) and (NfCancelada <> \"S\" ) and (Aplicacao='CREDIARIO')  "
    "Order "
    "By nome,Datavenc");
const QString kReceberPgSql = QStringLiteral(
    "SELECT * FROM  Receber WHERE (Dataquitacao>=:DataI) AND (Dataquitacao <=:DataF) AND "
    "(Dataquitacao IS NOT NULL)  AND (CodigoCliente <> 6048)  AND (Codigoparcela <> -1) and "
    "(NfCancelada <> \"S\" ) and (Aplicacao='CREDIARIO') Order By "
    "Dataquitacao,CondicaoVenda,Nome,Codigonota");
const QString kAbertoEmissaoSql = QStringLiteral(
    "SELECT * FROM  Receber WHERE (Dataemissao >=:DataI) AND (Dataemissao <=:DataF) and "
    "(codigoparcela <> -1) and (NfCancelada <> \"S\" ) and (dataquitacao is null) Order By "
    "aplicacao,Nome,Dataemissao");
const QString kVendaVistaSql = QStringLiteral(
    "Select * from receber Where ((dataemissao >=:DataI) and (dataemissao <=:DataF)) and "
    "(dataquitacao is not null) and (NfCancelada <> \"S\") Order By Dataemissao, Nome");
const QString kVendaPrazoSql = QStringLiteral(
    "Select * from receber Where (dataemissao >=:DataI) and (dataemissao <=:DataF) and (Nome <> "
    "'VENDA A VISTA') and (dataquitacao is null) and (codigoparcela <> -1) and (NfCancelada <> "
    "\"S\" ) and (Aplicacao='CREDIARIO') Order By Dataemissao, Nome");

constexpr double kLandscape = 277;
constexpr double kPortrait = 190;
constexpr double kLetter = 195.9;

Band groupHeader(const QString &caption, const QString &fieldName) {
    return form::band(
        BandKind::GroupHeader, 6.5,
        {label(0, 1, 45, caption, 9, true), field(45, 1, 60, fieldName, {}, Align::Left, 9, true)});
}

// "Sub-Total => " and the sum under the value column, a rule above it.
Band sumBand(BandKind kind, const Col &valueCol, const QString &caption, const QString &fieldName,
             double labelWidth = 40) {
    return form::band(
        kind, 7,
        {hline(valueCol.x, 0.4, valueCol.w, 0.25), form::labelBefore(valueCol, labelWidth, caption),
         sum(valueCol.x, 0.5, valueCol.w, fieldName, kMoney, {}, Align::Right, 8.5, true)});
}

Band itemCount(const QString &caption) {
    return form::band(BandKind::PageFooter, 7,
                      {hline(0, 0.5, 60, 0.25), label(0, 1.5, 35, caption, 8.5, true),
                       sys(ItemKind::RowCount, 35, 1.5, 25, {}, 8.5, Align::Right)});
}

Layout valesAberto(const RunData &) {
    const std::vector<Col> cols{{0, 18, Align::Right},  {21, 92}, {115, 35}, {152, 38}, {192, 24},
                                {240, 37, Align::Right}};
    Layout l;
    l.paper = Paper::A4Landscape;
    l.pageHeader.push_back(form::pageHeader(kLandscape, ItemKind::Date, QStringLiteral("Data : "),
                                            QStringLiteral("Página : ")));
    l.columnHeader.push_back(form::titles(
        cols, {"Codigo", "Nome do Cliente", "Nota", "Cond.Venda", "Dt.Emissão", "Valor R$"}));
    Group g;
    g.field = QStringLiteral("DataVenc");
    g.headers.push_back(groupHeader(QStringLiteral("Data de Vencimento => "), g.field));
    g.footers.push_back(
        sumBand(BandKind::GroupFooter, cols[5], QStringLiteral("Sub-Total => "), "Valor"));
    l.groups.push_back(g);
    l.detail.push_back(
        form::row(cols, {"CodigoCliente", "Nome", "Controles", "Aplicacao", "DataEmissao", "Valor"},
                  {{}, {}, {}, {}, {}, kMoney}));
    l.summary.push_back(
        sumBand(BandKind::Summary, cols[5], QStringLiteral("Valor Total =>"), "Valor"));
    l.pageFooter.push_back(itemCount(QStringLiteral("Total de Itens => ")));
    return l;
}

Layout cobrancaGeral(const RunData &) {
    const std::vector<Col> cols{{2, 70},   {73, 28},  {102, 20},
                                {123, 20}, {144, 24}, {166, 22, Align::Right}};
    Layout l;
    l.paper = Paper::A4Portrait;
    l.pageHeader.push_back(form::pageHeader(kPortrait, ItemKind::Date, QStringLiteral("Data: "),
                                            QStringLiteral("Página: "), true));
    l.columnHeader.push_back(form::titles(
        cols, {"Nome do Cliente ", "Nº Nota", "Emissão ", "Inativação", "Condição", "Valor R$"},
        true));
    l.detail.push_back(
        form::row(cols, {"Nome", "Controles", "DataEmissao", "dInativotLan", "Condicao", "Valor"},
                  {{}, {}, {}, {}, {}, kMoney}));
    Band s =
        form::band(BandKind::Summary, 8,
                   {label(2, 1.5, 60, QStringLiteral("Quantidade de Lançamentos => "), 8.5, true),
                    sys(ItemKind::RowCount, 62, 1.5, 20, {}, 8.5, Align::Right),
                    sum(cols[5].x, 1.5, cols[5].w, "Valor", kMoney, {}, Align::Right, 8.5, true)});
    s.framed = true;
    l.summary.push_back(s);
    return l;
}

Layout receberPg(const RunData &) {
    const std::vector<Col> cols{
        {0, 18, Align::Right},  {21, 85}, {108, 26}, {136, 24}, {162, 24}, {188, 45},
        {240, 37, Align::Right}};
    Layout l;
    l.paper = Paper::A4Landscape;
    l.pageHeader.push_back(form::pageHeader(kLandscape, ItemKind::DateTime,
                                            QStringLiteral("Data/Hora :  "),
                                            QStringLiteral("Página: ")));
    l.columnHeader.push_back(
        form::titles(cols, {"Codigo", "Nome do Cliente ", "Nº Nota", "Dt.Emissão", "Vencimento",
                            "Cond.Venda", "Total Pgto."}));
    Group g;
    g.field = QStringLiteral("Dataquitacao");
    g.headers.push_back(groupHeader(QStringLiteral("Data de Quitação => "), g.field));
    Band f = sumBand(BandKind::GroupFooter, cols[6], QStringLiteral("Sub-Total R$ =>"), "TotalPg");
    f.height = 8.5;
    f.items.push_back(hline(0, 7.5, kLandscape, 0.25));
    g.footers.push_back(f);
    l.groups.push_back(g);
    l.detail.push_back(form::row(
        cols,
        {"CodigoCliente", "Nome", "CodigoNota", "DataEmissao", "DataVenc", "Condicao", "TotalPg"},
        {{}, {}, {}, {}, {}, {}, kMoney}));
    Band s = sumBand(BandKind::Summary, cols[6], QStringLiteral("Valor Total => "), "TotalPg");
    s.items.push_back(label(0, 0.5, 45, QStringLiteral("Quantidade de Vales => "), 8.5, true));
    s.items.push_back(sys(ItemKind::RowCount, 45, 0.5, 20, {}, 8.5, Align::Right));
    l.summary.push_back(s);
    return l;
}

Layout abertoEmissao(const RunData &) {
    const std::vector<Col> cols{{0, 18},
                                {20, 30},
                                {52, 16, Align::Right},
                                {70, 72},
                                {144, 18},
                                {164, 22},
                                {187, 22},
                                {210, 22},
                                {233, 21, Align::Right},
                                {256, 21, Align::Right}};
    Layout l;
    l.paper = Paper::A4Landscape;
    l.pageHeader.push_back(form::pageHeader(kLandscape, ItemKind::Date, QStringLiteral("Data : "),
                                            QStringLiteral("Página : ")));
    l.columnHeader.push_back(
        form::titles(cols, {"Nota", "Nº Contr.", "Codigo", "Nome do Cliente", "Nfce", "Dt,Emissão",
                            "Dt.Venc.", "Dt.Quitado", "Valor R$", "Vl.Pagto"}));
    Group g;
    g.field = QStringLiteral("Aplicacao");
    g.headers.push_back(groupHeader(QStringLiteral("Condição de Venda => "), g.field));
    g.footers.push_back(
        sumBand(BandKind::GroupFooter, cols[8], QStringLiteral("Sub-Total => "), "Valor"));
    l.groups.push_back(g);
    l.detail.push_back(form::row(cols,
                                 {"CodigoNota", "Controles", "CodigoCliente", "Nome", "nfce",
                                  "DataEmissao", "DataVenc", "DataQuitacao", "Valor", "TotalPg"},
                                 {{}, {}, {}, {}, {}, {}, {}, {}, kMoney, kMoney}));
    l.summary.push_back(
        sumBand(BandKind::Summary, cols[8], QStringLiteral("Valor Total =>"), "Valor"));
    l.pageFooter.push_back(itemCount(QStringLiteral("Total de Itens => ")));
    return l;
}

// Both sales listings: the column titles and the "Tipo de Venda => " line
// open every run of equal plan descriptions.
Layout venda(const QStringList &titleTexts, const QStringList &fields, const QString &typeField,
             const QString &valueField, const QString &totalCaption) {
    std::vector<Col> cols;
    if (fields.size() == 5)
        cols = {{0, 18, Align::Right}, {21, 90}, {113, 26}, {141, 24}, {167, 28.9, Align::Right}};
    else
        cols = {{0, 18, Align::Right},    {21, 70}, {93, 24}, {119, 24}, {145, 24},
                {170, 25.9, Align::Right}};
    Layout l;
    l.paper = Paper::LetterPortrait;
    l.pageHeader.push_back(form::pageHeader(kLetter, ItemKind::Date, QStringLiteral("Data : "),
                                            QStringLiteral("Pagina : ")));
    Group g;
    g.field = QStringLiteral("DescParcela");
    g.headers.push_back(form::titles(cols, titleTexts, false, BandKind::GroupHeader));
    g.headers.push_back(groupHeader(QStringLiteral("Tipo de Venda => "), typeField));
    Band f = form::band(
        BandKind::GroupFooter, 7,
        {hline(cols.back().x, 0.4, cols.back().w, 0.25),
         sum(cols.back().x, 0.5, cols.back().w, valueField, kMoney, {}, Align::Right, 8.5, true)});
    g.footers.push_back(f);
    l.groups.push_back(g);
    QStringList masks;
    for (int i = 0; i < fields.size(); ++i) masks << (i == fields.size() - 1 ? kMoney : QString());
    l.detail.push_back(form::row(cols, fields, masks));
    l.summary.push_back(sumBand(BandKind::Summary, cols.back(), totalCaption, valueField, 50));
    return l;
}

}  // namespace

void addListings(std::vector<ReportDef> &d) {
    ReportDef r;
    r.fiscal = true;

    r.name = QStringLiteral("TRptValesAberto");
    r.sql = kValesAbertoSql;
    r.caption = QStringLiteral("Relatório de Contas a Receber em Abertos no Período: ");
    r.captionFiscal =
        QStringLiteral("Relatório de Contas a Receber em Abertos Por Vencimento no Período: ");
    r.layout = valesAberto;
    d.push_back(r);

    r.name = QStringLiteral("TRptCobrancaGeral");
    r.sql = kCobrancaGeralSql;
    r.caption = QStringLiteral("Relatorio em Aberto Geral  por Cliente no Periodo ");
    r.captionFiscal.clear();
    r.layout = cobrancaGeral;
    d.push_back(r);

    r.name = QStringLiteral("TRptReceberPg");
    r.sql = kReceberPgSql;
    r.caption = QStringLiteral("Relação Geral de Contas a Receber Quitado no Período: ");
    r.layout = receberPg;
    d.push_back(r);

    r.name = QStringLiteral("TRptResumoRecberAbertoEmissao");
    r.sql = kAbertoEmissaoSql;
    r.caption = QStringLiteral("Relatório de Contas a Receber em Abertos no Período: ");
    r.layout = abertoEmissao;
    d.push_back(r);

    r.fiscal = false;
    r.name = QStringLiteral("TRptVendaVista");
    r.sql = kVendaVistaSql;
    r.caption = QStringLiteral("Relatório de Venda a Vista no Período: ");
    r.layout = [](const RunData &) {
        return venda({"Codigo", "Nome do Cliente", "Nº Nota", "Dt.Emissão", "Valor R$"},
                     {"CodigoCliente", "Nome", "CodigoNota", "DataEmissao", "TotalPg"},
                     QStringLiteral("Condicao"), QStringLiteral("TotalPg"),
                     QStringLiteral("Total de Vendas => "));
    };
    d.push_back(r);

    r.name = QStringLiteral("TRptVendaPrazo");
    r.sql = kVendaPrazoSql;
    r.caption = QStringLiteral("Relatório de Venda a Prazo no Período: ");
    r.layout = [](const RunData &) {
        return venda(
            {"Codigo", "Nome do Cliente", "Nº Nota", "Dt.Emissão", "Dt.Vencimento", "Valor R$"},
            {"CodigoCliente", "Nome", "CodigoNota", "DataEmissao", "DataVenc", "Valor"},
            QStringLiteral("DescParcela"), QStringLiteral("Valor"),
            QStringLiteral("Total de Venda => "));
    };
    d.push_back(r);
}

}  // namespace reports
