#include "db/DbError.h"

namespace tav {

DbError::DbError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{}

} // namespace tav
