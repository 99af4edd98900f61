#include "db/AnimalPictureStore.h"

#include "db/Connection.h"

namespace tav {

const char* AnimalPictureStore::columnName(Picture which)
{
    switch (which) {
    case Picture::Photo1:
        return "Img1";
    case Picture::Photo2:
        return "Img2";
    case Picture::Photo3:
        return "Img3";
    case Picture::Photo4:
        return "Img4";
    case Picture::Thumbnail1:
        return "ImgMini1";
    case Picture::Thumbnail2:
        return "ImgMini2";
    case Picture::Thumbnail3:
        return "ImgMini3";
    case Picture::Thumbnail4:
        return "ImgMini4";
    }
    return "ImgMini1";
}

QByteArray AnimalPictureStore::picture(int animalId, Picture which) const
{
    // The column name comes from the fixed list above, the key is bound.
    const QString sql = QStringLiteral("SELECT ") + QLatin1String(columnName(which)) +
                        QStringLiteral(" FROM ANIMAL WHERE Id=?");
    // The list and the card read the same small thumbnail in the same
    // step; the photos are read once, when shown.
    const bool small = which == Picture::Thumbnail1 || which == Picture::Thumbnail2 ||
                       which == Picture::Thumbnail3 || which == Picture::Thumbnail4;
    const QVariant bytes =
        small ? m_connection.cachedScalar(sql, {animalId}) : m_connection.scalar(sql, {animalId});
    return bytes.isValid() && !bytes.isNull() ? bytes.toByteArray() : QByteArray();
}

void AnimalPictureStore::setPicture(int animalId, Picture which, const QByteArray& bytes)
{
    m_connection.exec(QStringLiteral("UPDATE ANIMAL SET ") + QLatin1String(columnName(which)) +
                          QStringLiteral("=? WHERE Id=?"),
                      {bytes.isNull() ? QByteArray("") : bytes, animalId});
}

void AnimalPictureStore::clearPictures(int animalId)
{
    m_connection.exec(QStringLiteral("UPDATE ANIMAL SET Img1=?, Img2=?, Img3=?, Img4=?, "
                                     "ImgMini1=?, ImgMini2=?, ImgMini3=?, ImgMini4=? WHERE Id=?"),
                      {QByteArray(""), QByteArray(""), QByteArray(""), QByteArray(""),
                       QByteArray(""), QByteArray(""), QByteArray(""), QByteArray(""), animalId});
}

QStringList AnimalPictureStore::photoListQuery()
{
    return {QStringLiteral("SELECT Animal.Id as [Id], Animal.Name as [Title] FROM Animal"),
            QStringLiteral("WHERE Animal.Id = 0")};
}

} // namespace tav
