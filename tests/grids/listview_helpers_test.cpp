#include "framework/GridHelpers.h"
#include "framework/ListViewHelpers.h"
#include "framework/ParametersWindow.h"
#include "framework/ProgramSession.h"

#include "forms/Form.h"
#include "forms/ListView.h"
#include "runtime/Program.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "support/Screenshot.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace framework;

// Two lists as a parameters window holds them: a click on the first lists its
// selected rows in the second, all selected.
class frmListas : public forms::Form {
public:
    frmListas() : Form(QStringLiteral("frmListas")) {
        setClientSize(6500, 3000);
        for (forms::ListView* lv : {&familias, &articulos})
            lv->setMultiSelect(true);
        familias.onClick([this] {
            lvPrep(articulos, 1, QStringLiteral("id;0|Articulo;4000"));
            for (int i = 1; i <= familias.count(); ++i)
                if (familias.selected(i))
                    lvAddItem(articulos, 1, familias.text(i) + '|' + familias.subItem(i, 1));
            lvSeleccionarTodos(articulos);
        });
    }
    forms::ListView familias{*this, QStringLiteral("FamiliasLista"), {60, 60, 2200, 2800}};
    forms::ListView articulos{*this, QStringLiteral("ArticulosLista"), {2340, 60, 4100, 2800}};
};

class frmParametrosPrueba : public ParametersWindow {};

class ListViewHelpersTest : public ::testing::Test {
protected:
    void SetUp() override { runtime::App::setPath(logDir.path()); }

    // Each row as its text and its sub-items, "|" between them.
    static QStringList rows(const forms::ListView& lv) {
        QStringList texts;
        for (int i = 1; i <= lv.count(); ++i) {
            QString row = lv.text(i);
            for (int s = 1; s < lv.columnCount(); ++s)
                row += '|' + lv.subItem(i, s);
            texts << row;
        }
        return texts;
    }
    QStringList logLines() const { return errorLogLines(logDir.path()); }

    QTemporaryDir logDir;
    ScriptedHost host;
    ProgramSession session;
    frmListas& form = forms::instance<frmListas>();
    forms::ListView& lv = form.familias;
};

