#include "Program.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <new>

namespace runtime {

namespace {

// Used until a windowing host is installed: boxes go to standard error and take their
// first button.
class ConsoleHost : public Host {
public:
    int messageBox(const QString& text, int buttons, const QString& caption) override {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text));
        switch (buttons & mb::ButtonsMask) {
        case mb::YesNo:
        case mb::YesNoCancel:
            return mb::Yes;
        default:
            return mb::OK;
        }
    }
    void doEvents() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    }
    void setMousePointer(int) override {}
    void programEnded() override {
        if (QCoreApplication::instance()) QCoreApplication::exit(0);
    }
};

ConsoleHost g_console;
Host* g_host = &g_console;
QString g_path;
int g_pointer = pointer::Default;

// The run-time error box, then the program's end.
void endWithError(long number, const QString& description) {
    MsgBox(QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(description), mb::Critical);
    host().endRun();
}

} // namespace

Host& host() {
    return *g_host;
}

Host* setHost(Host* newHost) {
    Host* previous = g_host;
    g_host = newHost ? newHost : &g_console;
    return previous == &g_console ? nullptr : previous;
}

namespace App {

QString path() {
    if (g_path.isEmpty() && QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return g_path;
}

void setPath(const QString& folder) {
    g_path = folder;
    while (g_path.size() > 1 && (g_path.endsWith(QLatin1Char('/')) || g_path.endsWith(QLatin1Char('\\'))))
        g_path.chop(1);
}

QString title() {
    return QCoreApplication::applicationName();
}

void setTitle(const QString& title) {
    QCoreApplication::setApplicationName(title);
}

} // namespace App

int MsgBox(const QString& text, int buttons, const QString& caption) {
    return host().messageBox(text, buttons, caption.isEmpty() ? App::title() : caption);
}

void DoEvents() {
    host().doEvents();
    // An event run by the pump may have ended the program: nothing after it runs.
    if (host().runEnded()) throw ProgramEnd{};
}

void DoExitEvents() {
    host().doExitEvents();
    if (host().runEnded()) throw ProgramEnd{};
}

void setMousePointer(int pointer) {
    g_pointer = pointer;
    host().setMousePointer(pointer);
}

int mousePointer() {
    return g_pointer;
}

void End() {
    if (!host().runEnded()) host().endRun();
    throw ProgramEnd{};
}

bool hasEnded() {
    return host().runEnded();
}

void resetProgramState() {
    host().newRun();
    g_pointer = pointer::Default;
}

void runEvent(const std::function<void()>& handler) {
    if (host().runEnded()) return;
    try {
        handler();
    } catch (const ProgramEnd&) {
    } catch (const RuntimeError& e) {
        endWithError(e.number(), e.description());
    } catch (const std::bad_alloc&) {
        endWithError(err::OutOfMemory.number, QString::fromUtf8(err::OutOfMemory.description));
    } catch (const std::exception& e) {
        endWithError(err::InternalError.number,
                     QStringLiteral("%1: %2").arg(QString::fromUtf8(err::InternalError.description),
                                                  QString::fromUtf8(e.what())));
    }
}

} // namespace runtime
