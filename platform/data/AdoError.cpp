#include "AdoError.h"

#include "runtime/RuntimeError.h"

namespace data {

void raiseAdo(long number) {
    QString description;
    switch (number) {
    case adoError::NoCurrentRecord:
        description =
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested "
                           "operation requires a current record.");
        break;
    case adoError::NotUpdatable:
        description =
            QStringLiteral("Current Recordset does not support updating. This may be a limitation of the "
                           "provider, or of the selected locktype.");
        break;
    case adoError::ItemNotFound:
        description = QStringLiteral(
            "Item cannot be found in the collection corresponding to the requested name or ordinal.");
        break;
    case adoError::ObjectClosed:
        description = QStringLiteral("Operation is not allowed when the object is closed.");
        break;
    case adoError::ObjectOpen:
        description = QStringLiteral("Operation is not allowed when the object is open.");
        break;
    case adoError::ProviderNotFound:
        description = QStringLiteral("Provider cannot be found. It may not be properly installed.");
        break;
    case adoError::ConnectionNotUsable:
        description =
            QStringLiteral("The connection cannot be used to perform this operation. It is either closed "
                           "or invalid in this context.");
        break;
    }
    throw runtime::RuntimeError(number, description);
}

} // namespace data
