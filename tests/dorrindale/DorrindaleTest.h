#pragma once

#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"

#include "support/PosFixture.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"

#include <gtest/gtest.h>

// A Dorrindale run on a point-of-sale fixture without spooler.mdb, with the clock pinned to
// 3 December 2026.
class DorrindaleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program and logs in as admin; returns the parameters window.
    dorrindale::frmParametros& logIn();
    // Sets the range of days and presses "Ver Listado"; returns the report.
    dorrindale::arDorrindale& verListado(dorrindale::frmParametros& window, double desde, double hasta);
    dorrindale::arDorrindale& verListado(dorrindale::frmParametros& window);

    // The names of a list view's rows, and of its selected rows.
    static QStringList names(const forms::ListView& lv, bool selectedOnly = false);

    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
};
