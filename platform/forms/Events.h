#pragma once

#include <functional>

class QEventLoop;
class QObject;
class QWidget;

namespace forms {

// Runs an event handler raised by the user (a click, a key, the close box). Outside any
// handler it runs at the top level through runtime::runEvent: an error that leaves it
// shows the run-time error box and ends the program, and after the end nothing runs.
// Inside a running handler (an event raised by code) it is a plain call, so errors
// reach the code that raised it.
void fire(const std::function<void()>& handler);

// Fires a control's event when a handler is hooked to it; the handler is copied first, so
// the event may rehook or unload what raised it.
void fireEvent(std::function<void()> handler);

// Runs code that raises events of its own (loading a form on first touch) as part of the
// current handler, or, when the caller runs outside any event (a test, the start
// routine), as if inside one; errors reach the caller either way.
void callFromCode(const std::function<void()>& code);

// Whether any handler or nested loop is running; unloaded forms are deleted only when
// none is.
bool busy();

// A nested message loop (a modal window, the program's own loop): the events it
// dispatches are user events at the top level again. It ends on quit() or at the
// program's end.
class MessageLoop {
public:
    MessageLoop();
    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    void exec();
    void quit();

private:
    QEventLoop* m_loop;
    bool m_running = false;
};

// Marks a stretch in which queued events are dispatched as user events (DoEvents, a
// popup menu's own loop).
class NestedDispatch {
public:
    NestedDispatch();
    ~NestedDispatch();
    NestedDispatch(const NestedDispatch&) = delete;
    NestedDispatch& operator=(const NestedDispatch&) = delete;

private:
    int m_savedDepth;
};

// Leaves every running message loop (the program has ended).
void quitAllLoops();

// Marks a widget through which the user ends the program (an exit button).
void markExit(QWidget* widget);

// For its lifetime, the user's input reaches only the widgets marked as exits; the rest of it
// (clicks, keys, the wheel, a window's close box) is dropped.
class ExitInputOnly {
public:
    ExitInputOnly();
    ~ExitInputOnly();
    ExitInputOnly(const ExitInputOnly&) = delete;
    ExitInputOnly& operator=(const ExitInputOnly&) = delete;

private:
    QObject* m_filter;
};

// Called whenever the outermost handler or loop has finished (unloaded forms are
// deleted then).
void setIdleListener(std::function<void()> listener);

} // namespace forms
