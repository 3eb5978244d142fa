#pragma once

#include <QString>

namespace reports {
class Report;
}

namespace framework {

// Asks for the name of an export file of an extension in the save dialog dlgDialog of the
// running program's parameters window; "" when the user cancels or the dialog fails (without
// a parameters window, too).
QString AskSaveFileName(const QString& Ext, const QString& FileName);

// Exports the pages the report's preview shows (those of its last run) to a file. A failure
// goes to the error log and to a message box that names the file and the reason.
void exExcelReport(reports::Report& report, const QString& FileName);
void exPDFReport(reports::Report& report, const QString& FileName);
void exTXTReport(reports::Report& report, const QString& FileName);
void exDOCReport(reports::Report& report, const QString& FileName);

} // namespace framework
