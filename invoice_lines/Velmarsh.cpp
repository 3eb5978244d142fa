#include "Velmarsh.h"

#include "ActiveReport1.h"
#include "frmParametros.h"

namespace velmarsh {

framework::ProgramDescription program() {
    return {
        .title = QStringLiteral("Velmarsh"),
        .parametros = []() -> framework::ParametersWindow& { return forms::instance<frmParametros>(); },
        .report = [] { return std::make_unique<ActiveReport1>(); },
    };
}

} // namespace velmarsh
