#include "CurrentUser.h"

#include "ErrorLog.h"
#include "clsDataBase.h"

#include "data/Recordset.h"
#include "runtime/Variant.h"

namespace framework {

double gIdUsuario = 0;
bool gCategorizacion = false;

namespace {

// Only a number 1 counts: a Null, a Yes/No value (true is -1) or a text never does.
bool isOne(const runtime::Variant& value) {
    return value.isNumber() && value.type() != runtime::Variant::Type::Boolean && value.toDouble() == 1.0;
}

} // namespace

bool TienePermiso(const QString& permiso) {
    bool result = false;
    trapErrors(QStringLiteral("TienePermiso"), ErrorOrigin::module(QStringLiteral("mFunciones")), [&] {
        data::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM USUARIOS WHERE ID = ") +
                    runtime::Variant(gIdUsuario).toString(),
                gDB->dbaccess);
        if (rs.eof()) {
            result = false;
        } else if (isOne(rs.fields(QStringLiteral("Admin")).value())) {
            result = true;
        } else {
            const QString wanted = permiso.toUpper();
            for (int i = 0; i < rs.fieldCount(); ++i)
                if (rs.fields(i).name().toUpper() == wanted) result = isOne(rs.fields(i).value());
        }
        rs.close();
    });
    return result;
}

} // namespace framework
