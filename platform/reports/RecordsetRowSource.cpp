#include "RecordsetRowSource_p.h"

#include "data/Connection.h"
#include "data/Provider.h"
#include "runtime/RuntimeError.h"

namespace reports {

namespace {

// The rows of a query, stepped straight from the connection's cursor: a value is made when it is
// read; when asked to, it keeps a copy of the row left by the last move, and only that one.
class RecordsetRowSource : public RowSource {
public:
    RecordsetRowSource(const std::shared_ptr<data::Connection>& connection, const QString& source) {
        if (!connection || !connection->isOpen()) runtime::raise(runtime::err::ConnectionNotUsable);
        data::QueryResult result = connection->provider().query(source, false);
        for (const data::ColumnInfo& column : result.columns)
            m_columns << column.name;
        if (!m_columns.isEmpty()) m_rows = std::move(result.rows);
    }
    QStringList columns() const override { return m_columns; }
    bool next() override {
        if (!m_rows) return false;
        if (m_onRow && m_keepLast) {
            m_rows->forget();
            m_last = m_rows->keep();
            m_hasLast = true;
        }
        m_onRow = m_rows->next();
        return m_onRow;
    }
    runtime::Variant value(int column) override {
        return m_onRow && column < m_columns.size() ? m_rows->value(column) : runtime::Variant();
    }
    runtime::Variant lastValue(int column) override {
        return m_hasLast && column < m_columns.size() ? m_rows->keptValue(m_last, column)
                                                      : runtime::Variant();
    }
    bool keepsLastRow() const override { return m_keepLast; }
    void keepLastRows() override { m_keepLast = true; }

private:
    std::unique_ptr<data::RowCursor> m_rows;
    QStringList m_columns;
    bool m_onRow = false;
    bool m_keepLast = false;
    bool m_hasLast = false;
    size_t m_last = 0;
};

} // namespace

std::unique_ptr<RowSource> openRecordset(const std::shared_ptr<data::Connection>& connection,
                                         const QString& source) {
    return std::make_unique<RecordsetRowSource>(connection, source);
}

} // namespace reports
