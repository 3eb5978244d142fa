#include "ParametrosHook.h"

#include "ReportExport.h"
#include "frmParametrosBase.h"

#include "runtime/RuntimeError.h"

namespace framework {

namespace {
std::function<frmParametrosBase&()> parametrosFactory;
}

void setParametrosFactory(std::function<frmParametrosBase&()> factory) {
    parametrosFactory = std::move(factory);
    setExportControls({[]() -> forms::CommonDialog& { return parametros().dlgDialog; },
                       []() -> forms::ImageList& { return parametros().ImageList1; }});
}

frmParametrosBase& parametros() {
    if (!parametrosFactory) runtime::raise(runtime::err::ObjectNotSet);
    return parametrosFactory();
}

} // namespace framework
