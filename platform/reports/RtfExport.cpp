#include "RtfExport.h"

#include "TextLines.h"

#include <QMultiHash>

#include <algorithm>
#include <climits>
#include <optional>

namespace reports {

namespace {

constexpr int LineTolerance = 120;

QByteArray escaped(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u < 0x80) {
            out += char(u);
        } else if (u >= 0xA0 && u <= 0xFF) {
            out += "\\'" + QByteArray::number(u, 16);
        } else {
            // Without a fallback character (\uc0); the blank ends the control word.
            out += "\\u" + QByteArray::number(qint16(u)) + ' ';
        }
    }
    return out;
}

template <class T> int indexOf(QVector<T>& table, const T& value) {
    int index = int(table.indexOf(value));
    if (index < 0) {
        table.append(value);
        index = int(table.size()) - 1;
    }
    return index;
}

// The colour painted under a box: the last filled box before a given item that holds it.
std::optional<QColor> shadingOf(const Page& page, const QRect& box, qsizetype before) {
    for (qsizetype i = std::min(before, page.items.size()) - 1; i >= 0; --i) {
        const PageItem& item = page.items[i];
        if (item.kind == PageItem::Kind::Rect && item.rect.contains(box)) {
            if (item.color == QColor(Qt::white)) return std::nullopt;
            return item.color;
        }
    }
    return std::nullopt;
}

// A cell of a row: its right edge (twips from the left margin), its text item if any, its
// shading and the borders the page's lines give it.
struct RowCell {
    int right = 0;
    const PageItem* item = nullptr;
    std::optional<QColor> shading;
    const PageItem* top = nullptr;
    const PageItem* bottom = nullptr;
};

class Writer {
public:
    Writer(const Pages& pages) {
        int minLeft = INT_MAX, maxRight = 0;
        pages.forEachPage([&](const Page& page) {
            for (const PageItem& item : page.items)
                if (item.kind != PageItem::Kind::Rect || item.rect.width() < page.size.width()) {
                    minLeft = std::min(minLeft, item.rect.left());
                    maxRight = std::max(maxRight, item.rect.right() + 1);
                }
        });
        m_paper = pages.isEmpty() ? QSize(12240, 15840) : pages.pageSize(0);
        m_left = minLeft == INT_MAX ? 0 : std::max(0, minLeft);
        m_right = std::max(m_left + 1, std::min(maxRight, m_paper.width()));
    }

    // A page: each line of texts a table row of exact height reaching to the next line, with
    // a cell at each text's place; an empty paragraph of the height above the first line.
    void page(const Page& page, bool first) {
        const QVector<TextLine> lines = textLines(page, LineTolerance);
        const int top = lines.isEmpty() ? 0 : lines.first().top;
        m_body += QByteArray("\\pard\\plain") + (first ? "" : "\\pagebb") + "\\sb0\\sa0\\sl-" +
                  QByteArray::number(std::max(20, top)) + "\\slmult0\\fs2 \\par\n";
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int bottom = i + 1 < lines.size() ? lines[i + 1].top : lines[i].top + lines[i].height;
            row(page, lines[i], std::max(20, bottom - lines[i].top), i + 1 == lines.size());
        }
    }

    QByteArray document() const {
        QByteArray doc = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc0\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i)
            doc += "{\\f" + QByteArray::number(i) + "\\fswiss " + escaped(m_fonts[i]) + ";}";
        doc += "}\n{\\colortbl;";
        for (const QColor& c : m_colors)
            doc += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                   "\\blue" + QByteArray::number(c.blue()) + ';';
        doc += "}\n\\paperw" + QByteArray::number(m_paper.width()) + "\\paperh" +
               QByteArray::number(m_paper.height()) + "\\margl" + QByteArray::number(m_left) + "\\margr" +
               QByteArray::number(std::max(0, m_paper.width() - m_right)) + "\\margt0\\margb0" +
               (m_paper.width() > m_paper.height() ? "\\landscape" : "") + "\n";
        return doc + m_body + "}\n";
    }

