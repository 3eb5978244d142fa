#include "Events.h"

#include "runtime/Program.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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

void fireEvent(std::function<void()> handler) {
    if (handler) fire(handler);
}

void callFromCode(const std::function<void()>& code) {
    HandlerScope scope;
    code();
}

bool inEvent() {
    return eventDepth > 0;
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

} // namespace forms
