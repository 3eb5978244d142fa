#include "ReportExport.h"

#include "ProgramDescription.h"
#include "forms/CommonDialog.h"
#include "forms/ImageList.h"
#include "frmParametrosBase.h"
#include "funciones.h"
#include "reports/PdfExport.h"
#include "reports/Report.h"
#include "reports/RtfExport.h"
#include "reports/TextExport.h"
#include "reports/WriteFailure.h"
#include "reports/XlsExport.h"
#include "runtime/FileSystem.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QPainter>
#include <QPainterPath>

#include <memory>

namespace framework {

namespace {

const ErrorOrigin MFunciones = ErrorOrigin::Modulo(QStringLiteral("mFunciones"));

ExportControls& controls() {
    static ExportControls exportControls{[]() -> forms::CommonDialog& { return parametros().dlgDialog; },
                                         []() -> forms::ImageList& { return parametros().ImageList1; }};
    return exportControls;
}

forms::CommonDialog& dlgDialog() {
    if (!controls().dlgDialog) runtime::raise(runtime::err::ObjectNotSet);
    return controls().dlgDialog();
}

// Writes the pages of the report's last run, the ones its preview shows, through a filter made
// for this export. The report is not run again: its rows may have been rewritten since by
// another program or workstation of the installation. A failure goes to the error log and is
// told to the user in a message box naming the file and the reason.
void exportReport(const QString& procedure, reports::Report& report, const QString& fileName,
                  const std::function<std::unique_ptr<reports::ExportFilter>()>& makeFilter,
                  const std::function<void(reports::ExportFilter&)>& afterFileName = {}) {
    QString failure;
    const bool exported = trapErrors(procedure, MFunciones, [&] {
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

// A sheet of paper with a folded corner, in a colour, with a short text on it.
QImage documentPicture(const QColor& colour, const QString& text, bool grid, bool lines) {
    QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(4.5, 1.5);
    sheet.lineTo(15.5, 1.5);
    sheet.lineTo(20.5, 6.5);
    sheet.lineTo(20.5, 22.5);
    sheet.lineTo(4.5, 22.5);
    sheet.closeSubpath();
    p.fillPath(sheet, Qt::white);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawPath(sheet);
    p.drawLine(QPointF(15.5, 1.5), QPointF(15.5, 6.5));
    p.drawLine(QPointF(15.5, 6.5), QPointF(20.5, 6.5));
    if (grid) {
        p.setPen(QPen(colour.lighter(150), 1));
        for (int y = 9; y <= 21; y += 3)
            p.drawLine(6, y, 19, y);
        for (int x = 6; x <= 19; x += 4)
            p.drawLine(x, 9, x, 21);
    }
    if (lines) {
        p.setPen(QPen(QColor(110, 110, 110), 1));
        for (int y = 9; y <= 20; y += 3)
            p.drawLine(7, y, y % 2 ? 18 : 15, y);
    }
    if (!text.isEmpty()) {
        const QRect badge(1, 11, 18, 10);
        p.fillRect(badge, colour);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(text.size() > 1 ? 7 : 9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, text);
    }
    return image;
}

} // namespace

void setExportControls(ExportControls exportControls) {
    controls() = std::move(exportControls);
}

const ExportControls& exportControls() {
    return controls();
}

QVector<QImage> exportToolPictures() {
    return {documentPicture(QColor(33, 115, 70), QStringLiteral("X"), true, false),
            documentPicture(QColor(200, 30, 30), QStringLiteral("PDF"), false, true),
            documentPicture(QColor(90, 90, 90), QString(), false, true),
            documentPicture(QColor(43, 87, 154), QStringLiteral("W"), false, true)};
}

void addExportToolPictures(forms::ImageList& list) {
    for (const QImage& picture : exportToolPictures())
        list.add(picture);
}

QString AskSaveFileName(const QString& Ext, const QString& FileName) {
    Q_UNUSED(FileName);
    QString result;
    trapErrors(QStringLiteral("AskSaveFileName"), MFunciones, [&] {
        forms::CommonDialog& dialog = dlgDialog();
        dialog.DialogTitle = QStringLiteral("Save File");
        dialog.Filter = Ext + QStringLiteral(" File (*.") + Ext + QStringLiteral(")|*.") + Ext +
                        QStringLiteral("|AllFiles (*.*)|*.*");
        dialog.FilterIndex = 1;
        dialog.Flags = 2054;
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
