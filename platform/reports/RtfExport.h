#pragma once

#include "ExportFilter.h"

namespace reports {

// Word-processor export: an RTF document (saved under the name given, ".doc" for the
// programs) with a paragraph per line of each page, its texts at tab stops in their
// fonts and colours, and a page break between pages.
class RtfExport : public ExportFilter {
public:
    void exportPages(const Pages& pages) override;

    static QByteArray document(const Pages& pages);
};

} // namespace reports
