#pragma once

#include "framework/ExportingReport.h"
#include "subReportDctos.h"
#include "subReprotObs.h"

namespace dorrindale {

// The sales-by-dish report: one line per day, hour, dish and unit price, and at its end the
// totals, the discounts per sale date and the options charged, each in a sub-report. The
// two sub-reports live as long as the report; the builder hands them to their controls.
class arDorrindale : public framework::ExportingReport {
public:
    arDorrindale();

    reports::Field* params;
    reports::Field* Field9;
    reports::Field* txtNombreArticulo;
    reports::Field* Field11;
    reports::Field* txtSumOfcantidad;
    reports::Field* txtmonto;
    reports::Field* txtimp;
    reports::Field* Field10;
    reports::DataControl* dao;
    reports::Field* Field7;
    reports::Field* Field8;
    reports::SubReport* SubReportDescuentos;
    reports::Field* vDesc;
    reports::Field* SuperTotal;
    reports::SubReport* subReportObs;

    subReportDctos discountsReport;
    subReprotObs observationsReport;

private:
    void ReportFooter_BeforePrint();
};

} // namespace dorrindale
