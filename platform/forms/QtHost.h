#pragma once

#include "runtime/Program.h"

#include <QElapsedTimer>

namespace forms {

// The runtime's host on Qt Widgets: message boxes, the message loop pump, the screen's
// mouse pointer and the end of the program (every window closes, every loop ends). While the
// hourglass shows, a long piece of work pumps once per row or sale: the loop then runs at
// most once every 10 ms, so that a click (on a cancel button) is still handled
// within that time and the work stops after the row then in hand. Work that nothing may
// re-enter pumps the same way for the exits alone (forms::markExit).
class QtHost : public runtime::Host {
public:
    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void doEvents() override;
    void doExitEvents() override;
    void setMousePointer(int pointer) override;
    void programEnded() override;

private:
    bool m_hourglass = false;
    QElapsedTimer m_sincePump;     // since the loop last ran under the hourglass
    QElapsedTimer m_sinceExitPump; // since it last ran for the exits
};

} // namespace forms
