#pragma once

#include "SqlDialect.h"

#include <memory>

namespace data {

// The table of a Jet file that holds its database password.
inline constexpr const char* jetPasswordTable = "MSysPassword";

// The Jet (Access) dialect: #date# literals, "&" joins, one-argument isnull, val, iif, instr,
// hour, DateValue, First and Last, select-list alias references and GROUP BY constants; texts
// compared and ordered without regard to case, accented letters beside their base letter. A
// password stored in the file must match the one given.
std::unique_ptr<SqlDialect> jetDialect(const QString& password);

} // namespace data
