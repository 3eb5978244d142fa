#pragma once

#include "reports/Report.h"

namespace dorrindale {

// The options charged in the sales-by-dish report: quantity, option, price and line total.
class subReprotObs : public reports::Report {
public:
    subReprotObs();

    reports::Field* qty;
    reports::Field* concepto;
    reports::Field* PRECIO;
    reports::Field* total;
    reports::DataControl* dao;

private:
    void Detail_Format();
};

} // namespace dorrindale
