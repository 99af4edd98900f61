#include "TestDatabase.h"

#include "db/AnimalListStore.h"
#include "db/AnimalPictureStore.h"
#include "db/BreedStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QtTest>

#include <algorithm>
#include <random>

using namespace tav;

class TestAnimalStores : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void picturesAreReadAndWrittenByKey();
    void animalDataSetLeavesThePicturesOut();
    void listOrderIsTheOrderOfOneChangedAnimal_data();
    void listOrderIsTheOrderOfOneChangedAnimal();
    void oneAnimalIsReadByBoundKey();
    void engineFailuresAreToldInFrench();

private:
    Connection& c() { return m_db->connection; }
    std::unique_ptr<TestDatabase> m_db;
};

void TestAnimalStores::init()
{
    m_db = std::make_unique<TestDatabase>();
}

void TestAnimalStores::cleanup()
{
    m_db.reset();
}

void TestAnimalStores::picturesAreReadAndWrittenByKey()
{
    c().exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Un'), (2, 'Deux')"));
    AnimalPictureStore store(c());
    using P = AnimalPictureStore::Picture;
    // Bytes that are not text: a NUL, a quote, high bytes.
    const QByteArray photo("\x00\x01'\xff\xd8 photo", 11);
    store.setPicture(2, P::Photo1, photo);
    store.setPicture(2, P::Thumbnail1, QByteArray("mini"));
    QCOMPARE(store.picture(2, P::Photo1), photo);
    QCOMPARE(store.thumbnail(2), QByteArray("mini"));
    QVERIFY(store.picture(1, P::Photo1).isEmpty());
    QVERIFY(store.picture(2, P::Photo2).isEmpty());
    QVERIFY(store.thumbnail(99).isEmpty());

    store.clearPictures(2);
    for (int p = int(P::Photo1); p <= int(P::Thumbnail4); ++p) {
        const QString column = QString::fromLatin1(AnimalPictureStore::columnName(P(p)));
        // Empty, as the design stores a new animal's pictures, not NULL.
        QCOMPARE(c().scalar(QStringLiteral("SELECT typeof(") + column +
                            QStringLiteral(") FROM ANIMAL WHERE Id=2"))
                     .toString(),
                 QStringLiteral("blob"));
        QCOMPARE(c().scalar(QStringLiteral("SELECT length(") + column +
                            QStringLiteral(") FROM ANIMAL "
                                           "WHERE Id=2"))
                     .toInt(),
                 0);
    }
}

void TestAnimalStores::animalDataSetLeavesThePicturesOut()
{
    DataModule1 module(c(), m_db->folder());
    DataSet& a = module.animal();
    a.open();
    for (int p = 0; p < 8; ++p) {
        const char* column = AnimalPictureStore::columnName(AnimalPictureStore::Picture(p));
        QVERIFY2(!a.hasField(QString::fromLatin1(column)), column);
    }
    // A new animal is written at once, with empty pictures.
    a.insert();
    a.setValue(QStringLiteral("Name"), QStringLiteral("Neuf"));
    a.post();
    const int id = a.asInt(QStringLiteral("Id"));
    QCOMPARE(c().scalar(QStringLiteral("SELECT typeof(Img1) || typeof(ImgMini4) FROM ANIMAL "
                                       "WHERE Id=?"),
                        {id})
                 .toString(),
             QStringLiteral("blobblob"));
    // Writing the animal leaves a photo stored meanwhile as it is.
    AnimalPictureStore(c()).setPicture(id, AnimalPictureStore::Picture::Photo1, "jpeg");
    a.setValue(QStringLiteral("Name"), QStringLiteral("Neuf bis"));
    a.post();
    QCOMPARE(AnimalPictureStore(c()).picture(id, AnimalPictureStore::Picture::Photo1),
             QByteArray("jpeg"));
}

void TestAnimalStores::listOrderIsTheOrderOfOneChangedAnimal_data()
{
    QTest::addColumn<int>("sort");
    QTest::newRow("by species") << 1;
    QTest::newRow("by breed") << 2;
    QTest::newRow("stored 7 reads as species") << 7;
}

