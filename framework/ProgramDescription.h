#pragma once

#include "clsDataBase.h"

#include <QString>

#include <functional>
#include <memory>

namespace reports {
class PreviewWindow;
class Report;
} // namespace reports

namespace framework {

class frmParametrosBase;
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
    std::function<frmParametrosBase&()> parametros{};
    std::function<std::unique_ptr<reports::Report>()> report{};
    // Without one, the framework's shift chooser.
    std::function<frmSeleccionaTurno&()> shiftChooser{};
    DatabaseOptions database{};
    LoginLookup login{};
};

// Makes a program the running one: sets its title, drops the report and the preview of the
// previous one, and gives the export tools the new one's save dialog and image list.
void install(ProgramDescription description);
// The running program; a description with the defaults and no windows before install.
const ProgramDescription& program();

// The default instance of the running program's parameters window (error 91 without one).
frmParametrosBase& parametros();
// The running program's shift chooser.
frmSeleccionaTurno& shiftChooser();
// The running program's report layout, made on first use (error 91 without one).
reports::Report& report();
template <class Layout> Layout& report() {
    return dynamic_cast<Layout&>(report());
}

// Runs a report and shows it from its first page in the running program's preview window,
// which passes a click on a tool to the report's tool-click event.
void showReport(reports::Report& report);
// The running program's preview window; null before a report is shown.
reports::PreviewWindow* preview();

// Installs the program and runs it on a new QApplication from Main; returns the exit code.
int run(int argc, char** argv, ProgramDescription description);

} // namespace framework
