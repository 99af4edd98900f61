#pragma once

#include "db/DataModule.h"

#include <QStringList>

namespace tav {

class MainWindowHooks;

// The main data module: the booklet's data sets with their record rules.
class DataModule1 : public DataModule
{
    Q_OBJECT
public:
    // databaseFolder holds Access/, Images/ and Files/ (with its separator).
    DataModule1(Connection& connection, const QString& databaseFolder, QObject* parent = nullptr);

    const QString& databaseFolder() const { return m_databaseFolder; }
    void setHooks(MainWindowHooks* hooks) { m_hooks = hooks; }
    MainWindowHooks* hooks() const { return m_hooks; }

    DataSet& animal() const { return dataSet(QStringLiteral("Animal")); }
    DataSet& query() const { return dataSet(QStringLiteral("Query")); }

    // Files owned by rows, in the database folder.
    QString animalPhotoPath(int animalId) const;
    QString documentImagePath(int documentId) const;
    QString documentFilePath(int fileId) const;

    // Deletes the current animal with every row that belongs to it, all or
    // nothing; its files go once the rows are gone. Throws DbError.
    void deleteCurrentAnimal();

    // Files are deleted after the rows that own them: at once, or when the
    // outermost batch commits; a batch that does not commit keeps them.
    void beginFileBatch() { ++m_fileBatch; }
    void commitFileBatch();
    void abandonFileBatch();
    void queueFileDeletion(const QString& path);

private:
    void attachRules();
    void flushFiles();

    QString m_databaseFolder;
    MainWindowHooks* m_hooks = nullptr;
    QStringList m_pendingFiles;
    int m_fileBatch = 0;
};

} // namespace tav
