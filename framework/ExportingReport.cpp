#include "ExportingReport.h"

#include "ParametersWindow.h"
#include "ProgramSession.h"
#include "ReportExport.h"

#include "forms/ImageList.h"

namespace framework {

void ExportingReport::ActiveReport_ReportEnd() {
    toolbar().add(QStringLiteral("                Exportar a:"));
    toolbar().add(QStringLiteral("    Excel    "));
    toolbar().add(QStringLiteral("    PDF      "));
    toolbar().add(QStringLiteral("    Texto    "));
    toolbar().add(QStringLiteral("    Word     "));

    forms::ImageList& ImageList1 = parametros().ImageList1;
    toolbar().tools(22).picture = ImageList1.ListImages(1).Picture;
    toolbar().tools(23).picture = ImageList1.ListImages(2).Picture;
    toolbar().tools(24).picture = ImageList1.ListImages(3).Picture;
    toolbar().tools(25).picture = ImageList1.ListImages(4).Picture;

    toolbar().tools(21).enabled = false;
}

void ExportingReport::ActiveReport_ToolbarClick(const reports::Tool& Tool) {
    const qint16 id = qint16(Tool.id);
    QString ext;
    void (*exportProcedure)(reports::Report&, const QString&) = nullptr;
    switch (id) {
    case 22:
        ext = QStringLiteral("xls");
        exportProcedure = exExcelReport;
        break;
    case 23:
        ext = QStringLiteral("pdf");
        exportProcedure = exPDFReport;
        break;
    case 24:
        ext = QStringLiteral("txt");
        exportProcedure = exTXTReport;
        break;
    case 25:
        ext = QStringLiteral("doc");
        exportProcedure = exDOCReport;
        break;
    default:
        return;
    }
    const QString fileName = AskSaveFileName(ext, QString());
    if (fileName.isEmpty()) return;
    exportProcedure(*this, fileName);
}

} // namespace framework
