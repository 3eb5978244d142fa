#include "forms/CommandButton.h"
#include "forms/Events.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/QtHost.h"
#include "forms/Timer.h"

#include "runtime/Program.h"
#include "support/QtPrinters.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The Qt host in use for one test, then the previous host again.
class QtHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = runtime::setHost(&host);
        runtime::resetProgramState();
    }
    void TearDown() override {
        runtime::setHost(previous);
        runtime::resetProgramState();
    }
    forms::QtHost host;
    runtime::Host* previous = nullptr;
    forms::FormRegistry registry;
};

class frmMenu : public forms::Form {
public:
    frmMenu() : Form(QStringLiteral("frmMenu")) {
        mnuReimprimir.onClick([this] { ++clicks; });
        tmrReimprimir.onTimer([this] {
            ++ticks;
            tmrReimprimir.setEnabled(false);
        });
    }
    forms::Menu mnuPopup{*this, QStringLiteral("mnuPopup"), QStringLiteral("popup")};
    forms::MenuItem mnuReabrirMesa{mnuPopup, QStringLiteral("mnuReabrirMesa"),
                                   QStringLiteral("Copiar venta a mesa...")};
    forms::MenuItem mnuReimprimir{mnuPopup, QStringLiteral("mnuReimprimir"), QStringLiteral("ReImprimir")};
    forms::Timer tmrReimprimir{*this, QStringLiteral("tmrReimprimir"), 10, false};
    int clicks = 0;
    int ticks = 0;
};

TEST_F(QtHostTest, MessageBoxShowsTextIconButtonsAndCaption) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(runtime::MsgBox(QStringLiteral("¿Seguro?"), runtime::mb::YesNo | runtime::mb::Question,
                              QStringLiteral("Prueba")),
              runtime::mb::No);
    EXPECT_EQ(title, QStringLiteral("Prueba"));
    EXPECT_EQ(text, QStringLiteral("¿Seguro?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 2);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(runtime::MsgBox(QStringLiteral("Aviso"), runtime::mb::Exclamation), runtime::mb::OK);
}

TEST_F(QtHostTest, HourglassAndEventPump) {
    runtime::setMousePointer(runtime::pointer::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    runtime::setMousePointer(runtime::pointer::Default);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    runtime::DoEvents();
    EXPECT_TRUE(ran);
}

TEST_F(QtHostTest, UnderTheHourglassThePumpRunsTheLoopFirstThenEvery10Milliseconds) {
    runtime::setMousePointer(runtime::pointer::Hourglass);
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    runtime::DoEvents();
    EXPECT_EQ(ran, 1);
    QTimer::singleShot(0, [&] { ++ran; });
    QElapsedTimer clock;
    clock.start();
    while (ran < 2 && clock.elapsed() < 2000)
        runtime::DoEvents();
    EXPECT_EQ(ran, 2);
    EXPECT_GE(clock.elapsed(), 5);
    runtime::setMousePointer(runtime::pointer::Default);
}

class frmSalir : public forms::Form {
public:
    frmSalir() : Form(QStringLiteral("frmSalir")) {
        cmdVer.onClick([this] { ++vistas; });
        cmdSalir.onClick([] { runtime::End(); });
        forms::markExit(cmdSalir.widget());
    }
    forms::CommandButton cmdVer{
        *this, QStringLiteral("cmdVer"), QStringLiteral("Ver"), {100, 100, 1200, 400}};
    forms::CommandButton cmdSalir{
        *this, QStringLiteral("cmdSalir"), QStringLiteral("Salir"), {1500, 100, 1200, 400}};
    int vistas = 0;
};

TEST_F(QtHostTest, WorkThatNothingMayReEnterTakesOnlyTheExitsInput) {
    frmSalir& form = forms::instance<frmSalir>();
    form.show();
    bool after = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(user::click(form.cmdVer.widget()));
        EXPECT_TRUE(user::pressKey(form.cmdVer.widget(), Qt::Key_Space, QStringLiteral(" ")));
        EXPECT_EQ(form.vistas, 0);
        EXPECT_TRUE(user::click(form.cmdSalir.widget()));
    });
    forms::fire([&] {
        runtime::DoExitEvents();
        after = true;
    });
    EXPECT_TRUE(runtime::hasEnded());
    EXPECT_FALSE(after);

    // Outside such work the other buttons take their clicks again.
    runtime::resetProgramState();
    form.show();
    EXPECT_TRUE(user::click(form.cmdVer.widget()));
    EXPECT_EQ(form.vistas, 1);
}

TEST_F(QtHostTest, PopupMenuRunsTheChosenItem) {
    frmMenu& form = forms::instance<frmMenu>();
    form.show();
    QTimer::singleShot(0, [&] {
        form.mnuReimprimir.action()->trigger();
        form.mnuPopup.menu()->close();
    });
    form.popupMenu(form.mnuPopup);
    EXPECT_EQ(form.clicks, 1);
}

TEST_F(QtHostTest, TimerRaisesItsEventWhileEnabled) {
    frmMenu& form = forms::instance<frmMenu>();
    QEventLoop wait;
    QTimer::singleShot(200, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(form.ticks, 0);
    form.tmrReimprimir.setEnabled(true);
    QTimer::singleShot(200, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(form.ticks, 1);
}

TEST_F(QtHostTest, EndInAnEventRunByDoEventsStopsThePumpingHandler) {
    bool after = false;
    QTimer::singleShot(0, [] { forms::fire([] { runtime::End(); }); });
    forms::fire([&] {
        runtime::DoEvents();
        after = true;
    });
    EXPECT_TRUE(runtime::hasEnded());
    EXPECT_FALSE(after);
}

TEST_F(QtHostTest, EndClosesEveryWindowAndLoop) {
    frmMenu& form = forms::instance<frmMenu>();
    bool after = false;
    QTimer::singleShot(0, [] { forms::fire([] { runtime::End(); }); });
    forms::fire([&] {
        form.show(forms::Modal);
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_TRUE(runtime::hasEnded());
    EXPECT_FALSE(form.visible());
}

} // namespace
