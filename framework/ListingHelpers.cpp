#include "ListingHelpers.h"

#include "ErrorLog.h"
#include "UserSettings.h"
#include "clsDataBase.h"

#include "data/Recordset.h"
#include "forms/ComboBox.h"
#include "runtime/Format.h"
#include "runtime/RuntimeError.h"

namespace framework {

namespace {
const ErrorOrigin ModuleOrigin = ErrorOrigin::module(QStringLiteral("mFunciones"));
}

QString NombreComprobante(QString& tipo, bool conPalabra) {
    if (tipo.isEmpty()) return {};
    tipo.remove(QLatin1Char(' '));
    tipo.remove(QLatin1Char('/'));
    const QStringList codes{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("NCA"),
                            QStringLiteral("NCB")};
    const int code = static_cast<int>(codes.indexOf(tipo));
    if (code < 0) return QStringLiteral("X");
    const QString pais = LeeDBSetting(QStringLiteral("cmbPais"), QStringLiteral("0"));
    if (pais == QLatin1String("0")) {
        QString letra = code % 2 == 0 ? QStringLiteral("A") : QStringLiteral("B");
        if (!conPalabra) return letra;
        return (code < 2 ? QStringLiteral("Factura ") : QStringLiteral("N/C ")) + letra;
    }
    if (pais != QLatin1String("1")) return {};
    if (LeeSetting(QStringLiteral("chkUsaNroRollo"), QStringLiteral("0")) == QLatin1String("1")) {
        static const QString rollo[] = {{}, QStringLiteral("Factura"), {}, QStringLiteral("N/Cred.")};
        return rollo[code];
    }
    static const QString electronicos[] = {QStringLiteral("eFactura"), QStringLiteral("eTicket"),
                                           QStringLiteral("NC eFactura"), QStringLiteral("NC eTicket")};
    return electronicos[code];
}

void LlenaCombo(const QString& consulta, forms::ComboBox& combo) {
    trapErrors(QStringLiteral("LlenaCombo"), ModuleOrigin, [&] {
        data::Recordset rs;
        rs.open(consulta, gDB->dbaccess);
        if (rs.bof() && rs.eof()) {
            rs.close();
            return;
        }
        rs.moveLast();
        rs.moveFirst();
        const auto block = rs.getRows(rs.recordCount());
        if (block.size() < 2) runtime::raise(runtime::err::SubscriptOutOfRange);
        const int count = block.isEmpty() ? 0 : static_cast<int>(block[0].size());
        for (int i = 0; i < count; ++i) {
            combo.addItem(block[1][i].toText());
            combo.setItemData(combo.newIndex(), block[0][i].toLong());
        }
        rs.close();
        if (combo.listIndex() > 0) combo.setListIndex(0);
    });
}

QString FmtHora(const runtime::Variant& valor) {
    return valor.isNull() ? QString() : runtime::Format(valor, QStringLiteral("HH:MM"));
}

std::int32_t itemdataV(const forms::ComboBox& combo) {
    std::int32_t result = 0;
    trapErrors(QStringLiteral("itemdataV"), ModuleOrigin,
               [&] { result = combo.listIndex() != -1 ? combo.itemData(combo.listIndex()) : -1; });
    return result;
}

QString NombreFPago(std::int16_t codigo) {
    static const QString names[] = {QStringLiteral("Efectivo"), QStringLiteral("Efectivo"),
                                    QStringLiteral("Ticket"),   QStringLiteral("Tarjeta"),
                                    QStringLiteral("Cheque"),   QStringLiteral("Otros")};
    return codigo >= 0 && codigo <= 5 ? names[codigo] : QString();
}

} // namespace framework
