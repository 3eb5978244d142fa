#pragma once

#include "framework/ProgramDescription.h"

namespace dorrindale {

// Dorrindale as the framework runs it: its title, parameters window, report and shift
// chooser, a database object with the point-of-sale connection alone (server-side cursors,
// no scratch database, no settings table) and a login that looks the user up through a
// dynamic cursor.
framework::ProgramDescription program();

} // namespace dorrindale
