#include "ProgramSession.h"

#include "CurrentUser.h"
#include "GridHelpers.h"
#include "clsDataBase.h"
#include "frmSeleccionaTurno.h"

#include "reports/Report.h"
#include "reports/ReportViewer.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QtGlobal>

namespace framework {

namespace {

ProgramSession* g_session = nullptr;

} // namespace

ProgramSession::ProgramSession(ProgramDescription description) : m_description(std::move(description)) {
    if (g_session) qFatal("A program session started while another one runs");
    g_session = this;
    resetProgramValues();
    runtime::App::setTitle(m_description.title);
}

ProgramSession::~ProgramSession() {
    resetProgramValues();
    runtime::App::setTitle(QString());
    g_session = nullptr;
}

ProgramSession& ProgramSession::current() {
    if (!g_session) runtime::raise(runtime::err::ObjectNotSet);
    return *g_session;
}

void ProgramSession::resetProgramValues() {
    gDB = nullptr;
    gIdUsuario = 0;
    gCategorizacion = false;
    gFilasGrilla.reset();
    gColOrden = 0;
    gSentidoOrden = 0;
}

clsDataBase& ProgramSession::newDatabase() {
    m_database = std::make_unique<clsDataBase>(m_description.database);
    gDB = m_database.get();
    return *m_database;
}

reports::Report& ProgramSession::report() {
    if (!m_report) {
        if (!m_description.report) runtime::raise(runtime::err::ObjectNotSet);
        m_report = m_description.report();
    }
    return *m_report;
}

void ProgramSession::showReport(reports::Report& report) {
    if (!m_viewer) m_viewer = std::make_unique<reports::ReportViewer>();
    m_viewer->show(report);
}

reports::PreviewWindow* ProgramSession::preview() const {
    return m_viewer ? m_viewer->window() : nullptr;
}

const ProgramDescription& program() {
    return ProgramSession::current().description();
}

ParametersWindow& parametros() {
    const ProgramDescription& description = program();
    if (!description.parametros) runtime::raise(runtime::err::ObjectNotSet);
    return description.parametros();
}

frmSeleccionaTurno& shiftChooser() {
    const ProgramDescription& description = program();
    if (!description.shiftChooser) return forms::instance<frmSeleccionaTurno>();
    return description.shiftChooser();
}

reports::Report& report() {
    return ProgramSession::current().report();
}

void showReport(reports::Report& report) {
    ProgramSession::current().showReport(report);
}

reports::PreviewWindow* preview() {
    return g_session ? g_session->preview() : nullptr;
}

} // namespace framework
