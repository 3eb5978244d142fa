#pragma once

#include <QString>

// The per-user settings of the three programs: application "Pellicant", section "SETTINGS".
QString LeeSetting(const QString& clave, const QString& pDefault);
void GrabaSetting(const QString& clave, const QString& valor);
