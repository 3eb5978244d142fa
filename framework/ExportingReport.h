#pragma once

#include "reports/Report.h"

namespace framework {

// A report layout with a preview: when the report ends it adds the export tools to the
// preview's toolbar, and a click on one of them exports the report to a file.
class ExportingReport : public reports::Report {
protected:
    void ActiveReport_ReportEnd() override;
    void ActiveReport_ToolbarClick(const reports::Tool& Tool) override;
};

} // namespace framework
