#include "Quenbrook.h"

#include "frmParametros.h"

#include "framework/ParametrosHook.h"
#include "framework/ReportExport.h"
#include "runtime/Program.h"

void instalaQuenbrook() {
    runtime::App::setTitle(QStringLiteral("Quenbrook"));
    framework::setParametrosFactory([]() -> frmParametrosBase& { return forms::instance<frmParametros>(); });
    setExportControls({[]() -> forms::CommonDialog& { return forms::instance<frmParametros>().dlgDialog; },
                       []() -> forms::ImageList& { return forms::instance<frmParametros>().ImageList1; }});
}
