#pragma once

#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"

#include "support/ProgramTest.h"
#include "support/QtPrinters.h"

// A Dorrindale run on a point-of-sale fixture without spooler.mdb, with the clock pinned to
// 3 December 2026.
class DorrindaleTest : public ProgramTest<dorrindale::frmParametros> {
protected:
    DorrindaleTest() : ProgramTest(dorrindale::program) {}
    void SetUp() override;

    // Sets the range of days and presses "Ver Listado"; returns the report.
    dorrindale::arDorrindale& verListado(dorrindale::frmParametros& window, double desde, double hasta);
    dorrindale::arDorrindale& verListado(dorrindale::frmParametros& window);

    // The names of a list view's rows, and of its selected rows.
    static QStringList names(const forms::ListView& lv, bool selectedOnly = false);
};
