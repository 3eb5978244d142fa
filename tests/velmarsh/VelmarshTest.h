#pragma once

#include "invoice_lines/ActiveReport1.h"
#include "invoice_lines/Velmarsh.h"
#include "invoice_lines/frmParametros.h"
#include "reports/PreviewWindow.h"

#include "support/ProgramTest.h"

// A Velmarsh run on a point-of-sale fixture, with the clock pinned to 3 December 2026.
class VelmarshTest : public ProgramTest<velmarsh::frmParametros> {
protected:
    explicit VelmarshTest(bool sampleData = true) : ProgramTest(velmarsh::program, sampleData) {}

    // Sets the range of days and presses "Ver Listado" as the user does.
    void verListado(velmarsh::frmParametros& window, const runtime::Variant& desde,
                    const runtime::Variant& hasta);
};

// The same on empty tables: each test adds the rows its case needs.
class VelmarshEmptyTest : public VelmarshTest {
protected:
    VelmarshEmptyTest() : VelmarshTest(false) {}
    void SetUp() override {
        VelmarshTest::SetUp();
        fx.addUser(QStringLiteral("admin"), QString(), {{"Admin", 1}});
    }
};
