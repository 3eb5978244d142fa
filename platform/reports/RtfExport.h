#pragma once

#include "ExportFilter.h"

namespace reports {

// Word-processor export: an RTF document (saved under the name given, ".doc" for the
// programs) on the report's paper, each text of a page in a frame at its place and size with
// its font, colour and the colour of the box under it, filled boxes and straight lines as
// frames too, and each page starting a new page.
class RtfExport : public ExportFilter {
public:
    void exportPages(const Pages& pages) override;

    static QByteArray document(const Pages& pages, const PageDone& pageDone = {});
};

} // namespace reports
