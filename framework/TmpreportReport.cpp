#include "TmpreportReport.h"

#include "clsDataBase.h"

namespace framework {

void TmpreportReport::ActiveReport_ReportStart() {
    reports::DataControl* DAODataControl1 = dataControl();
    DAODataControl1->setConnection(gDB->spooler);
    DAODataControl1->setSource(QStringLiteral("select * from tmpreport"));
    mTotalVentas = 0;
    mTotalAnulaciones = 0;
}

} // namespace framework
