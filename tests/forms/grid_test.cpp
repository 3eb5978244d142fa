#include "forms/Form.h"
#include "forms/Grid.h"

#include "runtime/RuntimeError.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QHeaderView>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

class frmGrilla : public forms::Form {
public:
    frmGrilla() : Form(QStringLiteral("frmGrilla")) {
        setClientSize(7000, 4000);
        g.onClick([this] { events << QStringLiteral("Click %1").arg(g.row()); });
        g.onDblClick([this] { events << QStringLiteral("DblClick %1").arg(g.row()); });
        g.onEnterCell([this] { events << QStringLiteral("EnterCell %1,%2").arg(g.row()).arg(g.col()); });
        g.onMouseUp([this](int button, int, double, double) {
            events << QStringLiteral("MouseUp %1 at %2,%3").arg(button).arg(g.mouseRow()).arg(g.mouseCol());
        });
    }

    forms::Grid g{*this, QStringLiteral("g"), {60, 60, 6800, 3800}};
    QStringList events;

    void fill(const QStringList& rows) {
        g.setCols(3);
        g.setRows(1 + rows.size());
        g.setTextMatrix(0, 0, "id");
        g.setTextMatrix(0, 1, "Nombre");
        g.setTextMatrix(0, 2, "Importe");
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split('|');
            for (int c = 0; c < cells.size(); ++c)
                g.setTextMatrix(r + 1, c, cells[c]);
        }
    }

    QStringList column(int c) const {
        QStringList texts;
        for (int r = 1; r < g.rows(); ++r)
            texts << g.textMatrix(r, c);
        return texts;
    }
};

class GridTest : public ::testing::Test {
protected:
    ScriptedHost host;
    forms::FormRegistry registry;
    frmGrilla& form = forms::instance<frmGrilla>();
    forms::Grid& g = form.g;
};

TEST_F(GridTest, TitleRowWidthsAndCells) {
    form.fill({"1|Ana|10", "2|Luis|9"});
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.view()->model()->rowCount(), 2);
    EXPECT_EQ(g.view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nombre"));
    g.setColWidth(0, 0);
    g.setColWidth(1, 1500);
    EXPECT_TRUE(g.view()->isColumnHidden(0));
    EXPECT_EQ(g.view()->columnWidth(1), 100);
    EXPECT_EQ(g.colWidth(1), 1500);
    g.setRows(0);
    EXPECT_EQ(g.fixedRows(), 0);
    g.setRows(2);
    g.setFixedRows(1);
    EXPECT_EQ(g.textMatrix(1, 1), QString());
    EXPECT_TRUE(g.view()->isColumnHidden(0));
    try {
        g.textMatrix(2, 0);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number(), 381);
    }
}

TEST_F(GridTest, GenericSortComparesNumbersAsNumbersAndMovesCellFormats) {
    form.fill({"1|Luis|10", "2|Ana|9", "3||x", "4|Zoe|100"});
    g.setCellFontBold(1, 2, true);
    g.setCellBackColor(1, 2, 255);
    g.setRow(0);
    g.setRowSel(0);
    g.setCol(2);
    g.setColSel(2);
    g.setSort(forms::Grid::SortGenericAscending);
    EXPECT_EQ(form.column(2), (QStringList{"9", "10", "100", "x"}));
    EXPECT_TRUE(g.cellFontBold(2, 2));
    EXPECT_EQ(g.cellBackColor(2, 2), 255);
    EXPECT_EQ(g.cellBackColor(1, 2), 0);
    EXPECT_EQ(g.textMatrix(0, 2), QStringLiteral("Importe"));
    g.setCol(1);
    g.setColSel(1);
    g.setSort(forms::Grid::SortGenericDescending);
    EXPECT_EQ(form.column(1), (QStringList{"Zoe", "Luis", "Ana", ""}));
}

TEST_F(GridTest, UserClicksMoveTheCurrentRowAndRaiseEvents) {
    form.fill({"1|Ana|10", "2|Luis|9", "3|Zoe|1"});
    g.setSelectionMode(forms::Grid::SelectionByRow);
    g.setFocusRect(0);
    form.show();
    EXPECT_TRUE(user::clickCell(g, 2, 1));
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(form.events, (QStringList{"EnterCell 2,1", "MouseUp 1 at 2,1", "Click 2"}));
    EXPECT_TRUE(g.view()->selectionModel()->isRowSelected(1, {}));

    form.events.clear();
    EXPECT_TRUE(user::doubleClickCell(g, 2, 1));
    EXPECT_EQ(form.events, (QStringList{"MouseUp 1 at 2,1", "Click 2", "DblClick 2", "MouseUp 1 at 2,1"}));

    form.events.clear();
    EXPECT_TRUE(user::clickCell(g, 0, 2, Qt::RightButton));
    EXPECT_EQ(form.events, (QStringList{"MouseUp 2 at 0,2"}));
    EXPECT_EQ(g.row(), 2);

    form.events.clear();
    g.setRow(3);
    EXPECT_EQ(form.events, (QStringList{"EnterCell 3,1"}));
}

} // namespace
