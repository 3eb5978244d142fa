#include "framework/IniFile.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using namespace framework;

namespace {

const QString Ini = QStringLiteral("\\..\\..\\bases.ini");

QString read(PosFixture& pos, const QByteArray& content, const QString& key,
             const QString& fallback = "def") {
    pos.writeIni(content);
    return LeeIni(Ini, key, fallback);
}

} // namespace

TEST(LeeIni, MatchesKeysWithoutRegardToCaseAndTakesTheFirst) {
    PosFixture pos(false);
    EXPECT_EQ(read(pos, "directorio|C:\\pos\r\n", "Directorio"), "C:\\pos");
    EXPECT_EQ(read(pos, "DBKIND|2\r\ndbkind|1\r\n", "DBKIND"), "2");
    EXPECT_EQ(read(pos, "OTRA|x\r\n", "DBKIND"), "def");
}

TEST(LeeIni, KeepsBlanksAndCutsAtTheSecondBar) {
    PosFixture pos(false);
    EXPECT_EQ(read(pos, "DBKIND |2\r\n", "DBKIND"), "def");
    EXPECT_EQ(read(pos, "DBKIND|2 \r\n", "DBKIND"), "2 ");
    EXPECT_EQ(read(pos, "CONNSTRING|a=1|b=2\r\n", "CONNSTRING"), "a=1");
    EXPECT_EQ(read(pos, "CONNSTRING|\r\nCONNSTRING|x\r\n", "CONNSTRING"), ""); // present but empty
}

TEST(LeeIni, LinesEndAtCarriageReturnsOnly) {
    PosFixture pos(false);
    EXPECT_EQ(read(pos, "A|1\nB|2\r\n", "A"), "1\nB");
    EXPECT_EQ(read(pos, "A|1\nB|2\r\n", "B"), "def");
    EXPECT_EQ(read(pos, "A|1\rB|2", "B"), "2");
    EXPECT_EQ(read(pos, "\r\n\r\nB|3", "B"), "3");
}

TEST(LeeIni, ReplacesLowerCaseVbcrlfOnly) {
    PosFixture pos(false);
    EXPECT_EQ(read(pos, "X|unovbcrlfdos VBCRLF\r\n", "X"), "uno\r\ndos VBCRLF");
}

TEST(LeeIni, LineWithoutBarMatchesNoKeyAndReadingGoesOn) {
    PosFixture pos(false);
    EXPECT_EQ(read(pos, "[general]\r\nDBKIND|2\r\n", "DBKIND"), "2");
    EXPECT_EQ(read(pos, "DBKIND\r\n", "DBKIND"), "def");
}

TEST(LeeIni, MissingFileGivesTheDefaultAndTextIsUtf8OrTheWindowsCodePage) {
    PosFixture pos(false);
    QFile::remove(pos.iniFile());
    EXPECT_EQ(LeeIni(Ini, "Directorio", "x"), "x");
    EXPECT_EQ(read(pos,
                   "Directorio|C:\\Pe\xf1"
                   "a\r\n",
                   "Directorio"),
              QString::fromUtf8("C:\\Peña"));
    EXPECT_EQ(read(pos, "Directorio|/srv/p\xc3\xb3s\r\n", "Directorio"), QString::fromUtf8("/srv/pós"));
    EXPECT_EQ(read(pos,
                   "\xef\xbb\xbf"
                   "Directorio|/srv/p\xc3\xb3s\r\n",
                   "Directorio"),
              QString::fromUtf8("/srv/pós"));
}
