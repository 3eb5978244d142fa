#pragma once

#include <QString>

namespace framework {

// The logged-in user: its identifier, and whether its sales are categorised.
extern double gIdUsuario;
extern bool gCategorizacion;

// Whether the logged-in user holds a permission (a column of usuarios holding 1);
// administrators hold every permission.
bool TienePermiso(const QString& permiso);

} // namespace framework
