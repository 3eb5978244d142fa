#pragma once

#include <QString>

#include <functional>

namespace forms {
class CommonDialog;
class ImageList;
} // namespace forms
namespace reports {
class Report;
}

namespace framework {

// The parameters window's controls that the export tools use: its save dialog dlgDialog
// and its image list ImageList1. Installing a program plugs in its frmParametros; a caller
// may plug in others; without them, using them raises error 91.
struct ExportControls {
    std::function<forms::CommonDialog&()> dlgDialog;
    std::function<forms::ImageList&()> ImageList1;
};
void setExportControls(ExportControls controls);
const ExportControls& exportControls();

// Asks for the name of an export file of an extension in the save dialog; "" when the
// user cancels or the dialog fails.
QString AskSaveFileName(const QString& Ext, const QString& FileName);

// Exports the pages the report's preview shows (those of its last run) to a file. A failure
// goes to the error log and to a message box that names the file and the reason.
void exExcelReport(reports::Report& report, const QString& FileName);
void exPDFReport(reports::Report& report, const QString& FileName);
void exTXTReport(reports::Report& report, const QString& FileName);
void exDOCReport(reports::Report& report, const QString& FileName);

} // namespace framework
