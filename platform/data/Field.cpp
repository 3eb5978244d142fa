#include "Field.h"

#include "Recordset.h"

namespace data {

QString Field::name() const {
    m_recordset->requireOpen();
    return m_recordset->m_columns[m_index].name;
}

runtime::Variant Field::value() const {
    return m_recordset->fieldValue(m_index);
}

void Field::setValue(const runtime::Variant& value) {
    m_recordset->setFieldValue(m_index, runtime::Variant(value));
}

void Field::setValue(runtime::Variant&& value) {
    m_recordset->setFieldValue(m_index, std::move(value));
}

int Field::type() const {
    return m_recordset->columnType(m_index);
}

} // namespace data
