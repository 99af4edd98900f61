#pragma once

#include "db/DataModule.h"

#include <QStringList>

namespace tav {

// The main data module: the booklet's data sets with their record rules.
class DataModule1 : public DataModule
{
    Q_OBJECT
public:
    // databaseFolder holds Access/, Images/ and Files/ (with its separator).
    DataModule1(Connection& connection, const QString& databaseFolder, QObject* parent = nullptr);

    const QString& databaseFolder() const { return m_databaseFolder; }

    DataSet& animal() const { return dataSet(QStringLiteral("Animal")); }
    DataSet& query() const { return dataSet(QStringLiteral("Query")); }

    // Files owned by rows, in the database folder.
    QString animalPhotoPath(int animalId) const;
    QString documentImagePath(int documentId) const;
    QString documentFilePath(int fileId) const;

    // Starts a new animal, written at once with empty memos and pictures,
    // and writes it again; it stays current and its Id is returned. No
    // animalWritten() is emitted for it: the caller shows it. Throws DbError.
    int addAnimal();

    // Deletes the current animal with every row that belongs to it, all or
    // nothing; its files go once the rows are gone. Throws DbError.
    void deleteCurrentAnimal();

    // Files are deleted after the rows that own them: at once, or when the
    // outermost batch commits; a batch that does not commit keeps them.
    void beginFileBatch() { ++m_fileBatch; }
    void commitFileBatch();
    void abandonFileBatch();
    void queueFileDeletion(const QString& path);

signals:
    // The current animal changed, or one of its columns did. Emitted while
    // a new animal is being inserted too (the analysis shown is then
    // forgotten); the two below are not.
    void currentAnimalChanged();
    // The species and breed shown for the current animal may have changed.
    void speciesBreedChanged();
    // The state of the data that the commands depend on changed.
    void controlsChanged();
    // An animal was written (not while addAnimal() runs): the list shows it
    // in its place.
    void animalWritten(int animalId);
    // Whether the current act or purchase can still be marked reimbursed.
    void consultPinChanged(bool enabled);
    void pharmacyPinChanged(bool enabled);

private:
    void attachRules();
    void flushFiles();

    QString m_databaseFolder;
    bool m_addingAnimal = false;
    QStringList m_pendingFiles;
    int m_fileBatch = 0;
};

} // namespace tav
