#pragma once

#include "Band.h"
#include "PageModel.h"
#include "PageSetup.h"
#include "ReportRun.h"
#include "Section.h"
#include "Toolbar.h"
#include "runtime/Variant.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace reports {

// A report layout: page setup, sections and controls declared in code by a subclass, the
// report events it overrides and its preview's toolbar. Running it makes a ReportRun over the
// layout, which pages the result; the preview, printing and the exports read the pages. It
// runs as a sub-report inside a section of another report too.
class Report : public SubReportSource {
    Q_DECLARE_TR_FUNCTIONS(reports::Report)

public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The preview window's title.
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    PageSetup& pageSetup() { return m_pageSetup; }
    const PageSetup& pageSetup() const { return m_pageSetup; }

    // Sections print in the order of their kinds; group headers nest in the order added,
    // and each group footer closes the group header added before it.
    Section* addSection(SectionKind kind, const QString& name, int height);
    Section* addGroupHeader(const QString& name, int height, const QString& groupKey);
    Section* section(const QString& name) const;
    Control* control(const QString& name) const;
    template <class T> T* control(const QString& name) const { return dynamic_cast<T*>(control(name)); }

    // The first data control of the layout (null without one).
    DataControl* dataControl() const;

    // The current row's value of a column (Fields("name").Value); error 3265 when the rows
    // have no such column. After the run, the value in its last row (see ReportRun::fields).
    runtime::Variant fields(const QString& column) const;

    // Runs the report: events, groups, summaries, sub-reports and paging.
    void run();
    // The pages of the last run; shared with whoever shows them, so that a new run leaves
    // those shown as they are.
    const Pages& pages() const { return *m_pages; }
    std::shared_ptr<const Pages> sharedPages() const { return m_pages; }

    Toolbar& toolbar() { return m_toolbar; }
    const Toolbar& toolbar() const { return m_toolbar; }

    // A click on the preview's tool at a position, after the preview has carried out the
    // engine's action: raises the tool-click event.
    void clickTool(int position);

    // Runs inside the section of another report: the bands of its sections, stacked.
    QVector<Band> runAsSubReport(int width) override;

protected:
    virtual void ActiveReport_ReportStart() {}
    virtual void ActiveReport_ReportEnd() {}
    virtual void ActiveReport_ToolbarClick(const Tool& tool) { Q_UNUSED(tool); }

private:
    QString m_caption;
    PageSetup m_pageSetup;
    std::vector<std::unique_ptr<Section>> m_sections;
    std::vector<GroupSections> m_groups;
    Toolbar m_toolbar;
    // The last run, kept for fields() after it ends.
    std::unique_ptr<ReportRun> m_run;
    std::shared_ptr<const Pages> m_pages;
};

} // namespace reports
