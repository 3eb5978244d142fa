#pragma once

#include "runtime/Program.h"

namespace forms {

// The runtime's host on Qt Widgets: message boxes, the message loop pump, the screen's
// mouse pointer and the end of the program (every window closes, every loop ends).
class QtHost : public runtime::Host {
public:
    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void doEvents() override;
    void setMousePointer(int pointer) override;
    void programEnded() override;

private:
    bool m_hourglass = false;
};

} // namespace forms
