#pragma once

#include "runtime/Variant.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

namespace reports {

// A font as the layouts declare it: family, size in points, bold.
struct Font {
    QString name = QStringLiteral("Arial");
    double size = 10.0;
    bool bold = false;
    bool italic = false;

    bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };

// One drawing operation of a page, in twips from the page's top-left corner: a text in a
// box, a line or a filled rectangle.
struct PageItem {
    enum class Kind { Text, Line, Rect };

    Kind kind = Kind::Text;
    QRect rect; // Text and Rect: the box; Line: unused
    QLine line; // Line: the two ends
    QString text;
    Font font;
    QColor color = Qt::black; // text or line colour, rectangle fill
    Alignment alignment = Alignment::Left;
    bool wrap = false; // text wraps within the box's width
    // A single line of left-aligned text may run on to the right into free space up to this
    // width (at least its box's); beyond it, it is cut.
    int room = 0;
    int lineWidth = 15; // twips
    // Text of a field: the value it shows when the text is that value formatted (not set by
    // code), so that exports can keep numbers and dates as such; Empty otherwise.
    runtime::Variant value;

    static PageItem textBox(const QRect& rect, const QString& text, const Font& font, const QColor& color,
                            Alignment alignment, bool wrap);
    static PageItem lineFrom(const QLine& line, const QColor& color, int width);
    static PageItem filledRect(const QRect& rect, const QColor& fill);
};

// A rendered page: its paper size in twips and its drawing operations in paint order.
struct Page {
    QSize size;
    QVector<PageItem> items;
};

using Pages = QVector<Page>;

} // namespace reports
