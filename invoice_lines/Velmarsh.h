#pragma once

#include "framework/ProgramDescription.h"

namespace velmarsh {

// Velmarsh as the framework runs it: its title, its parameters window and its report.
framework::ProgramDescription program();

} // namespace velmarsh
