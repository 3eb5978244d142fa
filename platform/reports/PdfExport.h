#pragma once

#include "ExportFilter.h"

namespace reports {

// PDF export: every page drawn at its paper size, texts kept as text; the document's title
// as given and the program as its creator.
class PdfExport : public ExportFilter {
public:
    void setTitle(const QString& title) { m_title = title; }

    void exportPages(const Pages& pages) override;

private:
    QString m_title;
};

} // namespace reports
