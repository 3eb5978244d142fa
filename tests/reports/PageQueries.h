#pragma once

#include "reports/PageModel.h"
#include "reports/TextLines.h"

#include <QStringList>

// Lookups of texts on rendered pages.
inline const reports::PageItem* findText(const reports::Page& page, const QString& text) {
    for (const reports::PageItem& item : page.items)
        if (item.kind == reports::PageItem::Kind::Text && item.text == text) return &item;
    return nullptr;
}
// The item found lies in the page: a page unpacked for the call would leave it dangling.
const reports::PageItem* findText(const reports::Page&& page, const QString& text) = delete;

inline QStringList pageTexts(const reports::Page& page) {
    QStringList texts;
    for (const reports::PageItem& item : page.items)
        if (item.kind == reports::PageItem::Kind::Text) texts << item.text;
    return texts;
}

inline QStringList allTexts(const reports::Pages& pages) {
    QStringList texts;
    pages.forEachPage([&texts](const reports::Page& page) { texts += pageTexts(page); });
    return texts;
}

inline int countText(const reports::Pages& pages, const QString& text) {
    int count = 0;
    pages.forEachPage([&](const reports::Page& page) { count += int(pageTexts(page).count(text)); });
    return count;
}

// The lines of a report's pages as the spreadsheet export lays them out in rows (texts within
// a tolerance in twips of a line's top share it): each line's texts joined by blanks.
inline QStringList pageLines(const reports::Pages& pages, int tolerance) {
    QStringList lines;
    pages.forEachPage([&](const reports::Page& page) {
        for (const reports::TextLine& line : reports::textLines(page, tolerance)) {
            QStringList texts;
            for (const reports::PageItem* item : line.items)
                texts << reports::flatText(*item).trimmed();
            lines << texts.join(u' ');
        }
    });
    return lines;
}
