#include "ReportRun.h"

#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"

namespace reports {

namespace {

// The number a summary adds for a value: numbers and dates as they are, numeric text read
// under the regional settings, anything else nothing.
double summand(const runtime::Variant& value) {
    if (value.isNumber() || value.isDate()) return value.toDouble();
    if (value.isString()) return runtime::parseNumber(value.rawString()).value_or(0.0);
    return 0.0;
}

// Whether a section of this kind may be formatted after the run has moved past the row it shows.
bool readsRowLeft(SectionKind kind) {
    return kind != SectionKind::ReportHeader && kind != SectionKind::GroupHeader &&
           kind != SectionKind::Detail;
}

const runtime::Variant& emptyValue() {
    static const runtime::Variant empty;
    return empty;
}

} // namespace

// A section as this run formats it: its bound fields with their columns, and its painter.
struct ReportRun::SectionRun {
    explicit SectionRun(const Section& s) : section(s), painter(s) {}
    const Section& section;
    std::vector<Binding> bindings;
    SectionPainter painter;
};

void ReportRun::RowValues::reset(int columns) {
    values = QVector<runtime::Variant>(columns);
    made.assign(size_t(columns), 0);
    generation = 1;
}

void ReportRun::RowValues::next() {
    if (++generation == 0) { // flags of rows long gone could match again
        std::fill(made.begin(), made.end(), 0);
        generation = 1;
    }
}

ReportRun::ReportRun(const std::vector<std::unique_ptr<Section>>& sections,
                     const std::vector<GroupSections>& groups)
    : m_sections(sections), m_groups(groups) {}

ReportRun::~ReportRun() = default;

Section* ReportRun::first(SectionKind kind) const {
    for (const auto& section : m_sections)
        if (section->kind() == kind) return section.get();
    return nullptr;
}

int ReportRun::columnIndex(const QString& column) const {
    // Names as the layout spells them are looked up once in any case.
    if (const auto it = m_spelled.constFind(column); it != m_spelled.constEnd()) return *it;
    const int index = m_columns.value(column.toLower(), -1);
    m_spelled.insert(column, index);
    return index;
}

const runtime::Variant& ReportRun::value(int column) const {
    if (m_hand == Hand::None || column >= m_columnCount) return emptyValue();
    RowValues& row = m_hand == Hand::Current ? m_current : m_last;
    if (row.made[size_t(column)] != row.generation) {
        // After the run, a column it did not keep of its last row.
        if (m_hand == Hand::Last && !m_rows->keepsLastRow()) runtime::raise(runtime::err::NoCurrentRecord);
        row.values[column] = m_hand == Hand::Current ? m_rows->value(column) : m_rows->lastValue(column);
        row.made[size_t(column)] = row.generation;
    }
    return row.values[column];
}

void ReportRun::retain(int column) const {
    if (column < 0 || column >= m_columnCount || m_isRetained[size_t(column)]) return;
    m_isRetained[size_t(column)] = 1;
    m_retained.push_back(column);
}

runtime::Variant ReportRun::fields(const QString& column) const {
    const int index = columnIndex(column);
    if (index < 0) runtime::raise(runtime::err::ItemNotFound);
    // Asked for once, kept of every row from now on.
    if (m_hand == Hand::Current) retain(index);
    return value(index);
}

ReportRun::SectionRun& ReportRun::sectionRun(const Section& section) {
    for (const auto& run : m_sectionRuns)
        if (&run->section == &section) return *run;
    // Its fields bound to their columns once.
    auto run = std::make_unique<SectionRun>(section);
    for (const auto& control : section.controls()) {
        if (control->kind() != Control::Kind::Field) continue;
        auto* field = static_cast<Field*>(control.get());
        if (field->dataField().isEmpty()) continue;
        run->bindings.push_back(
            {field, columnIndex(field->dataField()), field->summary() == Field::Summary::GrandTotal});
    }
    m_sectionRuns.push_back(std::move(run));
    return *m_sectionRuns.back();
}

void ReportRun::bindFields(SectionRun& run) {
    for (const Binding& binding : run.bindings) {
        if (binding.summary) {
            binding.field->setDataValue(m_sums.value(binding.field, 0.0));
            continue;
        }
        if (m_hand == Hand::None) {
            binding.field->setDataValue(runtime::Variant());
            continue;
        }
        if (binding.column < 0) runtime::raise(runtime::err::ItemNotFound);
        binding.field->setDataValue(value(binding.column));
    }
}

void ReportRun::emitSection(Section* section, BandSink& sink, int width) {
    if (!section) return;
    SectionRun& run = sectionRun(*section);
    bindFields(run);
    section->raiseFormat();
    if (!section->visible()) return;
    const int height = run.painter.layOut(width);
    if (height <= 0 && run.painter.placesNothing()) return;
    sink.reserve(height);
    section->raiseBeforePrint();
    run.painter.render(width, m_band);
    sink.place(m_band);
}

Band ReportRun::pageBand(Section* section, int width) {
    if (!section) return {};
    SectionRun& run = sectionRun(*section);
    bindFields(run);
    section->raiseFormat();
    if (!section->visible()) return {};
    run.painter.layOut(width);
    section->raiseBeforePrint();
    Band band;
    run.painter.render(width, band);
    return band;
}

void ReportRun::openRows() {
    for (const auto& section : m_sections)
        for (const auto& control : section->controls())
            if (!m_rows && control->kind() == Control::Kind::DataControl)
                m_rows = static_cast<DataControl*>(control.get())->open();
    if (!m_rows) return;
    // An event of a section formatted after the move may read any column of the row left.
    for (const auto& section : m_sections)
        if (section->hasEvents() && readsRowLeft(section->kind())) m_rows->keepLastRows();
    const QStringList columns = m_rows->columns();
    m_columnCount = int(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        if (!m_columns.contains(columns[i].toLower())) m_columns.insert(columns[i].toLower(), i);
    m_current.reset(m_columnCount);
    m_last.reset(m_columnCount);
    m_isRetained.assign(size_t(m_columnCount), 0);
    // What the sections that may read a row after the run has moved past it bind, and the keys.
    for (const auto& section : m_sections) {
        const SectionKind kind = section->kind();
        if (!readsRowLeft(kind)) continue;
        for (const auto& control : section->controls())
            if (control->kind() == Control::Kind::Field)
                retain(columnIndex(static_cast<const Field*>(control.get())->dataField()));
    }
    for (const GroupSections& group : m_groups)
        retain(columnIndex(group.header->groupKey()));
}

void ReportRun::generate(BandSink& sink, int width) {
    openRows();
    for (const auto& section : m_sections)
        for (const auto& control : section->controls())
            if (control->kind() == Control::Kind::Field) {
                auto* field = static_cast<Field*>(control.get());
                if (field->summary() == Field::Summary::GrandTotal) {
                    m_sums.insert(field, 0.0);
                    m_summaryColumns.emplace_back(field, columnIndex(field->dataField()));
                }
            }

    bool have = m_rows && m_rows->next();
    m_hand = have ? Hand::Current : Hand::None;

    sink.begin();
    emitSection(first(SectionKind::ReportHeader), sink, width);
    sink.reportHeaderPlaced();

    Section* detail = first(SectionKind::Detail);
    const int groupCount = int(m_groups.size());
    std::vector<int> keyColumns;
    for (const GroupSections& group : m_groups)
        keyColumns.push_back(columnIndex(group.header->groupKey()));
    QStringList keys(groupCount);
    bool started = false;
    while (have) {
        int level = started ? groupCount : 0;
        for (int g = 0; g < groupCount; ++g) {
            if (keyColumns[size_t(g)] < 0) runtime::raise(runtime::err::ItemNotFound);
            const QString key = value(keyColumns[size_t(g)]).toText();
            if (started && level == groupCount && key != keys[g]) level = g;
            keys[g] = key;
        }
        if (started) {
            m_hand = Hand::Last;
            for (int g = groupCount - 1; g >= level; --g)
                emitSection(m_groups[size_t(g)].footer, sink, width);
            m_hand = Hand::Current;
        }
        for (int g = level; g < groupCount; ++g)
            emitSection(m_groups[size_t(g)].header, sink, width);

        for (auto& [field, index] : m_summaryColumns)
            if (index >= 0) m_sums[field] += summand(value(index));
        emitSection(detail, sink, width);

        started = true;
        // The row moved past stays readable as the last row, with the values made of it.
        for (int column : m_retained)
            value(column);
        std::swap(m_current, m_last);
        m_current.next();
        have = m_rows->next();
        m_hand = have ? Hand::Current : Hand::Last;
    }
    if (started) {
        for (int g = groupCount - 1; g >= 0; --g)
            emitSection(m_groups[size_t(g)].footer, sink, width);
    }
    emitSection(first(SectionKind::ReportFooter), sink, width);
}

} // namespace reports
