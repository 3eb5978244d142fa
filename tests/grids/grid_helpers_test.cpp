#include "framework/GridHelpers.h"
#include "framework/ProgramSession.h"

#include "forms/Form.h"
#include "forms/Grid.h"
#include "runtime/Program.h"
#include "support/Files.h"
#include "support/LocaleScope.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace framework;

namespace {

// A window with two grids; a click on a title sorts, as the listing window does.
class frmGrillas : public forms::Form {
public:
    frmGrillas() : Form(QStringLiteral("frmGrillas")) {
        setClientSize(9000, 6000);
        g.onMouseUp([this](int, int, double, double) {
            if (g.mouseRow() == 0) OrdenaGrilla(g, g.mouseCol());
        });
    }
    forms::Grid g{*this, QStringLiteral("g"), {60, 60, 8800, 2800}};
    forms::Grid GD{*this, QStringLiteral("GD"), {60, 3000, 8800, 2800}};
};

class GridHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { runtime::App::setPath(logDir.path()); }

    QStringList titles(const forms::Grid& grid) const {
        QStringList texts;
        for (int c = 0; c < grid.cols(); ++c)
            texts << grid.textMatrix(0, c);
        return texts;
    }
    QStringList column(const forms::Grid& grid, int c) const {
        QStringList texts;
        for (int r = 1; r < grid.rows(); ++r)
            texts << grid.textMatrix(r, c);
        return texts;
    }
    QString log() const { return errorLogLines(logDir.path()).join(QStringLiteral("\r\n")); }

    QTemporaryDir logDir;
    ScriptedHost host;
    ProgramSession session;
    frmGrillas& form = forms::instance<frmGrillas>();
    forms::Grid& g = form.g;
};

TEST_F(GridHelpersTest, PrepBuildsTitlesWidthsAndOneEmptyRow) {
    gFilasGrilla[9] = 5;
    GPrep(g, 9, QStringLiteral("id;0|Nro.;500"));
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(titles(g), (QStringList{"id", "Nro."}));
    EXPECT_EQ(g.colWidth(0), 0);
    EXPECT_TRUE(g.view()->isColumnHidden(0));
    EXPECT_EQ(g.colWidth(1), 500);
    EXPECT_EQ(column(g, 1), QStringList{""});
    EXPECT_EQ(gFilasGrilla[9], 0);
    EXPECT_EQ(g.focusRect(), 0);
    EXPECT_EQ(g.selectionMode(), forms::Grid::SelectionByRow);
    EXPECT_TRUE(g.redraw());
}

TEST_F(GridHelpersTest, AddItemFillsTheEmptyRowFirstThenAppends) {
    GPrep(g, 9, QStringLiteral("id;0|Nro.;500"));
    GAddItem(g, 9, QStringLiteral("1|101"), false);
    EXPECT_EQ(g.rows(), 2);
    GAddItem(g, 9, QStringLiteral("2|102|sobra"), false);
    GAddItem(g, 9, QStringLiteral("3"), false);
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(gFilasGrilla[9], 3);
    EXPECT_EQ(column(g, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(g, 1), (QStringList{"101", "102", ""}));
    EXPECT_TRUE(g.redraw());
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(GridHelpersTest, SlotOutsideTheCountersIsLoggedWithTheirPartialEffects) {
    GPrep(g, 21, QStringLiteral("id;0|Nro.;500"));
    EXPECT_EQ(titles(g), (QStringList{"id", "Nro."}));
    EXPECT_TRUE(g.redraw());
    GAddItem(g, 21, QStringLiteral("1|101"), false);
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(1, 0), QString());
    EXPECT_FALSE(g.redraw());
    const QStringList lines = log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("]Error 9 (Subscript out of range) in procedure GPrep of Módulo mFunciones")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("in procedure GAddItem of Módulo mFunciones")));
}

TEST_F(GridHelpersTest, WidthThatIsNoNumberStopsThePreparation) {
    gFilasGrilla[9] = 4;
    GPrep(g, 9, QStringLiteral("id;0|Nro.;ancho|Fecha;900"));
    EXPECT_EQ(g.textMatrix(0, 1), QStringLiteral("Nro."));
    EXPECT_EQ(g.textMatrix(0, 2), QString());
    EXPECT_FALSE(g.redraw());
    EXPECT_EQ(gFilasGrilla[9], 4);
    EXPECT_TRUE(log().contains(QStringLiteral("Error 13 (Type mismatch) in procedure GPrep")));
}

TEST_F(GridHelpersTest, TitleClicksSortAndMoveTheMarker) {
    LocaleScope locale("en_US.UTF-8"); // "9.5" is a number with a decimal point
    GPrep(g, 9, QStringLiteral("id;0|Nro.;500|Nombre;1500|Importe;900"));
    for (const char* row : {"1|7|Luis|10", "2|8|Ana|9.5", "3|9|Zoe|100"})
        GAddItem(g, 9, QString::fromLatin1(row), false);
    form.show();

    EXPECT_TRUE(user::clickCell(g, 0, 3));
    EXPECT_EQ(titles(g), (QStringList{"id", "Nro.", "Nombre", "< Importe"}));
    EXPECT_EQ(column(g, 3), (QStringList{"9.5", "10", "100"}));
    EXPECT_TRUE(user::clickCell(g, 0, 3));
    EXPECT_EQ(titles(g), (QStringList{"id", "Nro.", "Nombre", "> Importe"}));
    EXPECT_EQ(column(g, 3), (QStringList{"100", "10", "9.5"}));
    EXPECT_EQ(gSentidoOrden, 2);
    EXPECT_TRUE(user::clickCell(g, 0, 2));
    EXPECT_EQ(titles(g), (QStringList{"id", "Nro.", "< Nombre", "Importe"}));
    EXPECT_EQ(column(g, 2), (QStringList{"Ana", "Luis", "Zoe"}));
    EXPECT_EQ(gColOrden, 2);

    // A click on a data row never sorts.
    EXPECT_TRUE(user::clickCell(g, 1, 3));
    EXPECT_EQ(column(g, 2), (QStringList{"Ana", "Luis", "Zoe"}));
}

TEST_F(GridHelpersTest, OneMarkerStateServesEveryGrid) {
    GPrep(g, 9, QStringLiteral("a;500|b;500|c;500|d;500"));
    GAddItem(g, 9, QStringLiteral("1|2|3|4"), false);
    OrdenaGrilla(g, 3);
    GPrep(form.GD, 10, QStringLiteral("w;500|x;500|y;500|z;500"));
    GAddItem(form.GD, 10, QStringLiteral("1|1|1|1"), false);
    GAddItem(form.GD, 10, QStringLiteral("2|2|2|2"), false);
    OrdenaGrilla(form.GD, 3);
    EXPECT_EQ(form.GD.textMatrix(0, 3), QStringLiteral("> z"));
    EXPECT_EQ(column(form.GD, 3), (QStringList{"2", "1"}));

    // Prepared again with new titles: the next sort takes nothing off them.
    GPrep(g, 9, QStringLiteral("e;500|f;500|g;500|h;500"));
    OrdenaGrilla(g, 1);
    EXPECT_EQ(titles(g), (QStringList{"e", "< f", "g", "h"}));
}

} // namespace
