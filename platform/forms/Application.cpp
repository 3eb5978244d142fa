#include "Application.h"

#include "DesktopLook.h"
#include "Events.h"
#include "Form.h"
#include "QtHost.h"

#include "runtime/Program.h"

namespace forms {

int runProgram(const QString& title, const std::function<void()>& startRoutine) {
    static QtHost host;
    runtime::App::setTitle(title);
    // A host installed beforehand (a test's scripted user) stays.
    if (runtime::Host* previous = runtime::setHost(&host)) runtime::setHost(previous);
    applyDesktopLook();
    fire(startRoutine);
    if (!runtime::hasEnded() && loadedForms() > 0) {
        MessageLoop loop;
        setLastFormListener([&loop] { loop.quit(); });
        loop.exec();
        setLastFormListener({});
    }
    return 0;
}

} // namespace forms
