#pragma once

#include "PageQueries.h"
#include "Readers.h"

#include "framework/ReportExport.h"
#include "reports/Report.h"
#include "support/LocaleScope.h"

#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

// Under a locale with comma decimals, one with point decimals and one that writes dates with
// "-": builds the report, exports its spreadsheet as the export tool does and checks that
// LibreOffice shows every cell as the preview shows its text, row by row.
inline void expectSpreadsheetShowsThePreview(const std::function<reports::Report&()>& build) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("informe.xls"));
    for (const char* name : {"es_AR.UTF-8", "en_US.UTF-8", "es_CL.UTF-8"}) {
        SCOPED_TRACE(name);
        LocaleScope locale(name);
        reports::Report& report = build();
        framework::exExcelReport(report, file);
        const auto shown = shownSheetRows(file);
        if (!shown) GTEST_SKIP() << "LibreOffice is not installed";
        // The rows of the export's lines: texts within 5 points share one.
        EXPECT_EQ(shown->join(u'\n').toStdString(), pageLines(report.pages(), 100).join(u'\n').toStdString());
    }
}
