#pragma once

#include "ExportFilter.h"

namespace reports {

// Plain-text export: each page's texts laid out in lines and columns (a column is 120
// twips, a line 240), pages parted by a form feed; UTF-8.
class TextExport : public ExportFilter {
public:
    void exportPages(const Pages& pages) override;

    // The text of the pages, as the file holds it.
    static QString pagesText(const Pages& pages, const PageDone& pageDone = {});
};

} // namespace reports