TEST_F(ListViewHelpersTest, PrepBuildsKeyedColumnsAndEmptiesTheList) {
    lvPrep(lv, 1, QStringLiteral("a;100|b;200|c;300"));
    lvAddItem(lv, 1, QStringLiteral("1|x|y"));
    gFilasGrilla[1] = 5;
    lvPrep(lv, 1, QStringLiteral("id;0|Rubro;2000"));
    EXPECT_EQ(lv.count(), 0);
    ASSERT_EQ(lv.columnCount(), 2);
    EXPECT_EQ(lv.columnKey(1), QStringLiteral("A0"));
    EXPECT_EQ(lv.columnText(1), QStringLiteral("id"));
    EXPECT_TRUE(lv.view()->isColumnHidden(0));
    EXPECT_EQ(lv.columnKey(2), QStringLiteral("A1"));
    EXPECT_EQ(lv.columnText(2), QStringLiteral("Rubro"));
    EXPECT_EQ(lv.columnWidth(2), 2000);
    EXPECT_EQ(gFilasGrilla[1], 0);

    gFilasGrilla[1] = 5;
    lvPrep(lv, 1, QString());
    EXPECT_EQ(lv.columnCount(), 0);
    EXPECT_EQ(gFilasGrilla[1], 0);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(ListViewHelpersTest, AddItemFillsOneFieldPerColumn) {
    lvPrep(lv, 1, QStringLiteral("id;0|Rubro;2000"));
    lvAddItem(lv, 1, QStringLiteral("4|Bebidas"));
    EXPECT_EQ(gFilasGrilla[1], 1);
    EXPECT_EQ(lv.key(1), QStringLiteral("B1"));
    EXPECT_EQ(lv.subItemKey(1, 1), QStringLiteral("C1"));
    lvAddItem(lv, 1, QStringLiteral("7|Vinos|Tintos"));
    lvAddItem(lv, 1, QStringLiteral("9"));
    lvAddItem(lv, 1, QStringLiteral("12|Pastas"));
    EXPECT_EQ(rows(lv), (QStringList{"4|Bebidas", "7|Vinos", "9|", "12|Pastas"}));
    EXPECT_EQ(lv.subItemCount(2), 1);
    EXPECT_EQ(lv.key(4), QStringLiteral("B4"));
    EXPECT_EQ(lv.view()->model()->index(0, 1).data().toString(), QStringLiteral("Bebidas"));
    EXPECT_TRUE(lv.visible());
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(ListViewHelpersTest, FailuresAreLoggedWithTheirPartialEffects) {
    gFilasGrilla[1] = 3;
    lvPrep(lv, 1, QStringLiteral("id;0|Rubro|Otra;100"));
    EXPECT_EQ(lv.columnCount(), 1);
    EXPECT_EQ(gFilasGrilla[1], 3);

    lvPrep(lv, 21, QStringLiteral("id;0|Rubro;2000"));
    EXPECT_EQ(lv.columnCount(), 2);

    lvAddItem(lv, 21, QStringLiteral("4|Bebidas"));
    EXPECT_EQ(lv.count(), 0);

    // A second list filled through the same slot without its own preparation.
    lvPrep(lv, 1, QStringLiteral("id;0|Rubro;2000"));
    lvAddItem(lv, 1, QStringLiteral("4|Bebidas"));
    gFilasGrilla[1] = 0;
    lvAddItem(lv, 1, QStringLiteral("7|Vinos"));
    EXPECT_EQ(rows(lv), QStringList{"4|Bebidas"});
    EXPECT_TRUE(lv.visible());

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("]Error 9 (Subscript out of range) in procedure lvPrep of Módulo mFunciones")));
    EXPECT_TRUE(lines[1].endsWith(
        QStringLiteral("]Error 9 (Subscript out of range) in procedure lvPrep of Módulo mFunciones")));
    EXPECT_TRUE(lines[2].endsWith(
        QStringLiteral("]Error 9 (Subscript out of range) in procedure lvAddItem of Módulo mFunciones")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(
        "]Error 35602 (Key is not unique in collection) in procedure lvAddItem of Módulo mFunciones")));
}

TEST_F(ListViewHelpersTest, UserPicksFamiliesAndTheSelectedIdsJoin) {
    lvSeleccionarTodos(lv);
    EXPECT_EQ(lv.count(), 0);
    EXPECT_TRUE(lv.visible() && lv.enabled());

    lvPrep(lv, 1, QStringLiteral("id;0|Rubro;2000"));
    for (const char* row : {"4|Bebidas", "7|Carnes", "9|Pastas", "12|Postres"})
        lvAddItem(lv, 1, QString::fromUtf8(row));
    lvSeleccionarTodos(lv);
    form.show();
    ParametersWindow& parametros = forms::instance<frmParametrosPrueba>();
    EXPECT_EQ(parametros.GetSelectedlv(lv), QStringLiteral("4,7,9,12"));

    EXPECT_TRUE(user::clickItem(lv, 2));
    EXPECT_TRUE(user::clickItem(lv, 4, Qt::ControlModifier));
    EXPECT_EQ(parametros.GetSelectedlv(lv), QStringLiteral("7,12"));
    EXPECT_EQ(rows(form.articulos), (QStringList{"7|Carnes", "12|Postres"}));
    EXPECT_EQ(parametros.GetSelectedlv(form.articulos), QStringLiteral("7,12"));

    // A click that leaves the families as they were still selects every row again.
    EXPECT_TRUE(user::clickItem(form.articulos, 1));
    EXPECT_EQ(parametros.GetSelectedlv(form.articulos), QStringLiteral("7"));
    EXPECT_TRUE(user::clickItem(lv, 4, Qt::ControlModifier));
    EXPECT_TRUE(user::clickItem(lv, 4, Qt::ControlModifier));
    EXPECT_EQ(parametros.GetSelectedlv(form.articulos), QStringLiteral("7,12"));
    EXPECT_FALSE(saveScreenshot(form.window(), QStringLiteral("list-views")).isEmpty());
}

} // namespace
