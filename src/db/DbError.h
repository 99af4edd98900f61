#pragma once

#include <QString>

#include <stdexcept>

class QSqlError;

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

// A failure of the database engine told in French: a sentence naming the
// file, then the engine's own English text on a line of its own as a detail
// for the support ("Le fichier « … » n'est pas une base de données.\r
// Détail : file is not a database"). sqliteCode is SQLite's result code
// (extended or primary), or 0 when unknown.
QString databaseErrorText(int sqliteCode, const QString& engineText, const QString& filePath);
QString databaseErrorText(const QSqlError& error, const QString& filePath);

} // namespace tav
