#pragma once

#include <QString>

#include <functional>

namespace forms {

// Runs a program on the running QApplication: sets its title, installs a Qt host for the run
// (unless a test installed its own), runs the start routine as a top-level event, then dispatches
// events while a window of the program (a form, a report preview) is loaded and the program has
// not ended. Returns the process's exit code.
int runProgram(const QString& title, const std::function<void()>& startRoutine);

} // namespace forms
