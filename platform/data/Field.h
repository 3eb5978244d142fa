#pragma once

#include "runtime/Variant.h"

#include <QString>

namespace data {

class Recordset;

// One column of a recordset, seen at the recordset's current row.
class Field {
public:
    Field(Recordset* recordset, int index) : m_recordset(recordset), m_index(index) {}

    QString name() const;
    // The current row's value: a Date for columns declared as dates or times.
    runtime::Variant value() const;
    // Assigns the value on the new row (AddNew) or on the current row; Update stores it.
    void setValue(const runtime::Variant& value);
    void setValue(runtime::Variant&& value);
    // ADO-like type code (data::adType).
    int type() const;

private:
    Recordset* m_recordset;
    int m_index;
};

} // namespace data
