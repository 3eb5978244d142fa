#pragma once

#include <QSize>

namespace reports {

// Paper, margins and orientation of a layout, in twips. The paper is given upright;
// landscape turns it.
struct PageSetup {
    enum class Orientation { Portrait, Landscape };

    QSize paper{12240, 15840}; // letter
    int leftMargin = 1440;
    int rightMargin = 1440;
    int topMargin = 1440;
    int bottomMargin = 1440;
    Orientation orientation = Orientation::Portrait;
    int printWidth = 0; // width of the sections; 0 is the width between the margins

    QSize pageSize() const { return orientation == Orientation::Landscape ? paper.transposed() : paper; }
    int sectionWidth() const {
        return printWidth > 0 ? printWidth : pageSize().width() - leftMargin - rightMargin;
    }
    void setMargins(int twips) { leftMargin = rightMargin = topMargin = bottomMargin = twips; }
};

} // namespace reports
