#pragma once

#include <QHash>
#include <QString>

namespace data {

struct ColumnInfo;

// The positions of a result's columns by name, without regard to case (the first of equal
// names); built once per query shape and shared by the recordsets that read it.
class ColumnNames {
public:
    explicit ColumnNames(const QVector<ColumnInfo>& columns);
    // -1 when no column has that name.
    int indexOf(const QString& name) const;

private:
    struct Name {
        QString text;
        bool operator==(const Name& other) const; // without regard to case
    };
    friend size_t qHash(const Name& name, size_t seed);
    QHash<Name, int> m_index;
    // Names looked up lately, by where their characters are: a program names its fields with
    // the same texts row after row. A held copy keeps those characters as they are.
    struct Recent {
        QString name;
        int index = -1;
    };
    mutable Recent m_recent[64];
};

} // namespace data
