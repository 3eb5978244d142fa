#pragma once

#include "runtime/Variant.h"

#include <QString>

#include <cstdint>

namespace forms {
class ComboBox;
}

namespace framework {

// The label of a document type under the label scheme of the settings (cmbPais, and the
// per-user chkUsaNroRollo). Blanks and "/" are removed from tipo, which keeps the cleaned
// code; unknown codes read "X"; conPalabra adds "Factura " or "N/C " under scheme "0".
QString NombreComprobante(QString& tipo, bool conPalabra);

// Appends the rows of a query on the main database to a combo box: the first column is
// the item datum, the second the text. A selection beyond position 0 goes back to 0.
void LlenaCombo(const QString& consulta, forms::ComboBox& combo);

// Hours and minutes ("HH:MM") of a value; Null gives "".
QString FmtHora(const runtime::Variant& valor);

// The item datum of the selected entry, -1 with nothing selected.
std::int32_t itemdataV(const forms::ComboBox& combo);

// The name of a payment method code (0 to 5); "" for any other.
QString NombreFPago(std::int16_t codigo);

} // namespace framework
