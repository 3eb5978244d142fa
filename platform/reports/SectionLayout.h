#pragma once

#include "Band.h"
#include "PageModel.h"
#include "Section.h"

#include <QVector>

namespace reports {

// The controls of a section placed for one occurrence: growing fields and sub-reports
// take the height they need and push the controls below them down.
struct SectionLayout {
    struct Placed {
        const Control* control = nullptr;
        QRect rect;
        QVector<Band> subBands;
    };
    int height = 0;
    QVector<Placed> controls;
};

SectionLayout layOut(const Section& section);
Band render(const Section& section, const SectionLayout& layout, int width);

// The height a text needs when wrapped within a width, in twips.
int wrappedTextHeight(const QString& text, const Font& font, int width);

PageItem translated(PageItem item, int dx, int dy);

} // namespace reports
