#include "extras.h"

#include "data/Recordset.h"
#include "framework/clsDataBase.h"
#include "runtime/Variant.h"

#include <cmath>

using namespace framework;

namespace quenbrook {

namespace {

// Date serials compared to the second, so that a deletion stored at the ticket's own time
// never counts as later because of how the two values were rounded when stored.
long long seconds(double serial) {
    return std::llround(serial * 86400.0);
}

} // namespace

bool TraeEliminado(double idventa, bool soloLuegoDelTicket, double cierre) {
    data::Recordset rs;
    rs.open(QStringLiteral("select * from Quenbrook where idventa = ") + runtime::Variant(idventa).toString(),
            gDB->dbaccess);
    bool result = false;
    if (!soloLuegoDelTicket) {
        result = !rs.eof();
    } else {
        while (!rs.eof()) {
            runtime::Variant fecha = rs.fields(QStringLiteral("Fecha")).value();
            runtime::Variant hora = rs.fields(QStringLiteral("Hora")).value();
            if (!fecha.isNull() && !hora.isNull() && !fecha.isEmpty() && !hora.isEmpty() &&
                seconds(fecha.toDouble() + hora.toDouble()) > seconds(cierre)) {
                result = true;
                break;
            }
            rs.moveNext();
        }
    }
    rs.close();
    return result;
}

} // namespace quenbrook
