#pragma once

#include "support/Files.h"
#include "support/PosFixture.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"
#include "support/UserInput.h"

#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/ProgramSession.h"
#include "framework/frmLogin.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

// A program's run for one test: a per-user settings store of its own, a point-of-sale
// installation, the scripted user and the program's session, with the clock pinned to
// 3 December 2026 10:30:15. The test's end ends the session (the windows left loaded are
// unloaded, the report and its preview deleted, the program-wide values cleared), then the
// scripted user puts the real clock back.
template <class Parametros> class ProgramTest : public ::testing::Test {
protected:
    using Program = std::function<framework::ProgramDescription()>;

    explicit ProgramTest(Program program, bool sampleData = true)
        : fx(sampleData), m_program(std::move(program)) {}

    void SetUp() override {
        runtime::setClock(pinnedNow);
        session.emplace(m_program());
    }
    void TearDown() override { session.reset(); }

    // Ends the program's run and starts another on the same installation, of the fixture's
    // program or of another description.
    void restart() { restart(m_program()); }
    void restart(framework::ProgramDescription description) {
        session.reset();
        runtime::resetProgramState();
        host.ended = false;
        session.emplace(std::move(description));
    }

    // Starts the program as its main does (Main runs as the first event); the login window.
    framework::frmLogin& start() {
        forms::fire([] { framework::Main(); });
        EXPECT_TRUE(forms::isLoaded<framework::frmLogin>());
        return forms::instance<framework::frmLogin>();
    }
    // Starts the program and logs in as admin; the parameters window.
    Parametros& logIn() {
        EXPECT_TRUE(user::type(start().txtPass.widget(), QStringLiteral("\r")));
        EXPECT_TRUE(forms::isLoaded<Parametros>());
        return forms::instance<Parametros>();
    }

    // The rows of tmpreport in stored order, values by column ("campo1" is index 0).
    QVector<QVector<runtime::Variant>> tmpreport() {
        return fx.rows(QStringLiteral("select * from tmpreport"), fx.spooler());
    }
    // The error log of the pinned day.
    QString errorLog() const {
        return QString::fromUtf8(fileContents(fx.programFolder() + QStringLiteral("/ErrorLog031226.log")));
    }

    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
    std::optional<framework::ProgramSession> session;

private:
    static QDateTime pinnedNow() { return QDateTime(QDate(2026, 12, 3), QTime(10, 30, 15)); }

    Program m_program;
};

// A cell of a tmpreport row by its column number (campo1 is 1).
inline QString campo(const QVector<runtime::Variant>& row, int n) {
    return row[n - 1].toText();
}
// A time of day as "h:mm".
inline QString hhmm(const runtime::Variant& value) {
    return runtime::Format(value, QStringLiteral("h:mm"));
}
