#pragma once

#include "RowSource.h"

#include <QString>

#include <memory>

namespace data {
class Connection;
}

namespace reports {

// The rows of a query on a connection of the data layer, read forward only.
std::unique_ptr<RowSource> openRecordset(const std::shared_ptr<data::Connection>& connection,
                                         const QString& source);

} // namespace reports
