#include "PagePainter.h"

#include <QPainter>

#include <cmath>

namespace reports {

QFont qtFont(const Font& font) {
    // Where the layouts' Arial or MS Sans Serif is not installed, a font of its widths keeps
    // the texts within their boxes.
    static const bool substituted = [] {
        for (const QString& family : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif")})
            QFont::insertSubstitutions(family, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                                QStringLiteral("DejaVu Sans Condensed")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont result(font.name);
    result.setPixelSize(std::max(1, int(std::lround(font.size * 20))));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

namespace {

int textFlags(const PageItem& item) {
    int flags = Qt::AlignTop;
    switch (item.alignment) {
    case Alignment::Left:
        flags |= Qt::AlignLeft;
        break;
    case Alignment::Center:
        flags |= Qt::AlignHCenter;
        break;
    case Alignment::Right:
        flags |= Qt::AlignRight;
        break;
    }
    flags |= item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    return flags;
}

// The box a text is drawn and cut in: its own, or the free room on its right.
QRect textArea(const PageItem& item) {
    QRect area = item.rect;
    if (!item.wrap && item.alignment == Alignment::Left && item.room > area.width()) area.setWidth(item.room);
    return area;
}

} // namespace

void paintPage(QPainter& painter, const Page& page) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    Font currentFont;
    bool fontSet = false;
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Rect:
            painter.fillRect(item.rect, item.color);
            break;
        case PageItem::Kind::Line:
            painter.setPen(QPen(item.color, item.lineWidth));
            painter.drawLine(item.line);
            break;
        case PageItem::Kind::Text:
            if (!fontSet || !(item.font == currentFont)) {
                painter.setFont(qtFont(item.font));
                currentFont = item.font;
                fontSet = true;
            }
            painter.setPen(item.color);
            painter.drawText(textArea(item), textFlags(item), item.text);
            break;
        }
    }
    painter.restore();
}

} // namespace reports
