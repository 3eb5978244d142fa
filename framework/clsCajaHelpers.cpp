#include "clsCajaHelpers.h"

#include "clsDataBase.h"

#include "data/Recordset.h"

#include <optional>

namespace framework {

void clsCajaHelpers::generaFechaCaja(const Progress& progress) {
    data::Recordset ventas;
    ventas.open(QStringLiteral("select * from ventas where fechacaja is null "), gDB->dbaccess,
                data::adOpenStatic, data::adLockOptimistic);
    data::Field& idsesionField = ventas.fields(QStringLiteral("idsesion"));
    data::Field& fechacaja = ventas.fields(QStringLiteral("fechacaja"));
    // The group in hand: committed however the pass ends.
    std::optional<data::CommitScope> group;
    std::chrono::steady_clock::time_point groupStart;
    long done = 0;
    while (!ventas.eof()) {
        const QString idsesion = idsesionField.value().toText();
        // A sale without shift has no opening date to take: it stays as it is.
        if (!idsesion.isEmpty()) {
            data::Recordset sesion;
            sesion.open(QStringLiteral("select fechaapertura from sesion where idsesion = ") + idsesion,
                        gDB->dbaccess);
            if (!sesion.eof()) {
                // A group starts at its first write, which then waits for other writers rather
                // than failing on a read made before theirs.
                if (!group) {
                    group.emplace(gDB->dbaccess);
                    groupStart = std::chrono::steady_clock::now();
                }
                fechacaja.setValue(sesion.fields(QStringLiteral("fechaapertura")).value());
                ventas.update();
            }
            sesion.close();
        }
        ventas.moveNext();
        ++done;
        if (group && std::chrono::steady_clock::now() - groupStart >= m_groupTime) {
            group->commit();
            group.reset();
            if (progress) progress(done, ventas.recordCount());
        }
    }
    if (group) group->commit();
    ventas.close();
}

} // namespace framework
