#pragma once

#include "ExportingReport.h"

namespace framework {

// A report layout that prints the rows of tmpreport: at report start its data control
// reads "select * from tmpreport" on the local database and the report totals start at 0.
class TmpreportReport : public ExportingReport {
public:
    double mTotalVentas = 0;
    double mTotalAnulaciones = 0;

protected:
    void ActiveReport_ReportStart() override;
};

} // namespace framework
