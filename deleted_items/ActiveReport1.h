#pragma once

#include "framework/TmpreportReport.h"

namespace quenbrook {

// The deleted-items report: one group per sale of tmpreport, headed by the sale's ticket
// data, its item lines in green (remaining) or red (deleted or voided), and the totals of
// sales and deletions at the end.
class ActiveReport1 : public framework::TmpreportReport {
public:
    ActiveReport1();

    reports::Section* PageHeader;
    reports::Section* GroupHeader1;
    reports::Section* Detail;
    reports::Section* GroupFooter1;
    reports::Section* ReportFooter;

    reports::Field* txtcampo2;
    reports::Field* txtcampo6;
    reports::Field* txtcampo9;
    reports::Field* txtcampo10;
    reports::Field* txtcampo17;
    reports::Field* txtcampo18;
    reports::Field* txtcampo19;
    reports::Field* txtcampo20;
    reports::Field* Field1;
    reports::Field* txtcampo21;
    reports::Field* txtcampo22;
    reports::Field* txtcampo23;
    reports::Field* txtcampo24;
    reports::Field* Field5;
    reports::DataControl* DAODataControl1;
    reports::Field* totalFac;
    reports::Field* sumaTotal;
    reports::Field* sumaAnulaciones;
    reports::Field* totalokbo;

private:
    void GroupHeader1_Format();
    void Detail_Format();
    void ReportFooter_Format();
};

} // namespace quenbrook
