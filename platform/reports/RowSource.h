#pragma once

#include "runtime/Variant.h"

#include <QStringList>
#include <QVector>

#include <memory>

namespace reports {

using Row = QVector<runtime::Variant>;

// The rows a report reads, one at a time: the layouts' data controls bind it to a
// connection and a query; tests and tools feed rows directly.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList columns() const = 0;
    // The next row, or false at the end.
    virtual bool next(Row& row) = 0;
};

// Rows held in memory.
class MemoryRowSource : public RowSource {
public:
    MemoryRowSource(QStringList columns, QVector<Row> rows);
    QStringList columns() const override { return m_columns; }
    bool next(Row& row) override;

private:
    QStringList m_columns;
    QVector<Row> m_rows;
    qsizetype m_next = 0;
};

} // namespace reports
