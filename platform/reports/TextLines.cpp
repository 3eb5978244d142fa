#include "TextLines.h"

#include <algorithm>

namespace reports {

QVector<TextLine> textLines(const Page& page, int tolerance) {
    QVector<const PageItem*> texts;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text && !item.text.trimmed().isEmpty()) texts.append(&item);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const PageItem* a, const PageItem* b) { return a->rect.top() < b->rect.top(); });
    QVector<TextLine> lines;
    for (const PageItem* item : texts) {
        if (lines.isEmpty() || item->rect.top() > lines.last().top + tolerance)
            lines.append(TextLine{item->rect.top(), 0, {}});
        lines.last().items.append(item);
        lines.last().height = std::max(lines.last().height, item->rect.height());
    }
    for (TextLine& line : lines)
        std::stable_sort(line.items.begin(), line.items.end(), [](const PageItem* a, const PageItem* b) {
            return a->rect.left() < b->rect.left();
        });
    return lines;
}

QString flatText(const PageItem& item) {
    QString text = item.text;
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t') c = u' ';
    return text;
}

} // namespace reports
