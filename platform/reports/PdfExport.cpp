#include "PdfExport.h"

#include "PagePainter.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace reports {

namespace {

QPageLayout layoutOf(const QSize& twips) {
    const bool landscape = twips.width() > twips.height();
    const QSizeF points = QSizeF(landscape ? twips.transposed() : twips) / 20.0;
    return QPageLayout(QPageSize(points, QPageSize::Point, {}, QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

} // namespace

void PdfExport::exportPages(const Pages& pages) {
    save([&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(1440); // twips are the writer's dots
        writer.setTitle(m_title);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setPageLayout(layoutOf(pages.isEmpty() ? QSize(12240, 15840) : pages.pageSize(0)));
        QPainter painter(&writer);
        const PageDone pageDone = progressFor(pages);
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                writer.setPageLayout(layoutOf(pages.pageSize(i)));
                writer.newPage();
            }
            paintPage(painter, pages.unpack(i));
            pageDone(i + 1);
        }
        painter.end();
    });
}

} // namespace reports
