#include "Events.h"

#include "runtime/Program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace forms {

namespace {

int eventDepth = 0; // handlers running on the current loop level
int busyCount = 0;  // handlers and nested loops on the whole stack
std::vector<MessageLoop*> loops;
std::function<void()> idleListener;
QCoreApplication* idleQueuedOn = nullptr; // the application on whose queue a call of the listener waits

void afterOutermost() {
    if (runtime::hasEnded()) quitAllLoops();
    QCoreApplication* app = QCoreApplication::instance();
    if (busyCount == 0 && idleListener && app && idleQueuedOn != app) {
        idleQueuedOn = app;
        QTimer::singleShot(0, app, [] {
            idleQueuedOn = nullptr;
            if (busyCount == 0 && idleListener) idleListener();
        });
    }
}

const char* const ExitProperty = "formsExit";

bool isUserInput(const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    case QEvent::Close:
        return event.spontaneous(); // the close box, not a close made by the program
    default:
        return false;
    }
}

// Drops the user's input to every widget but the exits; input to a window (not yet to one of
// its widgets) passes, to be routed to the widget under it.
class ExitInputFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType() || !isUserInput(*event)) return false;
        return !static_cast<QWidget*>(watched)->property(ExitProperty).toBool();
    }
};

// A handler on the stack, for as long as it runs (also when it throws).
struct HandlerScope {
    HandlerScope() {
        ++eventDepth;
        ++busyCount;
    }
    ~HandlerScope() {
        --busyCount;
        --eventDepth;
    }
};

} // namespace

void fire(const std::function<void()>& handler) {
    if (runtime::hasEnded()) return;
    if (eventDepth > 0) {
        handler();
        return;
    }
    {
        HandlerScope scope;
        try {
            runtime::runEvent(handler);
        } catch (const runtime::ProgramEnd&) {
        }
    }
    afterOutermost();
}

// A copy, not a reference: the handler may replace or delete the one the control holds.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
void fireEvent(std::function<void()> handler) {
    if (handler) fire(handler);
}

void callFromCode(const std::function<void()>& code) {
    HandlerScope scope;
    code();
}

bool busy() {
    return busyCount > 0;
}

MessageLoop::MessageLoop() : m_loop(new QEventLoop) {}

MessageLoop::~MessageLoop() {
    delete m_loop;
}

void MessageLoop::exec() {
    if (runtime::hasEnded() || m_running) return;
    NestedDispatch dispatch;
    m_running = true;
    loops.push_back(this);
    m_loop->exec();
    std::erase(loops, this);
    m_running = false;
}

void MessageLoop::quit() {
    m_loop->quit();
}

NestedDispatch::NestedDispatch() : m_savedDepth(eventDepth) {
    eventDepth = 0;
    ++busyCount;
}

NestedDispatch::~NestedDispatch() {
    eventDepth = m_savedDepth;
    --busyCount;
    afterOutermost();
}

void quitAllLoops() {
    for (MessageLoop* loop : loops)
        loop->quit();
}

void setIdleListener(std::function<void()> listener) {
    idleListener = std::move(listener);
}

void markExit(QWidget* widget) {
    widget->setProperty(ExitProperty, true);
}

ExitInputOnly::ExitInputOnly() : m_filter(new ExitInputFilter) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(m_filter);
}

ExitInputOnly::~ExitInputOnly() {
    delete m_filter; // removes it from the application's filters
}

} // namespace forms
