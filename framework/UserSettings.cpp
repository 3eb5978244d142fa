#include "UserSettings.h"

#include "runtime/Settings.h"

namespace framework {

namespace {
const QString AppName = QStringLiteral("Pellicant");
const QString Section = QStringLiteral("SETTINGS");
} // namespace

QString LeeSetting(const QString& clave, const QString& pDefault) {
    return runtime::GetSetting(AppName, Section, clave, pDefault);
}

void GrabaSetting(const QString& clave, const QString& valor) {
    runtime::SaveSetting(AppName, Section, clave, valor);
}

} // namespace framework
