#include "Dorrindale.h"

#include "arDorrindale.h"
#include "frmParametros.h"
#include "frmSeleccionaTurno.h"

namespace dorrindale {

framework::ProgramDescription program() {
    return {
        .title = QStringLiteral("Dorrindale"),
        .parametros = []() -> framework::ParametersWindow& { return forms::instance<frmParametros>(); },
        .report = [] { return std::make_unique<arDorrindale>(); },
        .shiftChooser = []() -> framework::frmSeleccionaTurno& {
            return forms::instance<frmSeleccionaTurno>();
        },
        .database = {.scratch = false, .cursorLocation = std::nullopt, .settingsTable = false},
        .login = {.cursorType = data::adOpenDynamic, .lockType = data::adLockReadOnly},
    };
}

} // namespace dorrindale
