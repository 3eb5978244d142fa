#pragma once

#include <QString>

namespace data {
class Field;
class Recordset;
} // namespace data

namespace framework {

class TmpreportParametersWindow;

// The sales query of the report builders: the 16 columns of each sale, its user's nickname
// among them, under the filter given, ordered by ticket date and time.
QString salesQuery(const QString& filtro);
// The period of a sales filter: the sales of a shift (a tag whose value is not 0) or those
// dated within a range of days, both days included.
QString salesPeriodFilter(const QString& tag, double desde, double hasta);

// Copies the sales query's 16 columns of the sale in hand into campo1 to campo16 of the new
// row of tmpreport; campo13 takes the sale's date when it has no ticket date.
void copySale(data::Recordset& tmp, data::Recordset& ventas);

// The items of one sale as the report builders read them: the rows of the deleted-products
// table with a positive quantity, and the sale's remaining lines grouped per product name,
// amount, state and product and marked 'ADIC'; ordered by time and type. With
// sinProductoMenos8 the remaining lines of product -8 are left out.
QString saleItemsQuery(const QString& idventa, bool isMSSQL, bool sinProductoMenos8 = false);

// Writes a build's item rows into tmpreport. The motive of an "ITEM" row goes to the next
// item row of its sale; a sale's first item row with neither user nor motive takes the
// user and motive of the sale's audit entry.
class SaleItemWriter {
public:
    // Writes into tmp, open on tmpreport for the build.
    SaleItemWriter(TmpreportParametersWindow& window, data::Recordset& tmp);

    // A new sale, whose detail rows det holds (open): no motive carried.
    void beginSale(data::Recordset& det);
    // Reads the detail row in hand: an "ITEM" row keeps its motive and gives false; a row
    // without type gives false; any other row is an item to write.
    bool isItem();
    // Completes the new row of tmpreport from the detail row and saves it: its 13 columns
    // from campo16 on, its sale in campo1, "ANULADO" as the type of a voided sale's line,
    // the motive in campo25 and campo26 and the user in campo27.
    void write(bool anulada);

private:
    TmpreportParametersWindow& m_window;
    data::Recordset& m_tmp;
    data::Recordset* m_det = nullptr;
    // The columns written and read by name, found once.
    data::Field *m_campo1, *m_campo24, *m_campo25, *m_campo26, *m_campo27;
    data::Field *m_tipo = nullptr, *m_motivoItem = nullptr, *m_idventa = nullptr, *m_usuario = nullptr;
    QString m_pendingMotive;
    double m_lastSupplementedSale = 0;
};

} // namespace framework
