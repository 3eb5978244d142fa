#pragma once

#include "ProgramDescription.h"

namespace framework {

// The start routine of every program: creates the database object gDB as the running
// program asks, opens the databases and shows the login window without waiting.
void Main();

// Runs a program: a QApplication, the program's session on it, Main as the first event, and
// the events of its windows until none is left or the program ends. Returns the exit code.
int run(int argc, char** argv, ProgramDescription description);

} // namespace framework
