#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

class DataModule1;

struct TitledRow
{
    int id = -1;
    QString title;
};

// The species and their breeds, as the species window maintains them and
// the identity card's pick lists offer them. Each
// change is stored at once; every method throws DbError and leaves the
// data as it was when it fails. Titles and keys read are bound, never
// pasted into a statement; writes go through the data layer's row checks.
//
// Animals keep their Id_Species and Id_Breed when the species or breed is
// deleted: keys are never reused, so such an animal simply shows no title.
class BreedStore
{
public:
    explicit BreedStore(DataModule1& module) : m_module(module) {}

    // The species of the window (Id_File -1), by title.
    QVector<TitledRow> species() const;
    // The breeds of one species, by title.
    QVector<TitledRow> breeds(int speciesId) const;

    // Each returns the key of the new row.
    int addSpecies(const QString& title);
    int addBreed(int speciesId, const QString& title);
    void renameSpecies(int id, const QString& title);
    void renameBreed(int id, const QString& title);
    // The species and all its breeds, or nothing at all.
    void deleteSpecies(int id);
    void deleteBreed(int id);

private:
    DataModule1& m_module;
};

// Lines of the identity card's species and breed pick lists: an empty first
// line, then the titles by title; ids holds the key of each line, "-1" for
// the empty one.
struct PickLines
{
    QStringList lines;
    QStringList ids;
};

// Every species, whatever its Id_File.
PickLines speciesPickLines(DataModule1& module);
// The breeds of the species bearing that title (the first one when several
// do), or every breed when the title is empty or names no species.
PickLines breedPickLines(DataModule1& module, const QString& speciesTitle);
// The key of the first species bearing that title (ignoring case), or -1.
int speciesIdOfTitle(DataModule1& module, const QString& title);

} // namespace tav
