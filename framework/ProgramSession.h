#pragma once

#include "ProgramDescription.h"

#include "forms/Form.h"

#include <memory>

namespace reports {
class PreviewWindow;
class Report;
class ReportViewer;
} // namespace reports

namespace framework {

class clsDataBase;
class ParametersWindow;
class frmSeleccionaTurno;

// One run of a program, made after QApplication and destroyed before it; one at a time. It
// holds the program's description, its database object, its windows (the default instances of
// its form classes), its report layout and the window that previews it. It starts the
// program-wide values gDB, gIdUsuario, gCategorizacion, gFilasGrilla, gColOrden and
// gSentidoOrden afresh and gives the program its title; its end clears the values, deletes the
// preview and the report, unloads the windows still loaded and deletes the database object.
class ProgramSession {
public:
    explicit ProgramSession(ProgramDescription description = {});
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // The running session (error 91 without one).
    static ProgramSession& current();

    const ProgramDescription& description() const { return m_description; }

    // A new database object with the options of the description, in place of any previous
    // one; gDB points to it.
    clsDataBase& newDatabase();

    // The report layout, made on first use (error 91 when the description has none).
    reports::Report& report();
    // Runs a report and shows it from its first page in the session's preview window, which
    // passes a click on a tool to the report's tool-click event.
    void showReport(reports::Report& report);
    // The preview window; null before a report is shown.
    reports::PreviewWindow* preview() const;

private:
    static void resetProgramValues();

    // Destroyed in the reverse order: the preview before its report, the windows before the
    // database object.
    ProgramDescription m_description;
    std::unique_ptr<clsDataBase> m_database;
    forms::FormRegistry m_forms;
    std::unique_ptr<reports::Report> m_report;
    std::unique_ptr<reports::ReportViewer> m_viewer;
};

// The running session's description, parameters window (error 91 without one) and shift
// chooser.
const ProgramDescription& program();
ParametersWindow& parametros();
frmSeleccionaTurno& shiftChooser();

// The running session's report layout, its showing and its preview window.
reports::Report& report();
template <class Layout> Layout& report() {
    return dynamic_cast<Layout&>(report());
}
void showReport(reports::Report& report);
reports::PreviewWindow* preview();

} // namespace framework
