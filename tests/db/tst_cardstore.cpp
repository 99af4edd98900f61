#include "TestDatabase.h"

#include "db/CardStore.h"

#include <QtTest>

using namespace tav;

class TestCardStore : public QObject
{
    Q_OBJECT
private slots:
    void titlesOfKeys();
    void customLabelsCreateTheirRowOnce();
};

void TestCardStore::titlesOfKeys()
{
    TestDatabase db;
    Connection& c = db.connection;
    // A title with a quote must be found and shown as stored.
    c.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES (?)"),
           {QStringLiteral("Chien d'eau")});
    const int species = int(c.lastInsertId());
    c.exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES (?, 'Barbet')"),
           {species});
    const int breed = int(c.lastInsertId());
    c.exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES (9999, 'Orphan')"));
    const int orphan = int(c.lastInsertId());

    const CardStore store(c);
    QCOMPARE(store.speciesTitle(species), QStringLiteral("Chien d'eau"));
    QCOMPARE(store.breedTitle(breed), QStringLiteral("Barbet"));
    QCOMPARE(store.speciesTitle(-1), QString());
    QCOMPARE(store.breedTitle(123456), QString());
    const CardStore::Species of = store.speciesOfBreed(breed);
    QCOMPARE(of.id, species);
    QCOMPARE(of.title, QStringLiteral("Chien d'eau"));
    // A breed whose species is gone gives none.
    QCOMPARE(store.speciesOfBreed(orphan).id, -1);
    QCOMPARE(store.speciesOfBreed(-1).id, -1);
}

void TestCardStore::customLabelsCreateTheirRowOnce()
{
    TestDatabase db;
    Connection& c = db.connection;
    c.exec(QStringLiteral("DELETE FROM CUSTOMLAB"));
    CardStore store(c);
    QCOMPARE(store.customLabels(), QStringList(CardStore::CustomLabelCount, QString()));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB")).toInt(), 1);

    store.setCustomLabel(4, QStringLiteral("Vermifuge l'été"));
    store.setCustomLabel(12, QStringLiteral("0612345678"));
    store.setCustomLabel(13, QStringLiteral("ignored")); // there is no 13th caption
    const QStringList labels = store.customLabels();
    QCOMPARE(labels.size(), CardStore::CustomLabelCount);
    QCOMPARE(labels.at(3), QStringLiteral("Vermifuge l'été"));
    QCOMPARE(labels.at(11), QStringLiteral("0612345678"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB")).toInt(), 1);

    // Relabelling an empty table creates its row first.
    c.exec(QStringLiteral("DELETE FROM CUSTOMLAB"));
    store.setCustomLabel(1, QStringLiteral("Vétérinaire"));
    QCOMPARE(store.customLabels().value(0), QStringLiteral("Vétérinaire"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestCardStore)
#include "tst_cardstore.moc"
