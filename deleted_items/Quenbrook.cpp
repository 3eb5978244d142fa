#include "Quenbrook.h"

#include "ActiveReport1.h"
#include "frmParametros.h"

namespace quenbrook {

framework::ProgramDescription program() {
    return {
        .title = QStringLiteral("Quenbrook"),
        .parametros = []() -> framework::ParametersWindow& { return forms::instance<frmParametros>(); },
        .report = [] { return std::make_unique<ActiveReport1>(); },
    };
}

} // namespace quenbrook
