#pragma once

#include "ExportFilter.h"

namespace reports {

// Spreadsheet export: a BIFF8 workbook (.xls) with the pages' texts in cells. A text that shows
// a number or a date (a field's value, or a number written with the regional separators)
// becomes a number cell with a format code that shows it exactly as the page does; other texts
// stay texts. Columns come from the texts' left edges over the whole report, each at least as
// wide as its widest cell; rows from the lines of each page; a sheet holds up to 65536 rows and
// the next one goes on.
class XlsExport : public ExportFilter {
public:
    // Leave out the blank rows that the space between lines would give.
    void setRemoveVerticalSpace(bool on) { m_removeVerticalSpace = on; }
    // Show the sheet's grid lines.
    void setShowGridLines(bool on) { m_showGridLines = on; }
    // A page break before the first row of each page.
    void setPageBreaks(bool on) { m_pageBreaks = on; }
    // Left edges closer than this many characters share a column.
    void setMinColumnWidth(int characters) { m_minColumnWidth = characters; }
    // Texts whose tops lie within this many points share a row.
    void setMinRowHeight(int points) { m_minRowHeight = points; }

    void exportPages(const Pages& pages) override;

    QByteArray workbook(const Pages& pages, const PageDone& pageDone = {}) const;

private:
    bool m_removeVerticalSpace = true;
    bool m_showGridLines = false;
    bool m_pageBreaks = true;
    int m_minColumnWidth = 1;
    int m_minRowHeight = 5;
};

} // namespace reports
