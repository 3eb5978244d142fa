#include "RecordsetRowSource_p.h"

#include "data/Connection.h"
#include "data/Provider.h"
#include "runtime/RuntimeError.h"

namespace reports {

namespace {

// The rows of a query, stepped straight from the connection's cursor: each row is read into
// the caller's buffer and none is kept.
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
    bool next(Row& row) override {
        if (!m_rows || !m_rows->next()) {
            m_rows.reset();
            return false;
        }
        qint64 rowid = -1;
        m_rows->read(row, rowid);
        return true;
    }

private:
    std::unique_ptr<data::RowCursor> m_rows;
    QStringList m_columns;
};

} // namespace

std::unique_ptr<RowSource> openRecordset(const std::shared_ptr<data::Connection>& connection,
                                         const QString& source) {
    return std::make_unique<RecordsetRowSource>(connection, source);
}

} // namespace reports
