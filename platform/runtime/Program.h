#pragma once

#include "RuntimeError.h"

#include <QString>

#include <functional>

namespace runtime {

// Message-box buttons and icon, added together into one number, and the answers.
namespace mb {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int ButtonsMask = 7;
constexpr int IconMask = 112;

constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace mb

// Mouse pointers.
namespace pointer {
constexpr int Default = 0;
constexpr int Hourglass = 11;
} // namespace pointer

// The seams through which the runtime reaches the user and the event loop. The windowing
// layer installs the real host; tests install one that scripts the user's answers and
// records what was shown.
class Host {
public:
    virtual ~Host() = default;
    virtual int messageBox(const QString& text, int buttons, const QString& caption) = 0;
    virtual void doEvents() = 0;
    // Lets the loop run while work that nothing may re-enter goes on: of the user's input only
    // that on the program's exit controls is taken. Hosts without such controls do nothing.
    virtual void doExitEvents() {}
    virtual void setMousePointer(int pointer) = 0;
    // Called once when the program ends; the host stops its event loop.
    virtual void programEnded() = 0;

    // Whether the program run this host serves has ended; endRun() marks it so and runs
    // programEnded (End and the top level end a run through it); newRun() begins another.
    bool runEnded() const { return m_ended; }
    void endRun() {
        m_ended = true;
        programEnded();
    }
    void newRun() { m_ended = false; }

private:
    bool m_ended = false;
};

// The host in use (a console host until one is installed); setHost returns the previous. The
// state of the program run goes with the host that serves it.
Host& host();
Host* setHost(Host* host);

// The program's folder (App.Path, without a trailing separator) and title (App.Title, the
// application's name).
namespace App {
QString path();
void setPath(const QString& folder);
QString title();
void setTitle(const QString& title);
} // namespace App

// MsgBox: caption empty means the program's title.
int MsgBox(const QString& text, int buttons = mb::OKOnly, const QString& caption = {});

// DoEvents: lets the message loop run once.
void DoEvents();
// Lets the message loop run once during work that nothing may re-enter (a report making its
// pages): the user can only end the program there. Like DoEvents, it throws ProgramEnd once an
// event it ran has ended the program.
void DoExitEvents();

// The mouse pointer over the program's windows (a pointer:: value).
void setMousePointer(int pointer);
int mousePointer();

// End: the program ends at once; throws ProgramEnd to unwind to the top level.
[[noreturn]] void End();
// Whether End has run (no further event may run).
bool hasEnded();
// Tests start a fresh program run.
void resetProgramState();

// Runs one event handler at the top level: an error that leaves it shows the run-time
// error box (number and description) and ends the program; after the end no handler runs.
// Any other exception is a run-time error too: 7 for memory exhausted, 51 for the rest.
void runEvent(const std::function<void()>& handler);

} // namespace runtime
