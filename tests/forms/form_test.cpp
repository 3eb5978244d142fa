#include "forms/Application.h"
#include "forms/CommandButton.h"
#include "forms/DesktopLook.h"
#include "forms/Events.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/Label.h"
#include "forms/TextBox.h"

#include "runtime/RuntimeError.h"
#include "support/QtPrinters.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QStringList events;

class frmPrueba : public forms::Form {
public:
    frmPrueba() : Form(QStringLiteral("frmPrueba")) {
        setCaption(QStringLiteral("Prueba"));
        setClientSize(4000, 2000);
        cmdOk.onClick([this] { cmdOk_Click(); });
        cmdFallo.onClick([] { runtime::raise(runtime::err::TypeMismatch); });
        cmdFin.onClick([] {
            events << QStringLiteral("Fin");
            runtime::End();
        });
        txtNombre.onKeyPress([](int& keyAscii) {
            events << QStringLiteral("KeyPress %1").arg(keyAscii);
            if (keyAscii == '!') keyAscii = 0;
        });
        txtNombre.onLostFocus([] { events << QStringLiteral("LostFocus"); });
    }

    forms::Frame Frame1{*this, QStringLiteral("Frame1"), QStringLiteral("Datos"), {60, 0, 3800, 1200}};
    forms::TextBox txtNombre{Frame1, QStringLiteral("txtNombre"), {120, 300, 2000, 285}};
    forms::Label lblInfo{*this, QStringLiteral("lblInfo"), QString(), {60, 1300, 3000, 500}};
    forms::CommandButton cmdOk{
        *this, QStringLiteral("cmdOk"), QStringLiteral("Aceptar"), {60, 1500, 1200, 375}};
    forms::CommandButton cmdFallo{
        *this, QStringLiteral("cmdFallo"), QStringLiteral("Fallo"), {1300, 1500, 1200, 375}};
    forms::CommandButton cmdFin{
        *this, QStringLiteral("cmdFin"), QStringLiteral("Fin"), {2600, 1500, 1200, 375}};
    int cancelUnload = 0;
    QList<int> unloadModes;

protected:
    void Form_Load() override { events << QStringLiteral("Load"); }
    void Form_Activate() override { events << QStringLiteral("Activate"); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        unloadModes << UnloadMode;
        Cancel = cancelUnload;
    }

private:
    void cmdOk_Click() {
        events << QStringLiteral("Click");
        hide();
    }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    ScriptedHost host;
    forms::FormRegistry registry;
};

TEST_F(FormTest, FirstTouchLoadsWithoutShowingAndUnloadStartsAfresh) {
    EXPECT_FALSE(forms::isLoaded<frmPrueba>());
    frmPrueba& first = forms::instance<frmPrueba>();
    EXPECT_EQ(events, QStringList{"Load"});
    EXPECT_FALSE(first.visible());
    first.txtNombre.setText(QStringLiteral("Ana"));
    EXPECT_EQ(&forms::instance<frmPrueba>(), &first);
    EXPECT_EQ(events.size(), 1);

    EXPECT_TRUE(first.unload());
    EXPECT_EQ(first.unloadModes, QList<int>{forms::FormCode});
    EXPECT_FALSE(forms::isLoaded<frmPrueba>());
    EXPECT_EQ(forms::loadedForms(), 0);
    frmPrueba& again = forms::instance<frmPrueba>();
    EXPECT_EQ(events, (QStringList{"Load", "Load"}));
    EXPECT_EQ(again.txtNombre.text(), QString());
}

TEST_F(FormTest, SizesAreTwipsWithTheOuterFrameInHeight) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.setHeight(3780);
    EXPECT_EQ(form.height(), 3780);
    EXPECT_EQ(form.scaleHeight(), 3780 - 450);
    EXPECT_EQ(form.cmdOk.widget()->geometry(), QRect(4, 100, 80, 25));
    EXPECT_EQ(form.cmdOk.left(), 60);
    EXPECT_EQ(form.txtNombre.widget()->parentWidget(), form.Frame1.widget());
}

TEST_F(FormTest, ModalShowReturnsWhenHidden) {
    frmPrueba& form = forms::instance<frmPrueba>();
    QTimer::singleShot(0, [&] { EXPECT_TRUE(user::click(form.cmdOk.widget())); });
    form.show(forms::Modal);
    EXPECT_EQ(events, (QStringList{"Load", "Activate", "Click"}));
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(forms::isLoaded<frmPrueba>());
}

