#pragma once

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmParametros.h"
#include "reports/PreviewWindow.h"

#include "support/ProgramTest.h"

// A Quenbrook run on a point-of-sale fixture, with the clock pinned to 3 December 2026.
class QuenbrookTest : public ProgramTest<quenbrook::frmParametros> {
protected:
    explicit QuenbrookTest(bool sampleData = true) : ProgramTest(quenbrook::program, sampleData) {}

    // Sets the range of days on the window.
    void setRange(quenbrook::frmParametros& window, const runtime::Variant& desde,
                  const runtime::Variant& hasta);
    // Presses "Ver Listado" as the user does.
    void verListado(quenbrook::frmParametros& window);
    // Lists 1 December, the day of the sample sales; the report built.
    quenbrook::ActiveReport1& firstOfDecember(quenbrook::frmParametros& window);
};

// The same on empty tables: each test adds the rows its case needs.
class QuenbrookEmptyTest : public QuenbrookTest {
protected:
    QuenbrookEmptyTest() : QuenbrookTest(false) {}
    void SetUp() override {
        QuenbrookTest::SetUp();
        fx.addUser(QStringLiteral("admin"), QString(), {{"Admin", 1}});
    }
};
