#pragma once

#include "Variant.h"

#include <QString>

namespace runtime {

// Format(value, picture): one formatter driven by the picture. Date pictures use
// y, m, d, h, n, s tokens (an "m" after "h" or before "s" is minutes), "/" and ":" for the
// regional separators, "mmm" for the short month name; number pictures use 0, #, ".",
// "," (grouping) and literal characters such as "$". A number under a date picture is a
// date serial. Null gives the empty text; text that reads as a number or date is
// converted first; other text is returned as it is.
QString Format(const Variant& value, const QString& picture);

} // namespace runtime
