#include "Report.h"

#include "PageProgress_p.h"
#include "Paginator_p.h"
#include "Translations_p.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

namespace reports {

namespace {

// Bands of a sub-report, stacked one below the other.
class StackSink : public BandSink {
public:
    void reserve(int) override {}
    void place(const Band& band) override { bands.append(band); }
    QVector<Band> bands;
};

} // namespace

Report::Report() : m_pages(std::make_shared<const Pages>()) {}
Report::~Report() = default;

Section* Report::addSection(SectionKind kind, const QString& name, int height) {
    m_sections.push_back(std::make_unique<Section>(kind, name, height));
    Section* section = m_sections.back().get();
    if (kind == SectionKind::GroupFooter) {
        for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it)
            if (!it->footer) {
                it->footer = section;
                break;
            }
    }
    return section;
}

Section* Report::addGroupHeader(const QString& name, int height, const QString& groupKey) {
    Section* section = addSection(SectionKind::GroupHeader, name, height);
    section->setGroupKey(groupKey);
    m_groups.push_back({section, nullptr});
    return section;
}

Section* Report::section(const QString& name) const {
    for (const auto& section : m_sections)
        if (section->name().compare(name, Qt::CaseInsensitive) == 0) return section.get();
    return nullptr;
}

Control* Report::control(const QString& name) const {
    for (const auto& section : m_sections)
        if (Control* control = section->control(name)) return control;
    return nullptr;
}

DataControl* Report::dataControl() const {
    for (const auto& section : m_sections)
        for (const auto& control : section->controls())
            if (control->kind() == Control::Kind::DataControl)
                return static_cast<DataControl*>(control.get());
    return nullptr;
}

runtime::Variant Report::fields(const QString& column) const {
    if (!m_run) runtime::raise(runtime::err::ItemNotFound);
    return m_run->fields(column);
}

void Report::run() {
    m_toolbar.reset();
    Section* pageHeader = nullptr;
    Section* pageFooter = nullptr;
    for (const auto& section : m_sections) {
        if (section->kind() == SectionKind::PageHeader && !pageHeader) pageHeader = section.get();
        if (section->kind() == SectionKind::PageFooter && !pageFooter) pageFooter = section.get();
    }
    const int width = m_pageSetup.sectionWidth();
    ActiveReport_ReportStart();
    // The last run's pages go before the rows are read: a long report is not held twice.
    m_pages = std::make_shared<const Pages>();
    m_run = std::make_unique<ReportRun>(m_sections, m_groups);
    ReportRun& run = *m_run;
    Paginator pager(
        m_pageSetup, [&run, pageHeader, width] { return run.pageBand(pageHeader, width); },
        [&run, pageFooter, width] { return run.pageBand(pageFooter, width); },
        pageFooter ? pageFooter->height() : 0);
    useTranslations();
    // Nothing may re-enter the run, but the user can still leave the program meanwhile.
    PageProgress progress(tr("Running the report: page %1"), 0, false);
    pager.onNewPage([&progress](int pages) {
        progress.pageDone(pages);
        runtime::DoExitEvents();
    });
    run.generate(pager, width);
    m_pages = std::make_shared<const Pages>(pager.finish());
    ActiveReport_ReportEnd();
}

QVector<Band> Report::runAsSubReport(int width) {
    ActiveReport_ReportStart();
    m_run = std::make_unique<ReportRun>(m_sections, m_groups);
    StackSink sink;
    m_run->generate(sink, width);
    ActiveReport_ReportEnd();
    return std::move(sink.bands);
}

void Report::clickTool(int position) {
    const Tool tool = m_toolbar.tools(position); // a copy: the handler may add tools
    ActiveReport_ToolbarClick(tool);
}

} // namespace reports
