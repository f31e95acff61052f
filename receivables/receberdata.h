#pragma once

#include <QColor>
#include <QDate>
#include <QObject>
#include <optional>

#include "data/dataset.h"

namespace cr {

// The main window's datasets and the rules they carry, apart from any
// widget: the list `MyReceber` with its calculated and plan lookup fields
// and save rules, the products `MyAxVendas` and cash rows `MyCaixa` of the
// current installment's sale, and the plans `MyParcela`.
class ReceberData : public QObject {
    Q_OBJECT
public:
    enum class TextSearch { Codigo, Nome, Nota, Letra };
    enum class DateSearch { Emissao, Vencimento, Quitacao };

    ReceberData(Connection *conn, QObject *parent = nullptr);

    Dataset *MyReceber;
    Dataset *MyAxVendas;
    Dataset *MyCaixa;
    Dataset *MyParcela;

    static const char *const kDesignSql;
    static const char *const kAxVendasSql;
    static const char *const kCaixaSql;

    // The list's text for a typed search (quoted), and for a date search.
    static QString textSearchSql(TextSearch kind, const QString &typed);
    static QString dateSearchSql(DateSearch kind);

    // Runs a text search: the list and its products and cash rows.
    void searchText(TextSearch kind, const QString &typed);
    void searchDates(DateSearch kind, const QDate &dti, const QDate &dtf);
    // Opens what "Incluir" needs, then appends an empty installment.
    void appendInstallment();

    // Red for overdue open rows, green for settled ones not reported to the
    // credit-protection service, nothing otherwise.
    static std::optional<QColor> rowColor(const RecordView &r, const QDate &today);
    static constexpr QColor kRed = QColor(255, 130, 130);
    static constexpr QColor kGreen = QColor(192, 220, 192);

    // Today as the calculated fields see it (tests set another day).
    QDate today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }
    void setToday(const QDate &d) { m_today = d; }

private:
    void beforePost(Dataset &ds);
    void afterPost(Dataset &ds);
    void openDetails();

    QDate m_today;
    bool m_fixingControles = false;
};

}  // namespace cr
