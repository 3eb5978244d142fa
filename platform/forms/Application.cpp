#include "Application.h"

#include "DesktopLook.h"
#include "Events.h"
#include "Form.h"
#include "QtHost.h"

#include "runtime/Program.h"

#include <QCoreApplication>

namespace forms {

int runProgram(const QString& title, const std::function<void()>& startRoutine) {
    static QtHost host;
    runtime::App::setTitle(title);
    runtime::App::setPath(QCoreApplication::applicationDirPath());
    runtime::setHost(&host);
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