private:
    int font(const QString& name) { return indexOf(m_fonts, name); }
    int color(const QColor& color) { return indexOf(m_colors, color) + 1; }

    void row(const Page& page, const TextLine& line, int height, bool last) {
        QVector<RowCell> cells = cellsOf(line);
        decorate(cells, page, line, height, last);
        QByteArray out = "\\trowd\\trleft0\\trgaph0\\trpaddl0\\trpaddr0\\trpaddfl3\\trpaddfr3\\trrh-" +
                         QByteArray::number(height) + "\n";
        for (const RowCell& cell : cells) {
            if (cell.top) out += "\\clbrdrt" + border(*cell.top);
            if (cell.bottom) out += "\\clbrdrb" + border(*cell.bottom);
            if (cell.shading) out += "\\clcbpat" + QByteArray::number(color(*cell.shading));
            out += "\\clvertalt\\cellx" + QByteArray::number(cell.right - m_left);
        }
        out += '\n';
        for (const RowCell& cell : cells)
            out += "\\pard\\plain\\intbl\\sb0\\sa0" + contents(cell) + "\\cell\n";
        m_body += out + "\\row\n";
        m_joined.clear();
    }

    // Cells: a text's from its left edge to where its text ends on the page (cut by the next
    // text), blank ones between, the last to the right margin. A text that starts where another
    // does shares its cell.
    QVector<RowCell> cellsOf(const TextLine& line) {
        QVector<RowCell> cells;
        int x = m_left;
        for (qsizetype i = 0; i < line.items.size(); ++i) {
            const PageItem* item = line.items[i];
            const int next = i + 1 < line.items.size() ? line.items[i + 1]->rect.left() : m_right;
            int right = item->rect.right() + 1;
            if (!item->wrap && item->alignment == Alignment::Left)
                right = std::max(right, item->rect.left() + item->room);
            right = std::min(right, next);
            if (right <= x) {
                if (!cells.isEmpty() && cells.last().item) m_joined.insert(cells.last().item, item);
                continue;
            }
            if (item->rect.left() > x) {
                cells.append({item->rect.left(), nullptr, {}, nullptr, nullptr});
                x = item->rect.left();
            }
            cells.append({right, item, {}, nullptr, nullptr});
            x = right;
        }
        if (x < m_right) cells.append({m_right, nullptr, {}, nullptr, nullptr});
        return cells;
    }

    // Shading from the boxes painted under each cell; borders from the lines across the row.
    void decorate(QVector<RowCell>& cells, const Page& page, const TextLine& line, int height,
                  bool last) const {
        const qsizetype firstText = line.items.isEmpty() ? 0 : line.items.first() - page.items.constData();
        int left = m_left;
        for (RowCell& cell : cells) {
            const QRect box(left, line.top, cell.right - left, std::min(height, line.height));
            cell.shading = shadingOf(page, cell.item ? cell.item->rect : box,
                                     cell.item ? cell.item - page.items.constData() : firstText);
            for (const PageItem& item : page.items)
                if (item.kind == PageItem::Kind::Line && item.line.dy() == 0 &&
                    item.rect.left() < cell.right && item.rect.right() >= left)
                    placeBorder(cell, item, line.top, height, last);
            left = cell.right;
        }
    }

    // A level line across a cell: its top border near the row's top, its bottom border near
    // its bottom (or below it, on the page's last row).
    static void placeBorder(RowCell& cell, const PageItem& line, int top, int height, bool last) {
        const int y = line.line.y1();
        if (y >= top - LineTolerance / 2 && y < top + height / 2)
            cell.top = &line;
        else if (y >= top + height / 2 && (y < top + height || last) && y <= top + height + LineTolerance)
            cell.bottom = &line;
    }

    // A cell's paragraph: its text and the texts that share it, or a blank of the least height.
    QByteArray contents(const RowCell& cell) {
        if (!cell.item) return "\\fs2 ";
        QByteArray out = cell.item->alignment == Alignment::Right    ? "\\qr"
                         : cell.item->alignment == Alignment::Center ? "\\qc"
                                                                     : "\\ql";
        out += text(*cell.item);
        for (auto it = m_joined.constFind(cell.item); it != m_joined.constEnd() && it.key() == cell.item;
             ++it)
            out += ' ' + text(**it);
        // A hidden blank parts the cells for readers that take the text alone.
        return out + "{\\v  }";
    }

    QByteArray text(const PageItem& item) {
        return "{\\f" + QByteArray::number(font(item.font.name)) + "\\fs" +
               QByteArray::number(int(item.font.size * 2)) + (item.font.bold ? "\\b" : "") +
               (item.font.italic ? "\\i" : "") + "\\cf" + QByteArray::number(color(item.color)) + ' ' +
               escaped(flatText(item)) + '}';
    }

    QByteArray border(const PageItem& line) {
        return "\\brdrs\\brdrw" + QByteArray::number(std::clamp(line.lineWidth, 1, 75)) + "\\brdrcf" +
               QByteArray::number(color(line.color));
    }

    QSize m_paper;
    int m_left = 0;
    int m_right = 0;
    QByteArray m_body;
    QMultiHash<const PageItem*, const PageItem*> m_joined;
    QVector<QString> m_fonts{QStringLiteral("Arial")};
    QVector<QColor> m_colors{QColor(Qt::black)};
};

} // namespace

QByteArray RtfExport::document(const Pages& pages, const PageDone& pageDone) {
    Writer writer(pages);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        writer.page(pages.unpack(p), p == 0);
        if (pageDone) pageDone(p + 1);
    }
    return writer.document();
}

void RtfExport::exportPages(const Pages& pages) {
    save(document(pages, progressFor(pages)));
}

} // namespace reports
