#pragma once

#include <QMetaObject>

#include <memory>

namespace reports {

class PreviewWindow;
class Report;

// Shows reports in a preview window it owns: it runs a report, hands the window the pages and
// the tools, and passes a click on a tool back to the report's tool-click event. A report shown
// outlives its showing, or another report is shown in its place.
class ReportViewer {
public:
    ReportViewer();
    ~ReportViewer();
    ReportViewer(const ReportViewer&) = delete;
    ReportViewer& operator=(const ReportViewer&) = delete;

    // Runs the report and shows it from its first page, in the window (made on first use),
    // modeless, with the report's caption as its title.
    void show(Report& report);
    // The window; null before a report is shown.
    PreviewWindow* window() const { return m_window.get(); }

private:
    std::unique_ptr<PreviewWindow> m_window;
    QMetaObject::Connection m_clicks;
};

} // namespace reports
