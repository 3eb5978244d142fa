#include "ScriptedHost.h"

#include "forms/CommonDialog.h"
#include "reports/Printing.h"
#include "runtime/DateSerial.h"

#include <QCoreApplication>

ScriptedHost::ScriptedHost() {
    m_previous = runtime::setHost(this);
    runtime::resetProgramState();
}

ScriptedHost::~ScriptedHost() {
    runtime::setHost(m_previous);
    runtime::resetProgramState();
    runtime::setClock(nullptr);
    forms::CommonDialog::setSaveScript({});
    reports::setPrintDialog({});
}

int ScriptedHost::messageBox(const QString& text, int buttons, const QString& caption) {
    Box box{text, buttons, caption};
    boxes.append(box);
    if (onBox) onBox(box);
    if (!m_answers.isEmpty()) return m_answers.takeFirst();
    int kind = buttons & runtime::mb::ButtonsMask;
    return kind == runtime::mb::YesNo || kind == runtime::mb::YesNoCancel ? runtime::mb::Yes
                                                                          : runtime::mb::OK;
}

void ScriptedHost::doEvents() {
    ++doEventsCalls;
    if (onDoEvents) onDoEvents();
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void ScriptedHost::doExitEvents() {
    ++doExitEventsCalls;
    if (onDoExitEvents) onDoExitEvents();
}

void ScriptedHost::setMousePointer(int pointer) {
    pointers.append(pointer);
    if (onPointer) onPointer(pointer);
}

void ScriptedHost::programEnded() {
    ended = true;
}
