#pragma once

#include "PageModel.h"
#include "Section.h"

#include <QVector>

namespace reports {

// A formatted section occurrence: its height and drawing operations relative to its
// top-left corner.
struct Band {
    int height = 0;
    QVector<PageItem> items;
};

// Where a run's bands go: the pages of a report, or the section of a parent report.
class BandSink {
public:
    virtual ~BandSink() = default;
    // The run starts, before the report header.
    virtual void begin() {}
    // The report header is placed: the first page header follows it.
    virtual void reportHeaderPlaced() {}
    // A band of that height is about to be placed (the pager starts a new page when it
    // would not fit).
    virtual void reserve(int height) = 0;
    virtual void place(Band band) = 0;
};

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
