#pragma once

#include "PageQueries.h"
#include "Readers.h"

#include "forms/CommonDialog.h"
#include "framework/ReportExport.h"
#include "reports/Report.h"
#include "support/LocaleScope.h"

#include <QTemporaryDir>

#include <functional>
#include <optional>

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

// Clicks the four export tools of a shown report (22 to 25), answering the save dialogs with
// the name's .xls, .pdf, .txt and .doc in the folder; the filters the dialogs offered.
inline QStringList exportToTheFourKinds(reports::Report& report, const QTemporaryDir& dir,
                                        const QString& name) {
    QStringList answers;
    for (const char* ext : {".xls", ".pdf", ".txt", ".doc"})
        answers << dir.filePath(name + QLatin1String(ext));
    QStringList filters;
    forms::CommonDialog::setSaveScript([&](const forms::CommonDialog& dialog) -> std::optional<QString> {
        filters << dialog.Filter;
        return answers.takeFirst();
    });
    for (int tool = 22; tool <= 25; ++tool)
        report.clickTool(tool);
    forms::CommonDialog::setSaveScript({});
    return filters;
}
