#pragma once

#include <QByteArray>
#include <QStringList>

namespace tav {

class Connection;

// The pictures of an animal, read and written one at a time by key. They
// stay out of the Animal data set: a booklet holds a photo of some hundred
// kilobytes per animal, and only the pictures on screen need to be read.
class AnimalPictureStore
{
public:
    // The eight picture columns of ANIMAL: four photos, four small copies.
    enum class Picture {
        Photo1,
        Photo2,
        Photo3,
        Photo4,
        Thumbnail1,
        Thumbnail2,
        Thumbnail3,
        Thumbnail4
    };

    explicit AnimalPictureStore(Connection& connection) : m_connection(connection) {}

    // The stored bytes; empty when the animal or its picture is missing.
    // Throws DbError.
    QByteArray picture(int animalId, Picture which) const;
    QByteArray thumbnail(int animalId) const { return picture(animalId, Picture::Thumbnail1); }
    void setPicture(int animalId, Picture which, const QByteArray& bytes);
    // Every picture of the animal becomes empty (not NULL), as a new
    // animal's are.
    void clearPictures(int animalId);

    static const char* columnName(Picture which);

    // The statement listing one animal's photo for the picture preview, as
    // Id and Title, filtered on kPhotoListKey.
    static QStringList photoListQuery();
    static inline const QString kPhotoListKey = QStringLiteral("Animal.Id");

private:
    Connection& m_connection;
};

} // namespace tav
