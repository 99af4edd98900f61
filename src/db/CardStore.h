#pragma once

#include <QString>
#include <QStringList>

namespace tav {

class Connection;

// What the identity card reads besides the animal's own row: the titles of
// its species and breed, and the captions of the custom fields. Keys and
// texts are bound, never pasted; every method throws DbError.
class CardStore
{
public:
    static constexpr int CustomLabelCount = 12;

    explicit CardStore(Connection& connection) : m_connection(connection) {}

    // The title of that species or breed, empty when there is none.
    QString speciesTitle(int id) const;
    QString breedTitle(int id) const;

    struct Species
    {
        int id = -1;
        QString title;
    };
    // The species a breed belongs to; an id of -1 when the breed is unknown.
    Species speciesOfBreed(int breedId) const;

    // The twelve captions, Misc01 first. A missing row is created empty, so
    // that relabelling has a row to change.
    QStringList customLabels();
    // Number runs from 1 to 12; the row is created when missing.
    void setCustomLabel(int number, const QString& text);

private:
    QString titleOf(const QString& table, int id) const;
    void ensureCustomLabelRow();

    Connection& m_connection;
};

} // namespace tav
