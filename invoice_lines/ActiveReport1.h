#pragma once

#include "framework/TmpreportReport.h"

namespace velmarsh {

// The invoice-lines report: one line per row of tmpreport with the location label, the
// ticket's date and number, the motive, the user, the time, the product, the quantity, the
// unit amount and the line total; the title and column captions once at the top.
class ActiveReport1 : public framework::TmpreportReport {
public:
    ActiveReport1();

    reports::Section* ReportHeader;
    reports::Section* Detail;

    reports::Field* local;
    reports::Field* txtcampo18;
    reports::Field* txtcampo20;
    reports::Field* lintotal;
    reports::DataControl* DAODataControl1;

private:
    void Detail_Format();
};

} // namespace velmarsh
