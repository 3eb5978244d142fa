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

} // namespace

ReportRun::ReportRun(const std::vector<std::unique_ptr<Section>>& sections,
                     const std::vector<GroupSections>& groups)
    : m_sections(sections), m_groups(groups) {}

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

runtime::Variant ReportRun::fields(const QString& column) const {
    const int index = columnIndex(column);
    if (index < 0) runtime::raise(runtime::err::ItemNotFound);
    return index < m_row.size() ? m_row[index] : runtime::Variant();
}

void ReportRun::bindFields(const Section& section, const Row& row) {
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
        if (index < 0) runtime::raise(runtime::err::ItemNotFound);
        field->setDataValue(index < row.size() ? row[index] : runtime::Variant());
    }
}

void ReportRun::emitSection(Section* section, BandSink& sink, int width, const Row& row) {
    if (!section) return;
    bindFields(*section, row);
    section->raiseFormat();
    if (!section->visible()) return;
    const SectionLayout layout = layOut(*section);
    if (layout.height <= 0 && layout.controls.isEmpty()) return;
    sink.reserve(layout.height);
    section->raiseBeforePrint();
    sink.place(render(*section, layout, width));
}

Band ReportRun::pageBand(Section* section, int width) {
    if (!section) return {};
    bindFields(*section, m_row);
    section->raiseFormat();
    if (!section->visible()) return {};
    const SectionLayout layout = layOut(*section);
    section->raiseBeforePrint();
    return render(*section, layout, width);
}

void ReportRun::generate(BandSink& sink, int width) {
    std::unique_ptr<RowSource> rows;
    for (const auto& section : m_sections)
        for (const auto& control : section->controls())
            if (!rows && control->kind() == Control::Kind::DataControl)
                rows = static_cast<DataControl*>(control.get())->open();
    if (rows) {
        const QStringList columns = rows->columns();
        for (int i = 0; i < columns.size(); ++i)
            if (!m_columns.contains(columns[i].toLower())) m_columns.insert(columns[i].toLower(), i);
    }
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

    // Three row buffers turn: the row read ahead, the current one and the last one.
    Row row;
    Row lastRow;
    bool have = rows && rows->next(row);
    m_row = have ? row : Row();

    sink.begin();
    emitSection(first(SectionKind::ReportHeader), sink, width, m_row);
    sink.reportHeaderPlaced();

    Section* detail = first(SectionKind::Detail);
    const int groupCount = int(m_groups.size());
    QStringList keys(groupCount);
    bool started = false;
    while (have) {
        std::swap(lastRow, m_row);
        std::swap(m_row, row);
        int level = started ? groupCount : 0;
        for (int g = 0; g < groupCount; ++g) {
            const QString key = fields(m_groups[size_t(g)].header->groupKey()).toText();
            if (started && level == groupCount && key != keys[g]) level = g;
            keys[g] = key;
        }
        if (started) {
            for (int g = groupCount - 1; g >= level; --g) {
                std::swap(m_row, lastRow);
                emitSection(m_groups[size_t(g)].footer, sink, width, m_row);
                std::swap(m_row, lastRow);
            }
        }
        for (int g = level; g < groupCount; ++g)
            emitSection(m_groups[size_t(g)].header, sink, width, m_row);

        for (auto& [field, index] : summaries)
            if (index >= 0 && index < m_row.size()) m_sums[field] += summand(m_row[index]);
        emitSection(detail, sink, width, m_row);

        started = true;
        have = rows->next(row);
    }
    if (started) {
        for (int g = groupCount - 1; g >= 0; --g)
            emitSection(m_groups[size_t(g)].footer, sink, width, m_row);
    }
    emitSection(first(SectionKind::ReportFooter), sink, width, m_row);
}

} // namespace reports
