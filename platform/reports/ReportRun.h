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
// formatted section to a sink. A row's values are made when the run or an event asks for them;
// the fields are bound to column positions, and each section's fixed part laid out, once per run.
// Of a row the run has moved past it keeps the whole row when a section formatted after the move
// (a group or report footer, a page header or footer) has an event, and otherwise the columns
// those sections bind, the group keys and the columns events have asked for.
class ReportRun {
public:
    ReportRun(const std::vector<std::unique_ptr<Section>>& sections,
              const std::vector<GroupSections>& groups);
    ~ReportRun();

    // Every row, from the report header to the report footer.
    void generate(BandSink& sink, int width);

    // A page header or footer formatted for the current row (empty when hidden).
    Band pageBand(Section* section, int width);

    // The current row's value of a column; error 3265 when the rows have no such column.
    runtime::Variant fields(const QString& column) const;

private:
    // The values of one row as they are asked for: whether each is made, by generation.
    struct RowValues {
        QVector<runtime::Variant> values;
        std::vector<quint32> made;
        quint32 generation = 1;
        void reset(int columns);
        void next();
    };
    // Where a section's bound fields take their values from.
    struct Binding {
        Field* field;
        int column;   // -1 when the rows have no such column
        bool summary; // the field shows its column's sum
    };
    struct SectionRun;
    // Which row the sections read: none, the row source's current one, or the one before it.
    enum class Hand { None, Current, Last };

    Section* first(SectionKind kind) const;
    SectionRun& sectionRun(const Section& section);
    void bindFields(SectionRun& run);
    void emitSection(Section* section, BandSink& sink, int width);
    int columnIndex(const QString& column) const;
    const runtime::Variant& value(int column) const;
    // A column of the current row to keep when the run moves past it.
    void retain(int column) const;
    void openRows();

    const std::vector<std::unique_ptr<Section>>& m_sections;
    const std::vector<GroupSections>& m_groups;
    std::vector<std::unique_ptr<SectionRun>> m_sectionRuns;
    std::unique_ptr<RowSource> m_rows;
    int m_columnCount = 0;
    QHash<QString, int> m_columns;         // lower-case name -> index
    mutable QHash<QString, int> m_spelled; // name as asked -> index
    Hand m_hand = Hand::None;
    mutable RowValues m_current;
    mutable RowValues m_last;
    mutable std::vector<int> m_retained; // the columns made of each row before moving past it
    mutable std::vector<char> m_isRetained;
    std::vector<std::pair<Field*, int>> m_summaryColumns; // each summary field and its column
    QHash<const Field*, double> m_sums;
    Band m_band; // the band of the section in hand
};

} // namespace reports