TEST_F(FormTest, CloseBoxUnloadsUnlessQueryUnloadCancels) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.cancelUnload = 1;
    form.show();
    EXPECT_TRUE(user::closeBox(form));
    EXPECT_TRUE(form.visible());
    form.cancelUnload = 0;
    QTimer::singleShot(0, [&] { user::closeBox(form); });
    form.hide();
    form.show(forms::Modal);
    EXPECT_EQ(form.unloadModes, (QList<int>{forms::FormControlMenu, forms::FormControlMenu}));
    EXPECT_FALSE(forms::isLoaded<frmPrueba>());
}

TEST_F(FormTest, UntrappedErrorShowsTheRunTimeBoxAndEndsTheProgram) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.show();
    EXPECT_TRUE(user::click(form.cmdFallo.widget()));
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_TRUE(host.boxes[0].text.contains("13"));
    EXPECT_TRUE(host.ended);
    events.clear();
    user::click(form.cmdOk.widget());
    EXPECT_TRUE(events.isEmpty()); // no event runs after the end
}

TEST_F(FormTest, EndInsideAModalWindowLeavesItsLoop) {
    frmPrueba& form = forms::instance<frmPrueba>();
    bool returned = false;
    QTimer::singleShot(0, [&] { user::click(form.cmdFin.widget()); });
    forms::fire([&] {
        form.show(forms::Modal);
        returned = true;
    });
    EXPECT_TRUE(host.ended);
    EXPECT_FALSE(returned);
}

TEST_F(FormTest, ProgramLivesWhileAFormIsLoaded) {
    bool started = false;
    const int code = forms::runProgram(QStringLiteral("Prueba"), [&] {
        started = true;
        forms::instance<frmPrueba>().show();
        QTimer::singleShot(0, [] { user::closeBox(forms::instance<frmPrueba>()); });
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(started);
    EXPECT_EQ(forms::loadedForms(), 0);
    EXPECT_EQ(runtime::App::title(), QStringLiteral("Prueba"));
}

TEST_F(FormTest, TextBoxKeysAndFocus) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.show();
    EXPECT_TRUE(user::type(form.txtNombre.widget(), QStringLiteral("a!\r")));
    EXPECT_EQ(form.txtNombre.text(), QStringLiteral("a"));
    EXPECT_EQ(events.mid(2), (QStringList{"KeyPress 97", "KeyPress 33", "KeyPress 13"}));
    form.txtNombre.setFocus();
    events.clear();
    user::focus(form.cmdOk.widget());
    EXPECT_EQ(events, QStringList{"LostFocus"});
}

TEST_F(FormTest, FrameReachesItsControlsAndSetFocusNeedsAUsableControl) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.show();
    form.Frame1.setEnabled(false);
    EXPECT_TRUE(form.txtNombre.enabled());
    EXPECT_FALSE(form.txtNombre.widget()->isEnabled());
    EXPECT_FALSE(user::type(form.txtNombre.widget(), QStringLiteral("x")));
    try {
        form.txtNombre.setFocus();
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number(), runtime::err::InvalidProcedureCall);
    }
    form.Frame1.setEnabled(true);
    form.Frame1.setVisible(false);
    EXPECT_TRUE(form.txtNombre.visible());
    EXPECT_FALSE(form.txtNombre.widget()->isVisible());
}

TEST_F(FormTest, LabelCaptionKeepsItsLineBreaks) {
    frmPrueba& form = forms::instance<frmPrueba>();
    form.lblInfo.setCaption(QStringLiteral("uno\r\ndos"));
    EXPECT_EQ(form.lblInfo.caption(), QStringLiteral("uno\r\ndos"));
    EXPECT_EQ(form.lblInfo.label()->text(), QStringLiteral("uno\ndos"));
}

} // namespace

TEST(DesktopLook, FontsOfTheLayoutsAndQtsOwnTextsInTheProcessLanguage) {
    forms::applyDesktopLook();
    for (const char* family : {"Arial", "MS Sans Serif"})
        EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(family))).family(), "Liberation Sans") << family;
    const bool spanish = QLocale::system().language() == QLocale::Spanish;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), spanish ? "&Sí" : "&Yes");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), spanish ? "Guardar" : "Save");
}
