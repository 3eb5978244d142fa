#pragma once

#include "SqlTypes.h"

namespace data::sql {

// The statement with every comparison and ordering that may meet texts in the collation: both
// operands of a comparison, the operand of IN and BETWEEN, the keys of ORDER BY and GROUP BY
// and the argument of MIN and MAX. Expressions the typer knows to be numbers or dates are left
// alone, so that their comparisons keep the indexes of their columns.
Tokens collateTexts(const Tokens& t, const Typer& typer, const QString& collation);

} // namespace data::sql
