#include "RtfExport.h"

#include <algorithm>
#include <optional>

namespace reports {

namespace {

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

// The colour drawn under a text: the last filled box painted before it that holds it.
std::optional<QColor> shadingOf(const Page& page, qsizetype index) {
    const QRect& box = page.items[index].rect;
    for (qsizetype i = index - 1; i >= 0; --i) {
        const PageItem& item = page.items[i];
        if (item.kind == PageItem::Kind::Rect && item.rect.contains(box)) {
            if (item.color == QColor(Qt::white)) return std::nullopt;
            return item.color;
        }
    }
    return std::nullopt;
}

class Writer {
public:
    int font(const QString& name) { return indexOf(m_fonts, name); }
    int color(const QColor& color) { return indexOf(m_colors, color) + 1; }

    // A frame at a place of the page, of exact height.
    QByteArray frame(const QRect& rect) const {
        return "\\pard\\plain\\pvpg\\phpg\\posx" + QByteArray::number(rect.left()) + "\\posy" +
               QByteArray::number(rect.top()) + "\\absw" + QByteArray::number(std::max(1, rect.width())) +
               "\\absh-" + QByteArray::number(std::max(1, rect.height())) + "\\dxfrtext0\\sb0\\sa0";
    }
    QByteArray shading(const QColor& fill) {
        const QByteArray index = QByteArray::number(color(fill));
        return "\\cbpat" + index + "\\cfpat" + index + "\\shading10000";
    }

    QByteArray text(const Page& page, qsizetype index) {
        const PageItem& item = page.items[index];
        // A single line may run on into the free room on its right, as on the page.
        QRect rect = item.rect;
        if (!item.wrap && item.alignment == Alignment::Left) rect.setWidth(std::max(rect.width(), item.room));
        QByteArray out = frame(rect);
        out += item.alignment == Alignment::Right    ? "\\qr"
               : item.alignment == Alignment::Center ? "\\qc"
                                                     : "\\ql";
        if (const auto fill = shadingOf(page, index)) out += shading(*fill);
        out += " {\\f" + QByteArray::number(font(item.font.name)) + "\\fs" +
               QByteArray::number(int(item.font.size * 2)) + (item.font.bold ? "\\b" : "") +
               (item.font.italic ? "\\i" : "") + "\\cf" + QByteArray::number(color(item.color)) + ' ';
        const QStringList lines = item.text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i)
            out += (i > 0 ? "\\line " : "") + escaped(QString(lines[i]).remove(u'\r'));
        return out + "}\\par\n";
    }
    QByteArray box(const PageItem& item) { return frame(item.rect) + shading(item.color) + "\\fs2 \\par\n"; }
    QByteArray line(const PageItem& item) {
        const QByteArray border = "\\brdrs\\brdrw" + QByteArray::number(std::max(1, item.lineWidth)) +
                                  "\\brdrcf" + QByteArray::number(color(item.color));
        const bool horizontal = item.line.dy() == 0;
        const QRect rect = horizontal ? QRect(item.rect.left(), item.rect.top(), item.rect.width(), 20)
                                      : QRect(item.rect.left(), item.rect.top(), 20, item.rect.height());
        return frame(rect) + (horizontal ? "\\brdrt" : "\\brdrl") + border + "\\fs2 \\par\n";
    }

    QByteArray header(const QSize& paper) const {
        QByteArray doc = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc0\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i)
            doc += "{\\f" + QByteArray::number(i) + "\\fswiss " + escaped(m_fonts[i]) + ";}";
        doc += "}\n{\\colortbl;";
        for (const QColor& c : m_colors)
            doc += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                   "\\blue" + QByteArray::number(c.blue()) + ';';
        // The frames stand at their places on the paper; the margins only hold the anchors.
        doc += "}\n\\paperw" + QByteArray::number(paper.width()) + "\\paperh" +
               QByteArray::number(paper.height()) + "\\margl0\\margr0\\margt0\\margb0" +
               (paper.width() > paper.height() ? "\\landscape" : "") + "\n";
        return doc;
    }

private:
    QVector<QString> m_fonts{QStringLiteral("Arial")};
    QVector<QColor> m_colors{QColor(Qt::black)};
};

} // namespace

QByteArray RtfExport::document(const Pages& pages) {
    Writer writer;
    QByteArray body;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        for (qsizetype i = 0; i < page.items.size(); ++i) {
            const PageItem& item = page.items[i];
            switch (item.kind) {
            case PageItem::Kind::Text:
                if (!item.text.trimmed().isEmpty()) body += writer.text(page, i);
                break;
            case PageItem::Kind::Rect: {
                // Boxes under a text are that text's shading.
                const bool underText =
                    std::any_of(page.items.begin() + i + 1, page.items.end(), [&item](const PageItem& other) {
                        return other.kind == PageItem::Kind::Text && item.rect.contains(other.rect);
                    });
                if (!underText && item.color != QColor(Qt::white)) body += writer.box(item);
                break;
            }
            case PageItem::Kind::Line:
                if (item.line.dx() == 0 || item.line.dy() == 0) body += writer.line(item);
                break;
            }
        }
        // The frames above belong to the paragraph that follows them; it starts the page.
        body += QByteArray("\\pard\\plain") + (p > 0 ? "\\pagebb" : "") + "\\fs2\\sl-20\\slmult0\\par\n";
    }
    return writer.header(pages.isEmpty() ? QSize(12240, 15840) : pages.first().size) + body + "}\n";
}

void RtfExport::exportPages(const Pages& pages) {
    save(document(pages));
}

} // namespace reports
