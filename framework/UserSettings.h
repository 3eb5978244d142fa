#pragma once

#include <QString>

namespace framework {

// The per-user settings of the three programs: application "Pellicant", section "SETTINGS".
QString LeeSetting(const QString& clave, const QString& pDefault);
void GrabaSetting(const QString& clave, const QString& valor);

} // namespace framework
