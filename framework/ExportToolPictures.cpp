#include "ExportToolPictures.h"

#include "forms/ImageList.h"

#include <QPainter>
#include <QPainterPath>

namespace framework {

namespace {

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

} // namespace framework
