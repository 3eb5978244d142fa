#include "TextExport.h"

#include "TextLines.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace reports {

namespace {
constexpr int ColumnTwips = 120;
constexpr int LineTwips = 240;
constexpr int LineTolerance = 120;
constexpr int MaxBlankLines = 2;
} // namespace

QString TextExport::pagesText(const Pages& pages, const PageDone& pageDone) {
    int minLeft = INT_MAX;
    pages.forEachPage([&minLeft](const Page& page) {
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Text) minLeft = std::min(minLeft, item.rect.left());
    });
    if (minLeft == INT_MAX) minLeft = 0;

    QString out;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0) out += u'\f';
        int previousTop = -1;
        const Page page = pages.unpack(p);
        for (const TextLine& line : textLines(page, LineTolerance)) {
            if (previousTop >= 0) {
                const int blanks = int(std::lround(double(line.top - previousTop) / LineTwips)) - 1;
                for (int i = 0; i < std::clamp(blanks, 0, MaxBlankLines); ++i)
                    out += u'\n';
            }
            previousTop = line.top;
            QString text;
            for (const PageItem* item : line.items) {
                const QString piece = flatText(*item).trimmed();
                int column = (item->rect.left() - minLeft) / ColumnTwips;
                if (item->alignment == Alignment::Right)
                    column = (item->rect.right() + 1 - minLeft) / ColumnTwips - int(piece.size());
                else if (item->alignment == Alignment::Center)
                    column = (item->rect.center().x() - minLeft) / ColumnTwips - int(piece.size()) / 2;
                column = std::max(column, text.isEmpty() ? 0 : int(text.size()) + 1);
                text += QString(column - text.size(), u' ');
                text += piece;
            }
            out += text;
            out += u'\n';
        }
        if (pageDone) pageDone(p + 1);
    }
    return out;
}

void TextExport::exportPages(const Pages& pages) {
    save(pagesText(pages, progressFor(pages)).toUtf8());
}

} // namespace reports
