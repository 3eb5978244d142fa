#include "ProgramDescription.h"

#include "Main.h"
#include "ReportExport.h"
#include "frmParametrosBase.h"
#include "frmSeleccionaTurno.h"

#include "forms/Application.h"
#include "reports/Report.h"
#include "reports/ReportViewer.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QApplication>

namespace framework {

namespace {

ProgramDescription& running() {
    static ProgramDescription description;
    return description;
}

// The running program's report, and the owner of the window that shows it. Never deleted at
// exit: a window must not outlive the application object.
reports::Report*& currentReport() {
    static reports::Report* report = nullptr;
    return report;
}
reports::ReportViewer*& currentViewer() {
    static reports::ReportViewer* viewer = nullptr;
    return viewer;
}

} // namespace

void install(ProgramDescription description) {
    delete currentViewer();
    currentViewer() = nullptr;
    delete currentReport();
    currentReport() = nullptr;
    runtime::App::setTitle(description.title);
    running() = std::move(description);
    setExportControls({[]() -> forms::CommonDialog& { return parametros().dlgDialog; },
                       []() -> forms::ImageList& { return parametros().ImageList1; }});
}

const ProgramDescription& program() {
    return running();
}

frmParametrosBase& parametros() {
    if (!running().parametros) runtime::raise(runtime::err::ObjectNotSet);
    return running().parametros();
}

frmSeleccionaTurno& shiftChooser() {
    if (!running().shiftChooser) return forms::instance<frmSeleccionaTurno>();
    return running().shiftChooser();
}

reports::Report& report() {
    if (!currentReport()) {
        if (!running().report) runtime::raise(runtime::err::ObjectNotSet);
        currentReport() = running().report().release();
    }
    return *currentReport();
}

void showReport(reports::Report& report) {
    if (!currentViewer()) currentViewer() = new reports::ReportViewer;
    currentViewer()->show(report);
}

reports::PreviewWindow* preview() {
    return currentViewer() ? currentViewer()->window() : nullptr;
}

int run(int argc, char** argv, ProgramDescription description) {
    QApplication app(argc, argv);
    const QString title = description.title;
    QApplication::setApplicationName(title);
    install(std::move(description));
    return forms::runProgram(title, [] { Main(); });
}

} // namespace framework
