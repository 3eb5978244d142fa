#include "Velmarsh.h"

#include "frmParametros.h"

#include "framework/ParametrosHook.h"
#include "runtime/Program.h"

namespace velmarsh {

void instalaVelmarsh() {
    runtime::App::setTitle(QStringLiteral("Velmarsh"));
    framework::setParametrosFactory([]() -> frmParametrosBase& { return forms::instance<frmParametros>(); });
}

} // namespace velmarsh
