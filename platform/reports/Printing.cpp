#include "Printing.h"

#include "PagePainter.h"
#include "WriteFailure.h"
#include "runtime/Program.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace reports {

namespace {

PrintDialog& dialogSeam() {
    static PrintDialog dialog;
    return dialog;
}

QPageLayout pageLayoutOf(const QSize& twips) {
    const bool landscape = twips.width() > twips.height();
    const QSizeF points = QSizeF(twips) / 20.0;
    const QPageSize size(landscape ? points.transposed() : points, QPageSize::Point, {},
                         QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

} // namespace

void setPrintDialog(PrintDialog dialog) {
    dialogSeam() = std::move(dialog);
}

bool printPages(const Pages& pages, QPrinter& printer) {
    if (pages.isEmpty()) return true;
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(pages.pageSize(0)));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double scale = printer.resolution() / 1440.0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, pages.unpack(i));
        painter.restore();
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

bool printWithDialog(const Pages& pages, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    if (!pages.isEmpty()) printer.setPageLayout(pageLayoutOf(pages.pageSize(0)));
    bool accepted = false;
    if (dialogSeam()) {
        accepted = dialogSeam()(printer, parent);
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, int(pages.size()));
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted) return false;
    // Printing to a file: a file that cannot be written is not touched.
    const QString file = printer.outputFileName();
    QString problem = file.isEmpty() ? QString() : WriteFailure::foreseen(file);
    bool printed = false;
    if (problem.isEmpty()) {
        if (printer.printRange() == QPrinter::PageRange) {
            const int from = std::max(1, printer.fromPage());
            const int to =
                std::min(int(pages.size()), printer.toPage() > 0 ? printer.toPage() : int(pages.size()));
            printed = printPages(pages.mid(from - 1, std::max(0, to - from + 1)), printer);
        } else {
            printed = printPages(pages, printer);
        }
        if (!printed) problem = file.isEmpty() ? WriteFailure::printerRefused() : WriteFailure::notWritten();
    }
    if (!printed)
        runtime::MsgBox(WriteFailure::printMessage(file.isEmpty() ? printer.printerName() : file, problem),
                        runtime::mb::Exclamation);
    return true;
}

} // namespace reports
