#pragma once

#include "RowSource.h"
#include "Section.h"
#include "SectionLayout.h"
#include "runtime/Variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace reports {

// The sections of a group: a header and the footer that closes it (null when it has none).
struct GroupSections {
    Section* header = nullptr;
    Section* footer = nullptr;
};

// One run of a report layout: it reads the data control's rows, keeps the current row and
// the summaries, raises the sections' events in a banded engine's order and hands each
// formatted section to a sink.
class ReportRun {
public:
    ReportRun(const std::vector<std::unique_ptr<Section>>& sections,
              const std::vector<GroupSections>& groups);

    // Every row, from the report header to the report footer.
    void generate(BandSink& sink, int width);

    // A page header or footer formatted for the current row (empty when hidden).
    Band pageBand(Section* section, int width);

    // The current row's value of a column; error 3265 when the rows have no such column.
    runtime::Variant fields(const QString& column) const;

private:
    Section* first(SectionKind kind) const;
    void bindFields(const Section& section, const Row& row);
    void emitSection(Section* section, BandSink& sink, int width, const Row& row);
    int columnIndex(const QString& column) const;

    const std::vector<std::unique_ptr<Section>>& m_sections;
    const std::vector<GroupSections>& m_groups;
    QHash<QString, int> m_columns;         // lower-case name -> index
    mutable QHash<QString, int> m_spelled; // name as asked -> index
    Row m_row;
    QHash<const Field*, double> m_sums;
};

} // namespace reports
