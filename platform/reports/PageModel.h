#pragma once

#include "runtime/Variant.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <deque>
#include <memory>
#include <vector>

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

// A report's pages, stored compactly: each drawing operation a plain record of a few words,
// its texts and fonts interned once for the whole report. A page is unpacked into a Page of its
// own each time it is read, so a long report holds little more than its distinct texts; nothing
// here refers into the stored pages.
class Pages {
public:
    Pages();

    qsizetype size() const { return qsizetype(m_pages.size()); }
    bool isEmpty() const { return m_pages.empty(); }
    QSize pageSize(qsizetype index) const { return m_pages[size_t(index)].size; }

    // A new Page made from the stored one at an index (from 0).
    Page unpack(qsizetype index) const;
    // Unpacks each page in turn and hands it to a function; the page lives for that call only.
    template <class Visit> void forEachPage(Visit&& visit) const {
        for (qsizetype i = 0; i < size(); ++i) {
            const Page page = unpack(i);
            visit(page);
        }
    }
    // Pages [from, from + count), as a report of their own.
    Pages mid(qsizetype from, qsizetype count) const;

    void append(const Page& page);
    // Building page by page: a new empty page, then operations added to the last one.
    void addPage(const QSize& size);
    void addItem(const PageItem& item, int dx = 0, int dy = 0);

    // Bytes held by the stored operations (texts and fonts apart).
    size_t itemBytes() const;

private:
    // One operation in 32 bytes, its texts, value, colour and font interned.
    struct Packed {
        qint32 x1, y1, x2, y2; // Text and Rect: left, top, width, height; Line: its two ends
        quint32 text;
        quint32 value; // 0: none
        quint16 color;
        quint16 font;
        qint16 extra; // Text: room; Line: line width
        quint8 kind : 2, alignment : 2, wrap : 1;
    };
    struct Pool;
    struct Entry {
        QSize size;
        size_t first = 0; // index of its first operation
    };

    std::shared_ptr<Pool> m_pool;
    std::vector<Entry> m_pages;
    std::deque<Packed> m_items; // in blocks: growing never copies the whole
};

} // namespace reports
