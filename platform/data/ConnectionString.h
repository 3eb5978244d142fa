#pragma once

#include <QString>
#include <QVector>

namespace data {

// A connection string of "key=value" pairs separated by ";", keys compared without regard
// to case; a value may be enclosed in double or single quotes.
class ConnectionString {
public:
    explicit ConnectionString(const QString& text);
    QString value(const QString& key) const; // empty when absent
    bool contains(const QString& key) const;

private:
    QVector<QPair<QString, QString>> m_pairs;
};

} // namespace data
