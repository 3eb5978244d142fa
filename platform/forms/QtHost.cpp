#include "QtHost.h"

#include "Events.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace forms {

int QtHost::messageBox(const QString& text, int buttons, const QString& caption) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (buttons & runtime::mb::IconMask) {
    case runtime::mb::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case runtime::mb::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case runtime::mb::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case runtime::mb::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    QList<Choice> choices;
    switch (buttons & runtime::mb::ButtonsMask) {
    case runtime::mb::OKCancel:
        choices = {{QMessageBox::Ok, runtime::mb::OK}, {QMessageBox::Cancel, runtime::mb::Cancel}};
        break;
    case runtime::mb::YesNoCancel:
        choices = {{QMessageBox::Yes, runtime::mb::Yes},
                   {QMessageBox::No, runtime::mb::No},
                   {QMessageBox::Cancel, runtime::mb::Cancel}};
        break;
    case runtime::mb::YesNo:
        choices = {{QMessageBox::Yes, runtime::mb::Yes}, {QMessageBox::No, runtime::mb::No}};
        break;
    default:
        choices = {{QMessageBox::Ok, runtime::mb::OK}};
        break;
    }
    QMessageBox::StandardButtons standard;
    for (const Choice& choice : choices)
        standard |= choice.button;
    box.setStandardButtons(standard);
    box.setDefaultButton(choices.front().button);
    int result;
    {
        NestedDispatch dispatch;
        result = box.exec();
    }
    for (const Choice& choice : choices)
        if (choice.button == result) return choice.answer;
    return choices.back().answer; // closed with the close box or Escape
}

namespace {

// Whether a busy pump is due: the loop runs at most once every 10 ms.
bool pumpDue(QElapsedTimer& sincePump) {
    constexpr qint64 busyPumpNs = 10'000'000;
    if (sincePump.isValid() && sincePump.nsecsElapsed() < busyPumpNs) return false;
    sincePump.start();
    return true;
}

void runLoopOnce() {
    NestedDispatch dispatch;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

void QtHost::doEvents() {
    if (m_hourglass && !pumpDue(m_sincePump)) return;
    runLoopOnce();
}

void QtHost::doExitEvents() {
    if (!pumpDue(m_sinceExitPump)) return;
    ExitInputOnly exitOnly;
    runLoopOnce();
}

void QtHost::setMousePointer(int pointer) {
    const bool hourglass = pointer == runtime::pointer::Hourglass;
    if (hourglass == m_hourglass) return;
    m_hourglass = hourglass;
    m_sincePump.invalidate(); // the first pump under the hourglass runs the loop
    if (hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtHost::programEnded() {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    quitAllLoops();
}

} // namespace forms
