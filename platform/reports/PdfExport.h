#pragma once

#include "ExportFilter.h"

namespace reports {

// PDF export: every page drawn at its paper size, texts kept as text.
class PdfExport : public ExportFilter {
public:
    void exportPages(const Pages& pages) override;
};

} // namespace reports
