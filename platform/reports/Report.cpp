#include "Report.h"

#include "Paginator.h"
#include "PreviewWindow.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"

namespace reports {

namespace {

[[noreturn]] void raiseItemNotFound() {
    runtime::raise(runtime::err::ItemNotFound);
}

// The number a summary adds for a value: numbers and dates as they are, numeric text read
// under the regional settings, anything else nothing.
double summand(const runtime::Variant& value) {
    if (value.isNumber() || value.isDate()) return value.toDouble();
    if (value.isString()) return runtime::parseNumber(value.rawString()).value_or(0.0);
    return 0.0;
}

// Bands of a sub-report, stacked one below the other.
class StackSink : public BandSink {
public:
    void reserve(int) override {}
    void place(Band band) override { bands.append(std::move(band)); }
    QVector<Band> bands;
};

} // namespace

Report::Report() = default;
Report::~Report() {
    // The preview unhooks itself from this report while it is still whole.
    m_preview.reset();
}

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
    m_groups.push_back({section, nullptr, {}});
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

int Report::columnIndex(const QString& column) const {
    return m_columns.value(column.toLower(), -1);
}

runtime::Variant Report::fields(const QString& column) const {
    const int index = columnIndex(column);
    if (index < 0) raiseItemNotFound();
    return index < m_row.size() ? m_row[index] : runtime::Variant();
}

void Report::bindFields(const Section& section, const Row& row, bool) {
    for (const auto& control : section.controls()) {
        if (control->kind() != Control::Kind::Field) continue;
        auto* field = static_cast<Field*>(control.get());
        if (field->dataField().isEmpty()) continue;
        if (field->summary() == Field::Summary::GrandTotal) {
            field->setDataValue(m_sums.value(field, 0.0));
            continue;
        }
        if (row.isEmpty()) {
            field->setDataValue(runtime::Variant());
            continue;
        }
        const int index = columnIndex(field->dataField());
        if (index < 0) raiseItemNotFound();
        field->setDataValue(index < row.size() ? row[index] : runtime::Variant());
    }
}

void Report::emitSection(Section* section, BandSink& sink, int width, const Row& row, bool groupFooter) {
    if (!section) return;
    bindFields(*section, row, groupFooter);
    section->raiseFormat();
    if (!section->visible()) return;
    const SectionLayout layout = layOut(*section);
    if (layout.height <= 0 && layout.controls.isEmpty()) return;
    sink.reserve(layout.height);
    section->raiseBeforePrint();
    sink.place(render(*section, layout, width));
}

Band Report::pageBand(Section* section, int width) {
    if (!section) return {};
    bindFields(*section, m_row, false);
    section->raiseFormat();
    if (!section->visible()) return {};
    const SectionLayout layout = layOut(*section);
    section->raiseBeforePrint();
    return render(*section, layout, width);
}

void Report::generate(BandSink& sink, int width) {
    auto first = [this](SectionKind kind) -> Section* {
        for (const auto& section : m_sections)
            if (section->kind() == kind) return section.get();
        return nullptr;
    };

    ActiveReport_ReportStart();

    std::unique_ptr<RowSource> rows;
    if (DataControl* control = dataControl()) rows = control->open();
    m_columns.clear();
    if (rows) {
        const QStringList columns = rows->columns();
        for (int i = 0; i < columns.size(); ++i)
            if (!m_columns.contains(columns[i].toLower())) m_columns.insert(columns[i].toLower(), i);
    }
    m_sums.clear();
    QVector<std::pair<Field*, int>> summaries;
    for (const auto& section : m_sections)
        for (const auto& control : section->controls())
            if (control->kind() == Control::Kind::Field) {
                auto* field = static_cast<Field*>(control.get());
                if (field->summary() == Field::Summary::GrandTotal) {
                    m_sums.insert(field, 0.0);
                    summaries.append({field, columnIndex(field->dataField())});
                }
            }

    Row row;
    bool have = rows && rows->next(row);
    m_row = have ? row : Row();
    m_lastRow.clear();

    auto* pager = dynamic_cast<Paginator*>(&sink);
    if (pager) pager->openFirstPage();
    emitSection(first(SectionKind::ReportHeader), sink, width, m_row);
    if (pager) pager->placePageHeader();

    Section* detail = first(SectionKind::Detail);
    const int groupCount = int(m_groups.size());
    QStringList keys(groupCount);
    bool started = false;
    while (have) {
        m_row = row;
        int level = started ? groupCount : 0;
        for (int g = 0; g < groupCount; ++g) {
            const QString key = fields(m_groups[g].header->groupKey()).toText();
            if (started && level == groupCount && key != keys[g]) level = g;
            keys[g] = key;
        }
        if (started) {
            for (int g = groupCount - 1; g >= level; --g) {
                const Row current = m_row;
                m_row = m_lastRow;
                emitSection(m_groups[g].footer, sink, width, m_lastRow, true);
                m_row = current;
            }
        }
        for (int g = level; g < groupCount; ++g)
            emitSection(m_groups[g].header, sink, width, m_row);

        for (auto& [field, index] : summaries)
            if (index >= 0 && index < m_row.size()) m_sums[field] += summand(m_row[index]);
        emitSection(detail, sink, width, m_row);

        m_lastRow = m_row;
        started = true;
        have = rows->next(row);
    }
    if (started) {
        m_row = m_lastRow;
        for (int g = groupCount - 1; g >= 0; --g)
            emitSection(m_groups[g].footer, sink, width, m_lastRow, true);
    }
    emitSection(first(SectionKind::ReportFooter), sink, width, m_row);
}

void Report::run(bool) {
    m_toolbar.reset();
    Section* pageHeader = nullptr;
    Section* pageFooter = nullptr;
    for (const auto& section : m_sections) {
        if (section->kind() == SectionKind::PageHeader && !pageHeader) pageHeader = section.get();
        if (section->kind() == SectionKind::PageFooter && !pageFooter) pageFooter = section.get();
    }
    const int width = m_pageSetup.sectionWidth();
    Paginator pager(
        m_pageSetup, [this, pageHeader, width] { return pageBand(pageHeader, width); },
        [this, pageFooter, width] { return pageBand(pageFooter, width); },
        pageFooter ? pageFooter->height() : 0);
    generate(pager, width);
    m_pages = pager.finish();
    ActiveReport_ReportEnd();
    if (m_runFinished) m_runFinished();
}

QVector<Band> Report::runAsSubReport(int width) {
    StackSink sink;
    generate(sink, width);
    ActiveReport_ReportEnd();
    return std::move(sink.bands);
}

void Report::show() {
    if (!m_preview) m_preview = std::make_unique<PreviewWindow>(*this);
    run();
    m_preview->show();
    m_preview->raise();
}

void Report::clickTool(int position) {
    const Tool tool = m_toolbar.tools(position);
    if (m_preview && tool.action != Tool::Action::None) m_preview->perform(tool);
    ActiveReport_ToolbarClick(tool);
}

} // namespace reports
