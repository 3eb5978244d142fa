#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/DatePicker.h"
#include "forms/Form.h"
#include "forms/OptionButton.h"
#include "forms/ProgressBar.h"
#include "forms/TextBox.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>

namespace {

class frmControles : public forms::Form {
public:
    frmControles() : Form(QStringLiteral("frmControles")) {
        setClientSize(6000, 4000);
        for (forms::OptionButton* option : {&optF0, &optF1})
            option->onClick([this, option] { clicks << option->index(); });
        txtPass.setPasswordChar(QStringLiteral("*"));
    }

    forms::OptionButton optF0{*this, "optF", "Fechas", {60, 60, 1500, 285}, 0};
    forms::OptionButton optF1{*this, "optF", "Desde último cierre", {60, 400, 1500, 285}, 1};
    forms::CheckBox chkTodos{*this, "chkTodos", "Ver todas las ventas", {60, 800, 2200, 500}};
    forms::ComboBox cmbRubros{*this, "cmbRubros", {60, 1400, 2000, 315}};
    forms::DatePicker dtdesde{*this, "dtdesde", {60, 1800, 1600, 330}};
    forms::DatePicker hdesde{*this, "hdesde", {60, 2200, 1600, 330}, forms::DatePicker::Time};
    forms::ProgressBar pb{*this, "pb", {60, 2600, 4000, 300}};
    forms::TextBox txtPass{*this, "txtPass", {60, 3000, 2000, 285}};
    QList<int> clicks;
};

class ControlsTest : public ::testing::Test {
protected:
    ScriptedHost host;
    forms::FormRegistry registry;
};

TEST_F(ControlsTest, OptionButtonsExcludeEachOtherAndClickAlsoWhenCodeSelects) {
    frmControles& form = forms::instance<frmControles>();
    form.show();
    form.optF0.setValue(true);
    form.optF0.setValue(true); // already selected: no click
    EXPECT_TRUE(user::click(form.optF1.widget()));
    EXPECT_FALSE(form.optF0.value());
    EXPECT_TRUE(form.optF1.value());
    EXPECT_EQ(form.clicks, (QList<int>{0, 1}));
    form.optF1.setValue(false);
    EXPECT_FALSE(form.optF1.value());
}

TEST_F(ControlsTest, CheckBoxValueIsZeroOrOne) {
    frmControles& form = forms::instance<frmControles>();
    form.show();
    EXPECT_EQ(form.chkTodos.value(), 0);
    EXPECT_TRUE(user::click(form.chkTodos.checkBox()));
    EXPECT_EQ(form.chkTodos.value(), 1);
    form.chkTodos.setValue(0);
    EXPECT_EQ(form.chkTodos.value(), 0);
}

TEST_F(ControlsTest, ComboBoxEntriesItemDataAndSelection) {
    frmControles& form = forms::instance<frmControles>();
    forms::ComboBox& combo = form.cmbRubros;
    combo.addItem("Todos");
    combo.setItemData(combo.newIndex(), -1);
    EXPECT_EQ(combo.listIndex(), -1);
    combo.addItem("Bebidas");
    combo.setItemData(combo.newIndex(), 7);
    combo.addItem("Al principio", 0);
    EXPECT_EQ(combo.newIndex(), 0);
    EXPECT_EQ(combo.listCount(), 3);
    EXPECT_EQ(combo.itemData(2), 7);
    combo.setListIndex(2);
    EXPECT_EQ(combo.text(), QStringLiteral("Bebidas"));
    EXPECT_THROW(combo.itemData(3), runtime::RuntimeError);
    EXPECT_THROW(combo.setListIndex(3), runtime::RuntimeError);
    combo.clear();
    EXPECT_EQ(combo.listIndex(), -1);
}

TEST_F(ControlsTest, DatePickersKeepTheDayAndTheTimeOfDay) {
    frmControles& form = forms::instance<frmControles>();
    const double serial = runtime::dateSerial(2026, 3, 5) + runtime::timeSerial(9, 7, 0);
    form.dtdesde.setValue(serial);
    EXPECT_DOUBLE_EQ(form.dtdesde.value(), serial);
    form.hdesde.setValue(serial);
    form.hdesde.setValue(runtime::Variant("23:59"));
    EXPECT_DOUBLE_EQ(form.hdesde.value(), runtime::dateSerial(2026, 3, 5) + runtime::timeSerial(23, 59, 0));
}

TEST_F(ControlsTest, ProgressBarRejectsValuesOutsideItsRange) {
    frmControles& form = forms::instance<frmControles>();
    form.pb.setMax(40);
    form.pb.setValue(40);
    EXPECT_EQ(form.pb.value(), 40);
    EXPECT_THROW(form.pb.setValue(41), runtime::RuntimeError);
}

TEST_F(ControlsTest, RejectedValuesRaiseTheControlsErrorWithItsDescription) {
    frmControles& form = forms::instance<frmControles>();
    const struct {
        std::function<void()> action;
        long number;
        QString description;
    } cases[] = {
        {[&] { form.pb.setValue(-1); }, 380, "Invalid property value"},
        {[&] { form.cmbRubros.setListIndex(3); }, 380, "Invalid property value"},
        {[&] { form.cmbRubros.itemData(3); }, 381, "Invalid property array index"},
    };
    for (const auto& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.description.toStdString();
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description(), c.description);
        }
    }
}

TEST_F(ControlsTest, PasswordBoxShowsStars) {
    frmControles& form = forms::instance<frmControles>();
    form.show();
    user::type(form.txtPass.widget(), "abc");
    EXPECT_EQ(form.txtPass.text(), QStringLiteral("abc"));
    EXPECT_EQ(form.txtPass.lineEdit()->displayText(), QStringLiteral("***"));
}

} // namespace
