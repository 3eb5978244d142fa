#pragma once

#include "Band.h"
#include "PageModel.h"
#include "Section.h"

#include <QVector>

#include <utility>
#include <vector>

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
// The band of an occurrence laid out, into band (its items replaced).
void render(const Section& section, const SectionLayout& layout, int width, Band& band);

// A section's occurrences laid out and rendered as layOut and render do, the fixed part (labels,
// fills, lines and the room they leave) laid out once and reused while no growing control grows
// and none of the controls changes its place, visibility or, for a label or line, anything.
class SectionPainter {
public:
    explicit SectionPainter(const Section& section) : m_section(section) {}
    // Lays out an occurrence as the controls stand: its height.
    int layOut(int width);
    // Whether the occurrence laid out last places no control.
    bool placesNothing() const { return m_fromPlan ? m_placed.empty() : m_layout.controls.isEmpty(); }
    // Renders the occurrence laid out last, the controls as they stand now, into band.
    void render(int width, Band& band);

private:
    // One item of the band in paint order: a fixed one, or the text of a field.
    struct Slot {
        PageItem item; // a field's: its box alone
        const Field* field = nullptr;
        bool measured = false;   // a single line of text, given the room on its right
        int right = 0;           // the room's end that fixed items leave
        std::vector<int> beside; // the field slots that end it where their text is not empty
    };
    Slot& addFixed(const PageItem& item);
    bool planned(int width) const;
    void plan(int width);
    SectionLayout planLayout() const;

    const Section& m_section;
    bool m_plannable = false;
    bool m_hasPlan = false;
    int m_width = 0;
    quint32 m_sectionRevision = 0;
    std::vector<quint32> m_revisions;                       // of the section's controls
    std::vector<std::pair<const Control*, QRect>> m_placed; // those visible, where they were
    std::vector<Slot> m_slots;
    std::vector<const Field*> m_growing;
    int m_fixedBottom = 0; // the bottom of the fixed items that print something
    // The occurrence laid out last: from the plan, or whole.
    bool m_fromPlan = false;
    int m_height = 0;
    SectionLayout m_layout;
};

// The height a text needs when wrapped within a width, in twips.
int wrappedTextHeight(const QString& text, const Font& font, int width);

PageItem translated(PageItem item, int dx, int dy);

} // namespace reports
