#include "clsCajaHelpers.h"

#include "clsDataBase.h"

#include "data/Recordset.h"

namespace framework {

void clsCajaHelpers::generaFechaCaja() {
    data::Recordset ventas;
    ventas.open(QStringLiteral("select * from ventas where fechacaja is null "), gDB->dbaccess,
                data::adOpenStatic, data::adLockOptimistic);
    while (!ventas.eof()) {
        const QString idsesion = ventas.fields(QStringLiteral("idsesion")).value().toText();
        // A sale without shift has no opening date to take: it stays as it is.
        if (!idsesion.isEmpty()) {
            data::Recordset sesion;
            sesion.open(QStringLiteral("select fechaapertura from sesion where idsesion = ") + idsesion,
                        gDB->dbaccess);
            if (!sesion.eof()) {
                ventas.fields(QStringLiteral("fechacaja"))
                    .setValue(sesion.fields(QStringLiteral("fechaapertura")).value());
                ventas.update();
            }
            sesion.close();
        }
        ventas.moveNext();
    }
    ventas.close();
}

} // namespace framework
