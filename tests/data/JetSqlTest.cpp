#include "data/JetSql.h"
#include "data/Recordset.h"
#include "data/SqlTokenizer.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <algorithm>

using runtime::Variant;

namespace {

// A Jet text tokenized, its #date# literals read.
data::SqlText jetText(const QString& sql) {
    data::SqlText text = data::tokenize(sql);
    data::jetDialect(QString())->readLiterals(text);
    return text;
}

} // namespace

TEST(JetText, LiteralsLeaveTheShape) {
    const auto a = jetText("select * from Quenbrook where idventa = 15 and tipo <> 'ITEM'");
    const auto b = jetText("select  *  from Quenbrook where idventa = 2071 and tipo <> 'X'");
    EXPECT_EQ(a.shape, b.shape);
    ASSERT_EQ(a.literals.size(), 2);
    EXPECT_EQ(a.literals[0].toLong(), 15);
    EXPECT_EQ(a.literals[1].toString(), "ITEM");
    EXPECT_NE(a.shape, jetText("select * from Quenbrook where idventa = '15' and tipo <> 'ITEM'").shape);

    const auto c = jetText("select 'it''s', \"dq\", 1.5, #2026-12-08#, #07:05:09#, #12/8/2026 7:05 PM#");
    ASSERT_EQ(c.literals.size(), 6);
    EXPECT_EQ(c.literals[0].toString(), "it's");
    EXPECT_EQ(c.literals[1].toString(), "dq");
    EXPECT_DOUBLE_EQ(c.literals[2].toDouble(), 1.5);
    EXPECT_TRUE(c.literals[3].isDate());
    EXPECT_DOUBLE_EQ(c.literals[3].toDate(), runtime::dateSerial(2026, 12, 8));
    EXPECT_DOUBLE_EQ(c.literals[4].toDate(), runtime::timeSerial(7, 5, 9));
    EXPECT_DOUBLE_EQ(c.literals[5].toDate(),
                     runtime::dateSerial(2026, 12, 8) + runtime::timeSerial(19, 5, 0));

    EXPECT_THROW(jetText("select #2026-02-30#"), runtime::RuntimeError);
    EXPECT_THROW(jetText("select #07.05.09#"), runtime::RuntimeError);
    EXPECT_THROW(jetText("select 'abierto"), runtime::RuntimeError);
}

TEST(JetText, ATextThatDiffersOnlyInItsNumbersReadsLikeTheOneKnown) {
    const QString known = "select * from t where a = 15 and b <> 'ITEM' and c = 15 order by 2";
    const QString withNumbers[] = {
        "select * from t where a = 2071 and b <> 'ITEM' and c = 2071 order by 2",
        "select * from t where a = 1.5 and b <> 'ITEM' and c = 7e3 order by 2",
        "select * from t where a = .5 and b <> 'ITEM' and c = 123456789012345678901 order by 2"};
    const QString otherwise[] = {"select * from t where a = 15 and b <> 'ITEM2' and c = 15 order by 2",
                                 "select * from t where a = -15 and b <> 'ITEM' and c = 15 order by 2",
                                 "select * from t where a = 15 and b <> 'ITEM' and c = 15 order by 3",
                                 "select * from t where a = 15 and b <> 'ITEM' and c = x15 order by 2",
                                 "select * from t where a = 15 and b <> 'ITEM' and c = 15 order by 2 ",
                                 "select * from t where a = 15 and b <> 'ITEM' and c = 15"};
    const data::SqlText knownText = jetText(known);
    QVector<Variant> literals;
    for (const QString& sql : withNumbers) {
        ASSERT_TRUE(data::literalsLike(sql, known, knownText, literals)) << qPrintable(sql);
        const data::SqlText text = jetText(sql);
        EXPECT_EQ(text.shape, knownText.shape);
        ASSERT_EQ(literals.size(), text.literals.size());
        for (int i = 0; i < literals.size(); ++i) {
            EXPECT_EQ(literals[i].type(), text.literals[i].type()) << qPrintable(sql) << " literal " << i;
            EXPECT_TRUE(literals[i].equals(text.literals[i])) << qPrintable(sql) << " literal " << i;
        }
    }
    for (const QString& sql : otherwise)
        EXPECT_FALSE(data::literalsLike(sql, known, knownText, literals)) << qPrintable(sql);
}

namespace {

class JetFunctions : public ::testing::Test {
protected:
    JetFunctions() : locale("es_AR.UTF-8"), pos(false) {}

    Variant value(const QString& expression) {
        data::Recordset rs;
        rs.open("select " + expression + " as v", pos.spooler());
        return rs.fields(0).value();
    }

    LocaleScope locale;
    PosFixture pos;
};

} // namespace

TEST_F(JetFunctions, JoinsWithAmpersandReadNullAsEmpty) {
    EXPECT_EQ(value("'a' & null & 'b'").toString(), "ab");
    EXPECT_TRUE(value("null & null").isNull());
    EXPECT_EQ(value("1 + 2 & 'x'").toString(), "3x"); // arithmetic binds first
    EXPECT_EQ(value("2.5 & ''").toString(), "2,5");   // numbers as the regional text
    EXPECT_EQ(value("iif('a' & 'b' = 'AB', 1, 0)").toLong(), 1);
}