void TestAnimalStores::listOrderIsTheOrderOfOneChangedAnimal()
{
    QFETCH(int, sort);
    // Titles that differ by case or accent only, empty and missing ones,
    // names that tie: the cases where an order kept in memory and the
    // database's could part.
    c().exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Id, Title) VALUES (1, 'Chat'), "
                            "(2, 'chat'), (3, 'Écureuil'), (4, 'ecureuil'), (5, ''), "
                            "(6, 'Zèbre'), (7, 'âne')"));
    c().exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Id, Id_Species, Title) VALUES (1, 1, "
                            "'Persan'), (2, 1, 'persan'), (3, 1, ''), (4, 1, 'Émeraude')"));
    const QStringList names = {QStringLiteral("Rex"),   QStringLiteral("rex"),
                               QStringLiteral("Rèx"),   QStringLiteral(""),
                               QStringLiteral("Éloi"),  QStringLiteral("eloi"),
                               QStringLiteral("Zorro"), QStringLiteral("ânon")};
    std::mt19937 random(12345);
    Transaction tx(c());
    for (int i = 1; i <= 120; ++i) {
        const int species = int(random() % 9); // 0 and 8: no such species
        const int breed = int(random() % 6);   // 0 and 5: no such breed
        const QVariant name = random() % 10 == 0 ? QVariant() : QVariant(names.at(random() % 8));
        const QVariant number =
            random() % 3 == 0 ? QVariant() : QVariant(QStringLiteral("0612%1").arg(i));
        const QVariant departed =
            random() % 4 == 0 ? QVariant(QStringLiteral("0%1/02/2020").arg(i % 9 + 1)) : QVariant();
        c().exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, Id_Species, Id_Breed, "
                                "Identification_No, End_Date) VALUES (?, ?, ?, ?, ?, ?)"),
                 {i, name, species == 8 ? QVariant() : QVariant(species),
                  breed == 5 ? QVariant() : QVariant(breed), number, departed});
    }
    tx.commit();
    AnimalListStore store(c());
    const QVector<AnimalListEntry> stored = store.entries(sort);
    QCOMPARE(stored.size(), 120);
    // The order of the store is the order of before(): a changed animal
    // put in place by before() lands where the next reading puts it.
    QVector<AnimalListEntry> shuffled = stored;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    std::stable_sort(shuffled.begin(), shuffled.end(),
                     [sort](const AnimalListEntry& a, const AnimalListEntry& b) {
                         return AnimalListStore::before(a, b, sort);
                     });
    for (int i = 0; i < stored.size(); ++i)
        QVERIFY2(shuffled.at(i) == stored.at(i), qPrintable(QStringLiteral("row %1: %2 / %3")
                                                                .arg(i)
                                                                .arg(shuffled.at(i).id)
                                                                .arg(stored.at(i).id)));
    // And it is the order the engine gives through the connection's
    // collation, which the store's own sorting replaces.
    QVector<int> engine;
    const QString columns = sort == 2 ? QStringLiteral("ANIMAL_BREED.Title, ANIMAL_SPECIES.Title")
                                      : QStringLiteral("ANIMAL_SPECIES.Title, ANIMAL_BREED.Title");
    c().forEachRow(QStringLiteral("SELECT ANIMAL.Id FROM ANIMAL LEFT JOIN ANIMAL_SPECIES ON "
                                  "ANIMAL.Id_Species = ANIMAL_SPECIES.Id LEFT JOIN ANIMAL_BREED "
                                  "ON ANIMAL.Id_Breed = ANIMAL_BREED.Id ORDER BY ") +
                       columns + QStringLiteral(", ANIMAL.Name, ANIMAL.Id"),
                   [&engine](const QVariantList& row) { engine.append(row.at(0).toInt()); });
    QCOMPARE(engine.size(), stored.size());
    for (int i = 0; i < stored.size(); ++i)
        QCOMPARE(stored.at(i).id, engine.at(i));
    // Made from the rows of the animals' data set just opened, the list is
    // the one read from the table, entry for entry.
    DataModule1 module(c(), m_db->folder());
    module.animal().open();
    const QVector<AnimalListEntry> fromRows = store.entriesFrom(module.animal(), sort);
    QCOMPARE(fromRows.size(), stored.size());
    for (int i = 0; i < stored.size(); ++i)
        QVERIFY2(fromRows.at(i) == stored.at(i), qPrintable(QString::number(i)));
}

void TestAnimalStores::oneAnimalIsReadByBoundKey()
{
    c().exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Id, Title) VALUES (3, 'Chien')"));
    c().exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, Id_Species, Identification_No, "
                            "End_Date) VALUES (7, 'l''Ami', 3, '250', '01/02/2020')"));
    AnimalListStore store(c());
    const std::optional<AnimalListEntry> e = store.entry(7);
    QVERIFY(e);
    QCOMPARE(e->name, QStringLiteral("l'Ami"));
    QCOMPARE(e->speciesTitle, QStringLiteral("Chien"));
    QVERIFY(!e->speciesNull);
    QVERIFY(e->breedNull);
    QCOMPARE(e->identification, QStringLiteral("250"));
    QCOMPARE(e->endDate, QStringLiteral("01/02/2020"));
    QVERIFY(*e == store.entries(1).value(0));
    QVERIFY(!store.entry(8));
}

void TestAnimalStores::engineFailuresAreToldInFrench()
{
    // The engine's English text is only a detail line under a French one.
    c().exec(QStringLiteral("DROP TABLE ANIMAL_BREED"));
    const auto toldInFrench = [](const QString& message) {
        const QStringList lines = message.split(QLatin1Char('\r'));
        return lines.size() == 2 && lines.at(0).contains(QString::fromUtf8("« ")) &&
               lines.at(1).startsWith(QString::fromUtf8("Détail : ")) &&
               lines.at(1).contains(QStringLiteral("no such table"));
    };
    try {
        AnimalListStore(c()).entries(1);
        QFAIL("the list was read without its breeds");
    } catch (const DbError& e) {
        QVERIFY2(toldInFrench(e.message()), qPrintable(e.message()));
    }
    DataModule1 module(c(), m_db->folder());
    try {
        BreedStore(module).breeds(1);
        QFAIL("breeds were read without their table");
    } catch (const DbError& e) {
        QVERIFY2(toldInFrench(e.message()), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestAnimalStores)
#include "tst_animalstores.moc"
