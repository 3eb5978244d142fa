#include "runtime/FileSystem.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"
#include "runtime/Settings.h"
#include "runtime/Strings.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace runtime;

TEST(Program, AnErrorLeavingAnEventShowsTheBoxAndEndsTheProgram) {
    ScriptedHost host;
    App::setTitle("Quenbrook");
    bool after = false;
    runEvent([&] {
        raise(err::SubscriptOutOfRange);
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_EQ(host.boxes[0].text, "Run-time error '9':\n\nSubscript out of range");
    EXPECT_EQ(host.boxes[0].caption, "Quenbrook");
    EXPECT_EQ(host.boxes[0].icon(), mb::Critical);
    EXPECT_TRUE(host.ended);
    bool ranLater = false;
    runEvent([&] { ranLater = true; });
    EXPECT_FALSE(ranLater); // no event runs after the end
}

TEST(Program, AnyExceptionLeavingAnEventIsARunTimeError) {
    const struct {
        std::function<void()> handler;
        QString text;
    } cases[] = {
        {[] { throw std::out_of_range("vector index"); },
         "Run-time error '51':\n\nInternal error: vector index"},
        {[] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
    };
    for (const auto& c : cases) {
        ScriptedHost host;
        runEvent(c.handler);
        ASSERT_EQ(host.boxes.size(), 1);
        EXPECT_EQ(host.boxes[0].text, c.text);
        EXPECT_TRUE(host.ended);
    }
}

TEST(Program, EndStopsTheHandlerAtOnceAndDoEventsNoticesAnEndFromAnEvent) {
    ScriptedHost host;
    int steps = 0;
    runEvent([&] {
        ++steps;
        End();
        ++steps;
    });
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(host.ended);
    EXPECT_TRUE(host.boxes.isEmpty());

    ScriptedHost second;
    EXPECT_FALSE(hasEnded());
    bool reached = false;
    runEvent([&] {
        second.onBox = [](const ScriptedHost::Box&) {};
        try {
            End();
        } catch (const RuntimeError&) {
            reached = true; // a trap for run-time errors must not catch the end
        }
    });
    EXPECT_FALSE(reached);
}

TEST(Program, MessageBoxesTakeTheProgramTitleWithoutCaption) {
    ScriptedHost host;
    App::setTitle("Velmarsh");
    host.answer(mb::No);
    EXPECT_EQ(MsgBox("¿Seguro?", mb::YesNo + mb::Question), mb::No);
    EXPECT_EQ(MsgBox("hola", mb::OKOnly, "Tarvessin - Login"), mb::OK);
    ASSERT_EQ(host.boxes.size(), 2);
    EXPECT_EQ(host.boxes[0].caption, "Velmarsh");
    EXPECT_EQ(host.boxes[1].caption, "Tarvessin - Login");
}

TEST(FileSystem, WindowsPathsMapToThisFileSystem) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("pos/DB");
    QFile file(dir.path() + "/pos/DB/Db.mdb");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString program = dir.path() + "/pos/prog/bin";
    QDir().mkpath(program);
    // Windows-style "\..\..\" and doubled separators, and letter case of another system.
    EXPECT_TRUE(isOrdinaryFile(program + "\\..\\..\\\\db\\db.mdb"));
    EXPECT_EQ(localPath(program + "\\..\\..\\bases.ini"), dir.path() + "/pos/bases.ini");
    EXPECT_FALSE(isOrdinaryFile(dir.path() + "\\pos\\db")); // a folder is not a file
    EXPECT_FALSE(isOrdinaryFile(dir.path() + "\\pos\\missing.mdb"));
    EXPECT_FALSE(isOrdinaryFile(""));

    QString log = dir.path() + "\\pos\\log.txt";
    EXPECT_TRUE(appendLine(log, "one"));
    EXPECT_TRUE(appendLine(log, "dos ó"));
    QFile read(localPath(log));
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    EXPECT_EQ(read.readAll(), QByteArray("one\r\ndos \xc3\xb3\r\n"));
    EXPECT_FALSE(appendLine(dir.path() + "/no/such/folder/x.log", "lost"));
}

TEST(Settings, ThePerUserStoreIsSharedByApplicationName) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(GetSetting("Pellicant", "SETTINGS", "AnteriorUsuario", "admin"), "admin");
    SaveSetting("Pellicant", "SETTINGS", "AnteriorUsuario", "Admin ");
    EXPECT_EQ(GetSetting("Pellicant", "SETTINGS", "AnteriorUsuario", "admin"), "Admin ");
    EXPECT_EQ(GetSetting("Pellicant", "OTHER", "AnteriorUsuario"), "");
    EXPECT_TRUE(QFile::exists(settingsFile("Pellicant")));
    EXPECT_TRUE(settingsFile("Pellicant").startsWith(dir.path()));
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(Strings, SplitOfEmptyTextHasNoPieces) {
    EXPECT_TRUE(Split("", "|").isEmpty());
    EXPECT_EQ(Split("a|", "|"), QStringList({"a", ""}));
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abc", 3), "c");
}

TEST(Regional, ValReadsTheLeadingNumberWithAPoint) {
    EXPECT_DOUBLE_EQ(val("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(val("1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(val("abc"), 0.0);
    EXPECT_DOUBLE_EQ(val("-3"), -3.0);
    EXPECT_DOUBLE_EQ(val("&H1F"), 31.0);
}