TEST_F(JetFunctions, JetOnlyFunctions) {
    EXPECT_NE(value("isnull(null)").toLong(), 0);
    EXPECT_EQ(value("isnull(5)").toLong(), 0);
    EXPECT_EQ(value("not isnull(5)").toLong(), 1);
    EXPECT_DOUBLE_EQ(value("val('12.5abc')").toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(value("val('abc')").toDouble(), 0);
    EXPECT_TRUE(value("val(null)").isNull());
    EXPECT_EQ(value("instr(1, 'nca', 'N')").toLong(), 1);
    EXPECT_EQ(value("instr(2, 'NCA', 'N')").toLong(), 0);
    EXPECT_EQ(value("instr('ABCA', 'a')").toLong(), 1);
    EXPECT_TRUE(value("instr(1, null, 'N')").isNull());
    EXPECT_EQ(value("instr(3, 'abcABC', 'Bc')").toLong(), 5);
    EXPECT_EQ(value("instr(4, 'abc', '')").toLong(), 4);
    EXPECT_EQ(value("instr(5, 'abc', '')").toLong(), 0);
    EXPECT_EQ(value("instr('Ñandú', 'DÚ')").toLong(), 4);
    EXPECT_EQ(value("iif(instr(1, 'B', 'N'), -3, 3)").toLong(), 3);
    EXPECT_EQ(value("hour(#18:59:59#)").toLong(), 18);
    EXPECT_EQ(value(QString("hour(%1)").arg(runtime::timeSerial(19, 0, 0) - 1e-9, 0, 'g', 17)).toLong(), 19);
    EXPECT_DOUBLE_EQ(value("DateValue(#2026-12-08 23:59:00#)").toDouble(), runtime::dateSerial(2026, 12, 8));
    EXPECT_TRUE(value("DateValue(#2026-12-08 23:59:00#)").isDate());
    // Values outside the runtime's range fail the statement instead of escaping the engine.
    for (const char* overflow : {"hour(1e13)", "DateValue(-1e13)", "val('1e999')", "9e999 & ''"})
        EXPECT_THROW(value(overflow), runtime::RuntimeError) << overflow;
}

TEST_F(JetFunctions, TextsCompareWithoutRegardToCaseEvenInUntypedColumns) {
    pos.spooler()->execute("insert into tmpreport (campo1, campo3) values (1, 'Abierto')");
    auto count = [&](const QString& where) {
        return pos.scalar("select count(*) from tmpreport where " + where, pos.spooler()).toLong();
    };
    EXPECT_EQ(count("campo3 = 'ABIERTO'"), 1);
    EXPECT_EQ(count("'abierto' = campo3"), 1);
    EXPECT_EQ(count("campo3 <> 'abierto'"), 0);
}

// Texts of ASCII alone take a way round ICU: they must sort as ICU sorts them.
TEST_F(JetFunctions, PlainTextsSortAsTheCollatorSortsThem) {
    QStringList texts = {"a-b", "a b", "ab", "a.b", "A_b", "a1",  "a10", "a2",  "[x]", "~x", "x~", "Zeta",
                         "'q",  "#1",  "$2", "",    " ",   "a,b", "a;b", "a:b", "(b",  "@c", "*d", "/e",
                         "\\f", "&g",  "%h", "`i",  "^j",  "+k",  "<l",  "=m",  ">n",  "|o", "!p", "?r"};
    for (int i = 0; i < texts.size(); ++i)
        pos.spooler()->execute(QString("insert into tmpreport (campo1, campo3) values (%1, '%2')")
                                   .arg(i)
                                   .arg(QString(texts[i]).replace("'", "''")));
    QStringList sorted;
    for (const auto& row : pos.rows("select campo3 from tmpreport order by campo3", pos.spooler()))
        sorted << row[0].toString();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("", &status);
    ucol_setStrength(collator, UCOL_SECONDARY);
    std::sort(texts.begin(), texts.end(), [collator](const QString& a, const QString& b) {
        UErrorCode s = U_ZERO_ERROR;
        const QByteArray x = a.toUtf8(), y = b.toUtf8();
        return ucol_strcollUTF8(collator, x.constData(), int(x.size()), y.constData(), int(y.size()), &s) ==
               UCOL_LESS;
    });
    ucol_close(collator);
    EXPECT_EQ(sorted, texts);
}

TEST_F(JetFunctions, GroupByConstantsAndAliasReferences) {
    auto spooler = pos.spooler();
    for (int i = 1; i <= 3; ++i)
        spooler->execute(
            QString("insert into tmpreport (campo1, campo2) values (%1, %2)").arg(i % 2).arg(i * 10));
    const auto rows = pos.rows("select campo1, sum(campo2) as total, [total]*2 as doble from tmpreport "
                               "group by campo1, 0, 'x', -1 order by campo1",
                               spooler);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][1].toLong(), 20);
    EXPECT_EQ(rows[0][2].toLong(), 40);
    EXPECT_EQ(rows[1][1].toLong(), 40);
    EXPECT_EQ(rows[1][2].toLong(), 80);
}

TEST_F(JetFunctions, SyntaxJetRejects) {
    auto spooler = pos.spooler();
    EXPECT_THROW(pos.rows("select * from tmpreport where campo1 in ()", spooler), runtime::RuntimeError);
    EXPECT_THROW(spooler->execute("delete from tmpreport; delete from tmpreport"), runtime::RuntimeError);
    EXPECT_THROW(pos.rows("select [nada] from tmpreport", spooler), runtime::RuntimeError);
    EXPECT_NO_THROW(pos.rows("select * from tmpreport ; ", spooler));
}

TEST_F(JetFunctions, TextsThatDifferInNumbersShareOneStatement) {
    auto spooler = pos.spooler();
    for (int i = 0; i < 500; ++i)
        spooler->execute(QString("insert into tmpreport (campo1, campo2) values (%1, 'x%1')").arg(i));
    data::Recordset rs;
    long found = 0;
    for (int i = 0; i < 500; i += 7) {
        rs.open(QString("select campo2 from tmpreport where campo1 = %1").arg(i), spooler);
        found += rs.fields(0).value().toString() == QString("x%1").arg(i);
        rs.close();
    }
    EXPECT_EQ(found, 72);
}
