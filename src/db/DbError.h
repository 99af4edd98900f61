#pragma once

#include <QString>

#include <stdexcept>

namespace tav {

// The one exception type of the data layer: its text is French and ready to
// be shown to the user by the command that triggered the failure.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace tav
