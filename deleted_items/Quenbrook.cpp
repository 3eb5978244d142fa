#include "Quenbrook.h"

#include "frmParametros.h"

#include "framework/ParametrosHook.h"
#include "runtime/Program.h"

void instalaQuenbrook() {
    runtime::App::setTitle(QStringLiteral("Quenbrook"));
    framework::setParametrosFactory([]() -> frmParametrosBase& { return forms::instance<frmParametros>(); });
}
