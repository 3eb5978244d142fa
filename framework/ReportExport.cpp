#include "ReportExport.h"

#include "ErrorLog.h"
#include "ParametersWindow.h"
#include "ProgramSession.h"

#include "forms/CommonDialog.h"
#include "reports/PdfExport.h"
#include "reports/Report.h"
#include "reports/RtfExport.h"
#include "reports/TextExport.h"
#include "reports/WriteFailure.h"
#include "reports/XlsExport.h"
#include "runtime/FileSystem.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <memory>

namespace framework {

namespace {

const ErrorOrigin ModuleOrigin = ErrorOrigin::module(QStringLiteral("mFunciones"));

// Writes the pages of the report's last run, the ones its preview shows, through a filter made
// for this export. The report is not run again: its rows may have been rewritten since by
// another program or workstation of the installation. A failure goes to the error log and is
// told to the user in a message box naming the file and the reason.
void exportReport(const QString& procedure, reports::Report& report, const QString& fileName,
                  const std::function<std::unique_ptr<reports::ExportFilter>()>& makeFilter,
                  const std::function<void(reports::ExportFilter&)>& afterFileName = {}) {
    QString failure;
    const bool exported = trapErrors(procedure, ModuleOrigin, [&] {
        try {
            std::unique_ptr<reports::ExportFilter> filter = makeFilter();
            filter->setFileName(runtime::localPath(fileName));
            if (afterFileName) afterFileName(*filter);
            filter->exportPages(report.pages());
        } catch (const runtime::RuntimeError& error) {
            failure = reports::WriteFailure::exportMessage(fileName, error);
            throw;
        }
    });
    if (!exported) runtime::MsgBox(failure, runtime::mb::Exclamation);
}

} // namespace

QString AskSaveFileName(const QString& Ext, const QString& FileName) {
    Q_UNUSED(FileName);
    QString result;
    trapErrors(QStringLiteral("AskSaveFileName"), ModuleOrigin, [&] {
        forms::CommonDialog& dialog = parametros().dlgDialog;
        dialog.DialogTitle = QStringLiteral("Save File");
        dialog.Filter = Ext + QStringLiteral(" File (*.") + Ext + QStringLiteral(")|*.") + Ext +
                        QStringLiteral("|AllFiles (*.*)|*.*");
        dialog.FilterIndex = 1;
        dialog.Flags = forms::cdl::OverwritePrompt | forms::cdl::HideReadOnly | forms::cdl::PathMustExist;
        dialog.CancelError = true;
        // A cancel, or a failure of the dialog itself, gives "" and no log line.
        try {
            dialog.ShowSave();
            result = dialog.FileName;
        } catch (const runtime::RuntimeError&) {
            result.clear();
        }
    });
    return result;
}

void exExcelReport(reports::Report& report, const QString& FileName) {
    exportReport(
        QStringLiteral("exExcelReport"), report, FileName,
        [] {
            auto filter = std::make_unique<reports::XlsExport>();
            filter->setRemoveVerticalSpace(true);
            filter->setShowGridLines(false);
            filter->setPageBreaks(true);
            filter->setMinColumnWidth(1);
            return filter;
        },
        [](reports::ExportFilter& filter) { static_cast<reports::XlsExport&>(filter).setMinRowHeight(5); });
}

void exPDFReport(reports::Report& report, const QString& FileName) {
    exportReport(QStringLiteral("exPDFReport"), report, FileName, [&report] {
        auto filter = std::make_unique<reports::PdfExport>();
        filter->setTitle(report.caption());
        return filter;
    });
}

void exTXTReport(reports::Report& report, const QString& FileName) {
    exportReport(QStringLiteral("exTXTReport"), report, FileName,
                 [] { return std::make_unique<reports::TextExport>(); });
}

void exDOCReport(reports::Report& report, const QString& FileName) {
    exportReport(QStringLiteral("exDOCReport"), report, FileName,
                 [] { return std::make_unique<reports::RtfExport>(); });
}

} // namespace framework
