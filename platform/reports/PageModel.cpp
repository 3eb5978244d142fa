#include "PageModel.h"

namespace reports {

PageItem PageItem::textBox(const QRect& rect, const QString& text, const Font& font, const QColor& color,
                           Alignment alignment, bool wrap) {
    PageItem item;
    item.kind = Kind::Text;
    item.rect = rect;
    item.text = text;
    item.font = font;
    item.color = color;
    item.alignment = alignment;
    item.wrap = wrap;
    return item;
}

PageItem PageItem::lineFrom(const QLine& line, const QColor& color, int width) {
    PageItem item;
    item.kind = Kind::Line;
    item.line = line;
    item.rect = QRect(line.p1(), line.p2()).normalized();
    item.color = color;
    item.lineWidth = width;
    return item;
}

PageItem PageItem::filledRect(const QRect& rect, const QColor& fill) {
    PageItem item;
    item.kind = Kind::Rect;
    item.rect = rect;
    item.color = fill;
    return item;
}

} // namespace reports
