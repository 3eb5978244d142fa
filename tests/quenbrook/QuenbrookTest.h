#pragma once

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/frmParametros.h"
#include "framework/ProgramDescription.h"
#include "reports/PreviewWindow.h"

#include "support/PosFixture.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"

#include <gtest/gtest.h>

// A Quenbrook run on a point-of-sale fixture, with the clock pinned to 3 December 2026.
class QuenbrookTest : public ::testing::Test {
protected:
    explicit QuenbrookTest(bool sampleData = true) : fx(sampleData) {}
    void SetUp() override;
    void TearDown() override;

    // Starts the program and logs in as admin; returns the parameters window.
    quenbrook::frmParametros& logIn();
    // Sets the range of days on the window.
    void setRange(quenbrook::frmParametros& window, const runtime::Variant& desde,
                  const runtime::Variant& hasta);
    // Presses "Ver Listado" as the user does.
    void verListado(quenbrook::frmParametros& window);

    // The rows of tmpreport in stored order, values by column ("campo1" is index 0).
    QVector<QVector<runtime::Variant>> tmpreport();
    QString errorLog() const;

    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
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
