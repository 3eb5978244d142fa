#include "ReportViewer.h"

#include "PreviewWindow.h"
#include "Report.h"
#include "runtime/Program.h"

namespace reports {

ReportViewer::ReportViewer() = default;
ReportViewer::~ReportViewer() = default;

void ReportViewer::show(Report& report) {
    if (!m_window) m_window = std::make_unique<PreviewWindow>();
    // The pages shown go before the run: a long report is not held twice.
    m_window->setPages({});
    report.run();
    m_window->setWindowTitle(report.caption());
    m_window->setPages(report.sharedPages());
    m_window->setTools(report.toolbar().all());
    m_window->setCurrentPage(0); // a report shown anew starts at its first page
    QObject::disconnect(m_clicks);
    m_clicks = QObject::connect(
        m_window.get(), &PreviewWindow::toolClicked, m_window.get(),
        [&report](int position) { runtime::runEvent([&report, position] { report.clickTool(position); }); });
    m_window->show();
    m_window->raise();
}

} // namespace reports
