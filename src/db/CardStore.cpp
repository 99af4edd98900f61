#include "db/CardStore.h"

#include "db/Connection.h"
#include "db/DbError.h"

namespace tav {

namespace {

QString miscColumn(int number)
{
    return QStringLiteral("Misc") + QString::number(number).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString CardStore::titleOf(const QString& table, int id) const
{
    if (id < 0)
        return {};
    const QVariant title = m_connection.cachedScalar(
        QStringLiteral("SELECT Title FROM ") + table + QStringLiteral(" WHERE Id=?"), {id});
    return title.isValid() ? title.toString() : QString();
}

QString CardStore::speciesTitle(int id) const
{
    return titleOf(QStringLiteral("ANIMAL_SPECIES"), id);
}

QString CardStore::breedTitle(int id) const
{
    return titleOf(QStringLiteral("ANIMAL_BREED"), id);
}

CardStore::Species CardStore::speciesOfBreed(int breedId) const
{
    const QVariant id = m_connection.scalar(
        QStringLiteral("SELECT Id_Species FROM ANIMAL_BREED WHERE Id=?"), {breedId});
    if (!id.isValid() || id.isNull())
        return {};
    const QVariant title = m_connection.scalar(
        QStringLiteral("SELECT Title FROM ANIMAL_SPECIES WHERE Id=?"), {id.toInt()});
    if (!title.isValid())
        return {};
    return {id.toInt(), title.toString()};
}

void CardStore::ensureCustomLabelRow()
{
    if (m_connection.scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB")).toInt() == 0)
        m_connection.exec(QStringLiteral("INSERT INTO CUSTOMLAB (Id_File) VALUES (0)"));
}

QStringList CardStore::customLabels()
{
    ensureCustomLabelRow();
    QString columns;
    for (int i = 1; i <= CustomLabelCount; ++i)
        columns += (i > 1 ? QStringLiteral(", ") : QString()) + miscColumn(i);
    QStringList labels;
    m_connection.forEachRow(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM CUSTOMLAB"),
                            [&labels](const QVariantList& row) {
                                if (!labels.isEmpty())
                                    return;
                                for (const QVariant& v : row)
                                    labels << (v.isNull() ? QString() : v.toString());
                            });
    return labels;
}

void CardStore::setCustomLabel(int number, const QString& text)
{
    if (number < 1 || number > CustomLabelCount)
        return;
    Transaction transaction(m_connection);
    ensureCustomLabelRow();
    m_connection.exec(QStringLiteral("UPDATE CUSTOMLAB SET ") + miscColumn(number) +
                          QStringLiteral("=?"),
                      {text});
    transaction.commit();
}

} // namespace tav
