#include "forms/Form.h"
#include "forms/ListView.h"

#include "runtime/RuntimeError.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QHeaderView>
#include <QTableView>

#include <gtest/gtest.h>

#include <functional>

namespace {

class frmLista : public forms::Form {
public:
    frmLista() : Form(QStringLiteral("frmLista")) {
        setClientSize(5000, 3000);
        lv.onClick([this] { clicks << selection(); });
    }

    forms::ListView lv{*this, QStringLiteral("lv"), {60, 60, 4800, 2800}};
    QStringList clicks;

    // "id|name" rows under a hidden id column and a name column.
    void fill(const QStringList& rows) {
        lv.addColumn(QStringLiteral("A0"), QStringLiteral("id"), 0);
        lv.addColumn(QStringLiteral("A1"), QStringLiteral("Rubro"), 2000);
        for (const QString& row : rows) {
            const QStringList fields = row.split('|');
            const int item = lv.addItem(QStringLiteral("B") + fields[0], fields[0]);
            lv.addSubItem(item, QStringLiteral("C1"), fields[1]);
        }
    }

    // The texts of the selected rows, as the view shows them selected.
    QString selection() const {
        QStringList texts;
        for (int i = 1; i <= lv.count(); ++i) {
            const bool shown = lv.view()->selectionModel()->isRowSelected(i - 1, {});
            EXPECT_EQ(shown, lv.selected(i)) << "row " << i;
            if (lv.selected(i)) texts << lv.text(i);
        }
        return texts.join(',');
    }
};

class ListViewTest : public ::testing::Test {
protected:
    ScriptedHost host;
    forms::FormRegistry registry;
    frmLista& form = forms::instance<frmLista>();
    forms::ListView& lv = form.lv;
};

TEST_F(ListViewTest, RowsShowTheirTextAndSubItemsUnderTheColumns) {
    form.fill({"4|Bebidas", "7|Postres"});
    QAbstractItemModel* model = lv.view()->model();
    EXPECT_TRUE(lv.view()->isColumnHidden(0));
    EXPECT_EQ(lv.view()->columnWidth(1), 133);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rubro"));
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("7"));
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("Postres"));
    EXPECT_EQ(lv.item(QStringLiteral("b7")), 2);
    EXPECT_EQ(lv.subItem(2, 3), QString());

    lv.clearItems();
    EXPECT_EQ(model->rowCount(), 0);
    lv.clearColumns();
    EXPECT_EQ(model->columnCount(), 0);
}

TEST_F(ListViewTest, BadIndexesAndKeysRaiseTheirErrors) {
    form.fill({"4|Bebidas"});
    const struct {
        const char* what;
        std::function<void()> action;
        long number;
    } cases[] = {
        {"row 0", [&] { lv.text(0); }, 35600},
        {"row past the last", [&] { lv.setSelected(2, true); }, 35600},
        {"column past the last", [&] { lv.columnText(3); }, 35600},
        {"sub-item not added", [&] { lv.subItemKey(1, 2); }, 35600},
        {"key not there", [&] { lv.item(QStringLiteral("B5")); }, 35601},
        {"row key twice", [&] { lv.addItem(QStringLiteral("b4"), {}); }, 35602},
        {"column key twice", [&] { lv.addColumn(QStringLiteral("A1"), {}, 100); }, 35602},
        {"sub-item key twice", [&] { lv.addSubItem(1, QStringLiteral("C1"), {}); }, 35602},
        {"negative width", [&] { lv.addColumn(QStringLiteral("A2"), {}, -1); }, 380},
    };
    for (const auto& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number) << c.what;
        }
    }
    EXPECT_EQ(lv.count(), 1);
    EXPECT_EQ(lv.columnCount(), 2);
    EXPECT_EQ(lv.subItemCount(1), 1);
}

TEST_F(ListViewTest, UserSelectsSeveralRowsAndEveryClickRaisesClick) {
    form.fill({"4|Bebidas", "7|Postres", "9|Pastas", "12|Carnes"});
    lv.setMultiSelect(true);
    form.show();

    EXPECT_TRUE(user::clickItem(lv, 2));
    EXPECT_TRUE(user::clickItem(lv, 4, Qt::ControlModifier));
    EXPECT_TRUE(user::clickItem(lv, 2));
    EXPECT_TRUE(user::clickItem(lv, 3, Qt::ShiftModifier));
    EXPECT_TRUE(user::clickItem(lv, 3, Qt::ControlModifier));
    EXPECT_EQ(form.clicks, (QStringList{"7", "7,12", "7", "7,9", "7"}));

    // Rows selected from code show selected, also when chosen while the list is hidden.
    lv.setVisible(false);
    for (int i = 1; i <= lv.count(); ++i)
        lv.setSelected(i, true);
    lv.setVisible(true);
    EXPECT_EQ(form.selection(), QStringLiteral("4,7,9,12"));

    lv.setMultiSelect(false);
    lv.setSelected(1, true);
    EXPECT_EQ(form.selection(), QStringLiteral("4"));
    EXPECT_TRUE(user::clickItem(lv, 3, Qt::ControlModifier));
    EXPECT_EQ(form.clicks.last(), QStringLiteral("9"));

    lv.setEnabled(false);
    EXPECT_FALSE(user::clickItem(lv, 1));
    lv.setEnabled(true);
    lv.setVisible(false);
    EXPECT_FALSE(user::clickItem(lv, 1));
    EXPECT_EQ(form.clicks.size(), 6);
}

} // namespace
