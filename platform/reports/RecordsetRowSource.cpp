#include "RecordsetRowSource.h"

#include "data/Connection.h"
#include "data/Recordset.h"

namespace reports {

namespace {

// The rows of a forward-only, read-only recordset.
class RecordsetRowSource : public RowSource {
public:
    RecordsetRowSource(const std::shared_ptr<data::Connection>& connection, const QString& source) {
        m_recordset.open(source, connection, data::adOpenForwardOnly, data::adLockReadOnly);
        for (int i = 0; i < m_recordset.fieldCount(); ++i)
            m_columns << m_recordset.fields(i).name();
    }
    QStringList columns() const override { return m_columns; }
    bool next(Row& row) override {
        if (!m_started)
            m_started = true;
        else if (!m_recordset.eof())
            m_recordset.moveNext();
        if (m_recordset.eof()) return false;
        row.resize(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            row[i] = m_recordset.fields(i).value();
        return true;
    }

private:
    data::Recordset m_recordset;
    QStringList m_columns;
    bool m_started = false;
};

} // namespace

std::unique_ptr<RowSource> openRecordset(const std::shared_ptr<data::Connection>& connection,
                                         const QString& source) {
    return std::make_unique<RecordsetRowSource>(connection, source);
}

} // namespace reports
