#pragma once

#include "reports/Report.h"

namespace dorrindale {

// The discounts of the sales-by-dish report: one line per sale date with its amount.
class subReportDctos : public reports::Report {
public:
    subReportDctos();

    reports::Field* sf_fecha;
    reports::Field* txtmonto;
    reports::DataControl* dao;
};

} // namespace dorrindale
