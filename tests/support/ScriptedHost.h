#pragma once

#include "runtime/Program.h"

#include <QList>
#include <QString>

#include <functional>

// A runtime host for tests: it answers message boxes from a script, records every box,
// mouse pointer change and the program's end, and pumps Qt events for DoEvents.
// It installs itself for its lifetime and starts a fresh program run; its end puts back the
// previous host and the real clock, save dialog and print dialog that a test scripted.
class ScriptedHost : public runtime::Host {
public:
    struct Box {
        QString text;
        int buttons = 0;
        QString caption;
        int icon() const { return buttons & runtime::mb::IconMask; }
    };

    ScriptedHost();
    ~ScriptedHost() override;

    // Queues the answer to the next box (the default answer is OK, or Yes for a question).
    void answer(int reply) { m_answers.append(reply); }
    // Called while a box is "shown", before it is answered.
    std::function<void(const Box&)> onBox;
    // Called each time the program lets the message loop run (the user acts meanwhile).
    std::function<void()> onDoEvents;
    // Called each time work that nothing may re-enter lets the loop run for the exits alone.
    std::function<void()> onDoExitEvents;
    // Called at each mouse pointer change, once it is recorded.
    std::function<void(int)> onPointer;

    QList<Box> boxes;
    QList<int> pointers;
    int doEventsCalls = 0;
    int doExitEventsCalls = 0;
    bool ended = false;

    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void doEvents() override;
    void doExitEvents() override;
    void setMousePointer(int pointer) override;
    void programEnded() override;

private:
    QList<int> m_answers;
    runtime::Host* m_previous = nullptr;
};
