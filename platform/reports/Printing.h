#pragma once

#include "PageModel.h"

#include <functional>

class QPrinter;
class QWidget;

namespace reports {

// Prints pages on a printer set up by the caller, one sheet per page, at the pages' size;
// false when the printer could not start or failed.
bool printPages(const Pages& pages, QPrinter& printer);

// Asks for the printer in the system's print dialog and prints; false when cancelled. A print
// that fails is told in a message box naming the printer or file and the reason.
bool printWithDialog(const Pages& pages, QWidget* parent);

// The print dialog seam: sets up the printer and returns whether to print. Tests replace
// it; an empty function restores the system's dialog.
using PrintDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;
void setPrintDialog(PrintDialog dialog);

} // namespace reports
