#pragma once

#include "runtime/Variant.h"

#include <QStringList>
#include <QVector>

#include <memory>

namespace reports {

using Row = QVector<runtime::Variant>;

// The rows a report reads, one at a time, each value made when it is asked for: the layouts'
// data controls bind it to a connection and a query; tests and tools feed rows directly.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList columns() const = 0;
    // Moves to the next row; false at the end. The row left stays readable as the last row.
    virtual bool next() = 0;
    // A column of the row moved to.
    virtual runtime::Variant value(int column) = 0;
    // A column of the row left by the last move, read whole only by a source that keeps it.
    virtual runtime::Variant lastValue(int column) = 0;
    virtual bool keepsLastRow() const = 0;
    // From now on the row left by each move stays readable whole.
    virtual void keepLastRows() {}
};

// Rows held in memory.
class MemoryRowSource : public RowSource {
public:
    MemoryRowSource(QStringList columns, QVector<Row> rows);
    QStringList columns() const override { return m_columns; }
    bool next() override;
    runtime::Variant value(int column) override { return valueOf(m_current, column); }
    runtime::Variant lastValue(int column) override { return valueOf(m_last, column); }
    bool keepsLastRow() const override { return true; }

private:
    runtime::Variant valueOf(qsizetype row, int column) const;

    QStringList m_columns;
    QVector<Row> m_rows;
    qsizetype m_current = -1;
    qsizetype m_last = -1;
};

} // namespace reports
