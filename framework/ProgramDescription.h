#pragma once

#include "clsDataBase.h"

#include <QString>

#include <functional>
#include <memory>

namespace reports {
class Report;
}

namespace framework {

class ParametersWindow;
class frmSeleccionaTurno;

// How the login opens its user lookup.
struct LoginLookup {
    data::CursorType cursorType = data::adOpenStatic;
    data::LockType lockType = data::adLockOptimistic;
};

// A program as the framework runs it: its title, the default instance of its parameters
// window (shown by the login; its save dialog and pictures serve the report export), its
// report layout (made once, on first use), its shift chooser, what its database object opens
// and how its login looks the user up.
struct ProgramDescription {
    QString title{};
    std::function<ParametersWindow&()> parametros{};
    std::function<std::unique_ptr<reports::Report>()> report{};
    // Without one, the framework's shift chooser.
    std::function<frmSeleccionaTurno&()> shiftChooser{};
    DatabaseOptions database{};
    LoginLookup login{};
};

} // namespace framework
