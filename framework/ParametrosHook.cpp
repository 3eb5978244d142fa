#include "ParametrosHook.h"

#include "runtime/RuntimeError.h"

namespace framework {

namespace {
std::function<frmParametrosBase&()> parametrosFactory;
}

void setParametrosFactory(std::function<frmParametrosBase&()> factory) {
    parametrosFactory = std::move(factory);
}

frmParametrosBase& parametros() {
    if (!parametrosFactory) runtime::raise(runtime::err::ObjectNotSet);
    return parametrosFactory();
}

} // namespace framework
