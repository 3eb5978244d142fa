#include "Application.h"

#include "DesktopLook.h"
#include "Events.h"
#include "Form.h"
#include "QtHost.h"

#include "runtime/Program.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace forms {

namespace {

// Whether a window of the program is loaded: a form, or another top-level window on screen
// (a report's preview); dialogs and message boxes do not count.
bool windowLoaded() {
    if (loadedForms() > 0) return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget* w) { return w->isVisible() && w->windowType() == Qt::Window; });
}

// Calls back when a top-level window is hidden or closed.
class WindowWatch : public QObject {
public:
    explicit WindowWatch(std::function<void()> hidden) : m_hidden(std::move(hidden)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Hide && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow())
            m_hidden();
        return false;
    }

private:
    std::function<void()> m_hidden;
};

} // namespace

int runProgram(const QString& title, const std::function<void()>& startRoutine) {
    runtime::App::setTitle(title);
    // The run's host, unless one was installed beforehand (a test's scripted user), which stays.
    QtHost host;
    runtime::Host* previous = runtime::setHost(&host);
    if (previous) runtime::setHost(previous);
    struct Uninstall {
        QtHost& host;
        ~Uninstall() {
            if (&runtime::host() == &host) runtime::setHost(nullptr);
        }
    } uninstall{host};
    applyDesktopLook();
    fire(startRoutine);
    if (!runtime::hasEnded() && windowLoaded()) {
        MessageLoop loop;
        auto quitWhenNoneLoaded = [&loop] {
            if (!windowLoaded()) loop.quit();
        };
        WindowWatch watch(quitWhenNoneLoaded);
        setLastFormListener(quitWhenNoneLoaded);
        loop.exec();
        setLastFormListener({});
    }
    return 0;
}

} // namespace forms
