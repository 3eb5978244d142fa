#pragma once

#include "PageModel.h"

#include <QVector>

namespace reports {

// The texts of a page gathered into lines: texts whose tops lie within a tolerance of the
// line's first text share the line, ordered from left to right. Used by the exports that
// lay pages out in lines and columns.
struct TextLine {
    int top = 0;
    int height = 0; // the tallest text's box
    QVector<const PageItem*> items;
};

QVector<TextLine> textLines(const Page& page, int tolerance);
// The lines point into the page: a temporary one would leave them dangling.
QVector<TextLine> textLines(const Page&& page, int tolerance) = delete;

// The text of an item on one line (line breaks and tabs become blanks).
QString flatText(const PageItem& item);

} // namespace reports
