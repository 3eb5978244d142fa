#include "RtfExport.h"

#include "TextLines.h"

#include <QFile>

#include <algorithm>
#include <climits>

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

} // namespace

QByteArray RtfExport::document(const Pages& pages) {
    int minLeft = INT_MAX, minTop = INT_MAX, maxRight = 0;
    for (const Page& page : pages)
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Text) {
                minLeft = std::min(minLeft, item.rect.left());
                minTop = std::min(minTop, item.rect.top());
                maxRight = std::max(maxRight, item.rect.right() + 1);
            }
    const QSize paper = pages.isEmpty() ? QSize(12240, 15840) : pages.first().size;
    const int marginLeft = minLeft == INT_MAX ? 1440 : std::max(0, minLeft);
    const int marginTop = minTop == INT_MAX ? 1440 : std::max(0, minTop);
    const int marginRight = std::max(360, paper.width() - maxRight);

    QVector<QString> fonts{QStringLiteral("Arial")};
    QVector<QColor> colors{QColor(Qt::black)};
    QByteArray body;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0) body += "\\page\n";
        int previousBottom = marginTop;
        for (const TextLine& line : textLines(pages[p], LineTolerance)) {
            QByteArray stops, text;
            int lastStop = 0;
            for (const PageItem* item : line.items) {
                const bool right = item->alignment == Alignment::Right;
                const bool center = item->alignment == Alignment::Center;
                const int stop = (right    ? item->rect.right() + 1
                                  : center ? item->rect.center().x()
                                           : item->rect.left()) -
                                 marginLeft;
                if (stop > lastStop) {
                    stops += right ? "\\tqr" : center ? "\\tqc" : "";
                    stops += "\\tx" + QByteArray::number(stop);
                    text += "\\tab";
                    lastStop = stop;
                } else if (!text.isEmpty()) {
                    text += ' ';
                }
                text += "{\\f" + QByteArray::number(indexOf(fonts, item->font.name)) + "\\fs" +
                        QByteArray::number(int(item->font.size * 2)) + (item->font.bold ? "\\b" : "") +
                        (item->font.italic ? "\\i" : "") + "\\cf" +
                        QByteArray::number(indexOf(colors, item->color) + 1) + ' ' +
                        escaped(flatText(*item)) + '}';
            }
            const int spaceBefore = std::max(0, line.top - previousBottom);
            previousBottom = line.top + line.height;
            body += "\\pard\\plain\\sb" + QByteArray::number(spaceBefore) + "\\sl-" +
                    QByteArray::number(line.height) + stops + ' ' + text + "\\par\n";
        }
    }

    QByteArray doc = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc0\n{\\fonttbl";
    for (int i = 0; i < fonts.size(); ++i)
        doc += "{\\f" + QByteArray::number(i) + "\\fswiss " + escaped(fonts[i]) + ";}";
    doc += "}\n{\\colortbl;";
    for (const QColor& c : colors)
        doc += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
               QByteArray::number(c.blue()) + ';';
    doc += "}\n\\paperw" + QByteArray::number(paper.width()) + "\\paperh" +
           QByteArray::number(paper.height()) + "\\margl" + QByteArray::number(marginLeft) + "\\margr" +
           QByteArray::number(marginRight) + "\\margt" + QByteArray::number(marginTop) + "\\margb720" +
           (paper.width() > paper.height() ? "\\landscape" : "") + "\n";
    doc += body;
    doc += "}\n";
    return doc;
}

void RtfExport::exportPages(const Pages& pages) {
    QFile file;
    openFile(file);
    const QByteArray bytes = document(pages);
    if (file.write(bytes) != bytes.size()) writeFailed(file);
    file.close();
}

} // namespace reports
