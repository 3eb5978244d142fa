#pragma once

#include <QString>
#include <QVector>

namespace data {

// A connection string of "key=value" pairs separated by ";", keys compared without regard
// to case. A value is trimmed of blanks unless it is enclosed in double or single quotes, inside
// which ";" and blanks are its own and the quote written twice stands for one.
class ConnectionString {
public:
    explicit ConnectionString(const QString& text);
    QString value(const QString& key) const; // empty when absent
    bool contains(const QString& key) const;

private:
    QVector<QPair<QString, QString>> m_pairs;
};

} // namespace data
