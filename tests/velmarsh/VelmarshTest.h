#pragma once

#include "framework/ProgramDescription.h"
#include "invoice_lines/ActiveReport1.h"
#include "invoice_lines/frmParametros.h"
#include "reports/PreviewWindow.h"

#include "support/PosFixture.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"

#include <gtest/gtest.h>

// A Velmarsh run on a point-of-sale fixture, with the clock pinned to 3 December 2026.
class VelmarshTest : public ::testing::Test {
protected:
    explicit VelmarshTest(bool sampleData = true) : fx(sampleData) {}
    void SetUp() override;
    void TearDown() override;

    // Starts the program and logs in as admin; returns the parameters window.
    velmarsh::frmParametros& logIn();
    // Sets the range of days and presses "Ver Listado" as the user does.
    void verListado(velmarsh::frmParametros& window, const runtime::Variant& desde,
                    const runtime::Variant& hasta);

    // The rows of tmpreport in stored order, values by column ("campo1" is index 0).
    QVector<QVector<runtime::Variant>> tmpreport();
    QString errorLog() const;

    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
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

// A cell of a tmpreport row by its column number (campo1 is 1).
inline QString campo(const QVector<runtime::Variant>& row, int n) {
    return row[n - 1].toText();
}
