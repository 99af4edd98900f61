#include "TestText.h"

#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/BreedCatalogue.h"
#include "dialogs/TEnterBreeds.h"
#include "dialogs/TEnterStr.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tav;

namespace {

QStringList linesOf(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

QString currentLine(const QListWidget* list)
{
    return list->currentItem() ? list->currentItem()->text() : QString();
}

// What the next one-line entry window was asked, answered with a text
// (OK) or nothing (Annuler). Any other modal window is closed.
struct EntryAnswer
{
    bool seen = false;
    QString label;
    QString initialText;
};

std::shared_ptr<EntryAnswer> answerEntry(const QString& answer, bool confirm = true)
{
    auto result = std::make_shared<EntryAnswer>();
    QTimer::singleShot(0, [result, answer, confirm]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* entry = qobject_cast<TEnterStr*>(modal)) {
            result->seen = true;
            result->label = entry->label();
            result->initialText = entry->text();
            entry->edit()->setText(answer);
            if (confirm)
                entry->okButton()->click();
        }
        if (modal && modal->isVisible())
            modal->close();
    });
    return result;
}

} // namespace

class TestSpeciesBreed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyTablesOnlyLetASpeciesBeAdded();
    void listsCountsAndSelection();
    void addingABreedSelectsIt();
    void tooLongTitleIsRefusedAndNothingStored();
    void renamingKeepsTheSelectionAtItsNewPlace();
    void unchangedOrCancelledRenameChangesNothing();
    void deletingASpeciesTakesItsBreedsAndLeavesAnimals();
    void failedDeletionLeavesEverything();
    void deletingABreed();
    void contextMenusAndDoubleClick();
    void windowOpenedByTheMainWindow();

    void pickLinesForATitleWithAnApostrophe();

private:
    int species(const char* title, int idFile = -1);
    int breed(int speciesId, const char* title);
    int count(const char* table);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
};

void TestSpeciesBreed::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestSpeciesBreed::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
}

void TestSpeciesBreed::cleanup()
{
    m_module.reset();
    m_db.reset();
}

int TestSpeciesBreed::species(const char* title, int idFile)
{
    m_db->connection.exec(
        QStringLiteral("INSERT INTO ANIMAL_SPECIES (Id_File, Title) VALUES (?, ?)"),
        {idFile, u(title)});
    return int(m_db->connection.lastInsertId());
}

int TestSpeciesBreed::breed(int speciesId, const char* title)
{
    m_db->connection.exec(
        QStringLiteral("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES (?, ?)"),
        {speciesId, u(title)});
    return int(m_db->connection.lastInsertId());
}

int TestSpeciesBreed::count(const char* table)
{
    return m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

void TestSpeciesBreed::emptyTablesOnlyLetASpeciesBeAdded()
{
    TEnterSpeciesBreed window(*m_module);
    QCOMPARE(window.windowTitle(), u("Espèces et races"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Species"))->text(), u("Espèces (0)"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Breed"))->text(), u("Races (0)"));
    QCOMPARE(window.speciesList()->count(), 0);
    QCOMPARE(window.breedList()->count(), 0);

    // Nothing selected: no question, no entry window.
    for (auto command : {&TEnterSpeciesBreed::renameSpecies, &TEnterSpeciesBreed::deleteSpecies,
                         &TEnterSpeciesBreed::addBreed, &TEnterSpeciesBreed::renameBreed,
                         &TEnterSpeciesBreed::deleteBreed}) {
        const auto entry = answerEntry(u("X"));
        (window.*command)();
        QCoreApplication::processEvents();
        QVERIFY(!entry->seen);
    }
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QVERIFY(!window.changed());
    QCOMPARE(count("ANIMAL_SPECIES") + count("ANIMAL_BREED"), 0);

    // An empty answer adds nothing.
    auto entry = answerEntry(QString(), false);
    window.addSpecies();
    QVERIFY(entry->seen);
    QCOMPARE(count("ANIMAL_SPECIES"), 0);

    entry = answerEntry(u("Chat"));
    window.findChild<QPushButton*>(QStringLiteral("Btn_Species_Add"))->click();
    QVERIFY(entry->seen);
    QCOMPARE(entry->label, u("Espèce"));
    QCOMPARE(entry->initialText, QString());
    QCOMPARE(linesOf(window.speciesList()), strings({"Chat"}));
    QCOMPARE(currentLine(window.speciesList()), u("Chat"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Species"))->text(), u("Espèces (1)"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Breed"))->text(), u("Races (0)"));
    QVERIFY(window.changed());
    // Written without Id_File, the species still belongs to the listed ones.
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Id_File FROM ANIMAL_SPECIES")).toInt(),
             -1);
}

void TestSpeciesBreed::listsCountsAndSelection()
{
    const int chien = species("Chien");
    const int chat = species("Chat");
    species("Importée", 0);
    breed(chien, "Labrador");
    breed(chien, "beagle");
    breed(chien, "Caniche");
    const int siamois = breed(chat, "Siamois");

    TEnterSpeciesBreed window(*m_module);
    QCOMPARE(linesOf(window.speciesList()), strings({"Chat", "Chien"}));
    QCOMPARE(window.speciesLineIds(), QStringList({QString::number(chat), QString::number(chien)}));
    QCOMPARE(window.selectedSpeciesId(), chat);
    QCOMPARE(linesOf(window.breedList()), strings({"Siamois"}));
    QCOMPARE(window.breedLineIds(), QStringList({QString::number(siamois)}));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Species"))->text(), u("Espèces (2)"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Breed"))->text(), u("Races (1)"));

    const QRect second = window.speciesList()->visualItemRect(window.speciesList()->item(1));
    QTest::mouseClick(window.speciesList()->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(window.selectedSpeciesId(), chien);
    QCOMPARE(linesOf(window.breedList()), strings({"beagle", "Caniche", "Labrador"}));
    QCOMPARE(currentLine(window.breedList()), u("beagle"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Breed"))->text(), u("Races (3)"));

    QTest::keyClick(window.speciesList(), Qt::Key_Up);
    QCOMPARE(window.selectedSpeciesId(), chat);
    QCOMPARE(linesOf(window.breedList()), strings({"Siamois"}));
    QVERIFY(!window.changed());
}

void TestSpeciesBreed::addingABreedSelectsIt()
{
    species("Chat");
    const int chien = species("Chien");
    breed(chien, "Labrador");
    breed(chien, "Caniche");
    TEnterSpeciesBreed window(*m_module);
    window.speciesList()->setCurrentRow(1);

    const auto entry = answerEntry(u("Berger"));
    window.findChild<QPushButton*>(QStringLiteral("Btn_Breed_Add"))->click();
    QVERIFY(entry->seen);
    QCOMPARE(entry->label, u("Race"));
    QCOMPARE(linesOf(window.breedList()), strings({"Berger", "Caniche", "Labrador"}));
    QCOMPARE(currentLine(window.breedList()), u("Berger"));
    QCOMPARE(currentLine(window.speciesList()), u("Chien"));
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Id_Species FROM ANIMAL_BREED WHERE Title=?"),
                         {u("Berger")})
                 .toInt(),
             chien);
    QVERIFY(window.changed());
}

void TestSpeciesBreed::tooLongTitleIsRefusedAndNothingStored()
{
    TEnterSpeciesBreed window(*m_module);
    const auto entry = answerEntry(QString(129, QLatin1Char('x')));
    window.addSpecies();
    QVERIFY(entry->seen);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().constFirst().kind, MessageBox::Kind::Error);
    QCOMPARE(count("ANIMAL_SPECIES"), 0);
    QVERIFY(!window.changed());
    QVERIFY(!m_module->query().isOpen());
}

void TestSpeciesBreed::renamingKeepsTheSelectionAtItsNewPlace()
{
    const int chat = species("Chat");
    const int chien = species("Chien");
    species("Lapin");
    breed(chien, "Beagle");
    breed(chien, "Caniche");
    const int labrador = breed(chien, "Labrador");
    TEnterSpeciesBreed window(*m_module);

    auto entry = answerEntry(u("Zèbre"));
    window.renameSpecies();
    QCOMPARE(entry->label, u("Espèce"));
    QCOMPARE(entry->initialText, u("Chat"));
    QCOMPARE(linesOf(window.speciesList()), strings({"Chien", "Lapin", "Zèbre"}));
    QCOMPARE(window.speciesList()->currentRow(), 2);
    QCOMPARE(window.selectedSpeciesId(), chat);

    window.speciesList()->setCurrentRow(0);
    window.breedList()->setCurrentRow(2);
    entry = answerEntry(u("Alaskan"));
    window.renameBreed();
    QCOMPARE(entry->label, u("Race"));
    QCOMPARE(entry->initialText, u("Labrador"));
    QCOMPARE(linesOf(window.breedList()), strings({"Alaskan", "Beagle", "Caniche"}));
    QCOMPARE(window.breedList()->currentRow(), 0);
    QCOMPARE(window.selectedBreedId(), labrador);
    QCOMPARE(window.selectedSpeciesId(), chien);
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Title FROM ANIMAL_BREED WHERE Id=?"), {labrador})
                 .toString(),
             u("Alaskan"));
}

void TestSpeciesBreed::unchangedOrCancelledRenameChangesNothing()
{
    species("Chat");
    TEnterSpeciesBreed window(*m_module);
    answerEntry(u("Chat"));
    window.renameSpecies();
    answerEntry(u("Autre"), false);
    window.renameSpecies();
    QVERIFY(!window.changed());
    QCOMPARE(linesOf(window.speciesList()), strings({"Chat"}));

    // Case alone is a change.
    answerEntry(u("chat"));
    window.renameSpecies();
    QVERIFY(window.changed());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Title FROM ANIMAL_SPECIES")).toString(),
             u("chat"));
}

void TestSpeciesBreed::deletingASpeciesTakesItsBreedsAndLeavesAnimals()
{
    const int chat = species("Chat");
    const int chien = species("Chien");
    const int siamois = breed(chat, "Siamois");
    const int beagle = breed(chien, "Beagle");
    breed(chien, "Caniche");
    m_db->connection.exec(
        QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species, Id_Breed) VALUES ('Rex', ?, ?)"),
        {chien, beagle});
    TEnterSpeciesBreed window(*m_module);
    window.speciesList()->setCurrentRow(1);

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    window.findChild<QPushButton*>(QStringLiteral("Btn_Species_Delete"))->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().constFirst().kind, MessageBox::Kind::Question);
    QCOMPARE(MessageBox::shownMessages().constFirst().text,
             u("Confirmez-vous la suppression de cette espèce et de toutes ces races ?"));
    QCOMPARE(count("ANIMAL_SPECIES"), 2);
    QCOMPARE(count("ANIMAL_BREED"), 3);
    QVERIFY(!window.changed());

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window.deleteSpecies();
    QCOMPARE(count("ANIMAL_SPECIES"), 1);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Id FROM ANIMAL_BREED")).toInt(),
             siamois);
    QCOMPARE(linesOf(window.speciesList()), strings({"Chat"}));
    QCOMPARE(currentLine(window.speciesList()), u("Chat"));
    QCOMPARE(linesOf(window.breedList()), strings({"Siamois"}));
    QVERIFY(window.changed());

    // The animal keeps its keys, and no new species ever takes them over.
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Id_Species FROM ANIMAL")).toInt(),
             chien);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Id_Breed FROM ANIMAL")).toInt(),
             beagle);
    BreedCatalogue catalogue(*m_module);
    QVERIFY(catalogue.addSpecies(u("Furet")) > chien);
    QVERIFY(catalogue.addBreed(chat, u("Persan")) > beagle + 1);
}

void TestSpeciesBreed::failedDeletionLeavesEverything()
{
    species("Chat");
    const int chien = species("Chien");
    breed(chien, "Beagle");
    breed(chien, "Caniche");
    m_db->connection.execScript(
        QStringLiteral("CREATE TRIGGER refuse_breed_delete BEFORE DELETE ON ANIMAL_BREED "
                       "BEGIN SELECT RAISE(ABORT, 'suppression refusée'); END"));

    BreedCatalogue catalogue(*m_module);
    QVERIFY_THROWS_EXCEPTION(DbError, catalogue.deleteSpecies(chien));
    QCOMPARE(count("ANIMAL_SPECIES"), 2);
    QCOMPARE(count("ANIMAL_BREED"), 2);
    QVERIFY(!m_db->connection.inTransaction());

    TEnterSpeciesBreed window(*m_module);
    window.speciesList()->setCurrentRow(1);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window.deleteSpecies();
    const auto shown = MessageBox::shownMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).kind, MessageBox::Kind::Error);
    QVERIFY(shown.at(1).text.contains(u("suppression refusée")));
    QCOMPARE(count("ANIMAL_SPECIES"), 2);
    QCOMPARE(count("ANIMAL_BREED"), 2);
    QCOMPARE(linesOf(window.speciesList()), strings({"Chat", "Chien"}));
    QCOMPARE(currentLine(window.speciesList()), u("Chien"));
    QCOMPARE(linesOf(window.breedList()), strings({"Beagle", "Caniche"}));
    QVERIFY(!window.changed());
}

void TestSpeciesBreed::deletingABreed()
{
    const int chien = species("Chien");
    breed(chien, "Beagle");
    const int caniche = breed(chien, "Caniche");
    breed(chien, "Labrador");
    TEnterSpeciesBreed window(*m_module);
    window.breedList()->setCurrentRow(1);

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    window.deleteBreed();
    QCOMPARE(count("ANIMAL_BREED"), 3);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window.findChild<QPushButton*>(QStringLiteral("Btn_Breed_Delete"))->click();
    QCOMPARE(MessageBox::shownMessages().constLast().text,
             u("Confirmez-vous la suppression de cette race ?"));
    QCOMPARE(count("ANIMAL_BREED"), 2);
    QVERIFY(!m_db->connection
                 .scalar(QStringLiteral("SELECT Id FROM ANIMAL_BREED WHERE Id=?"), {caniche})
                 .isValid());
    QCOMPARE(linesOf(window.breedList()), strings({"Beagle", "Labrador"}));
    QCOMPARE(window.breedList()->currentRow(), 0);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_Breed"))->text(), u("Races (2)"));
}

void TestSpeciesBreed::contextMenusAndDoubleClick()
{
    const int chien = species("Chien");
    breed(chien, "Beagle");
    TEnterSpeciesBreed window(*m_module);
    for (QMenu* menu : {window.speciesMenu(), window.breedMenu()}) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts.append(action->text());
        QCOMPARE(texts, strings({"&Ajouter", "&Modifier", "&Supprimer"}));
    }
    QCOMPARE(window.speciesMenu()->objectName(), u("Popup_Species"));

    auto entry = answerEntry(u("Basset"));
    window.breedMenu()->findChild<QAction*>(QStringLiteral("Popup_Breed_Add"))->trigger();
    QVERIFY(entry->seen);
    QCOMPARE(linesOf(window.breedList()), strings({"Basset", "Beagle"}));

    entry = answerEntry(u("Chiens"));
    window.speciesMenu()->findChild<QAction*>(QStringLiteral("Popup_Species_Modify"))->trigger();
    QCOMPARE(entry->initialText, u("Chien"));
    QCOMPARE(linesOf(window.speciesList()), strings({"Chiens"}));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    entry = answerEntry(u("Beagle-Harrier"));
    const QRect beagle = window.breedList()->visualItemRect(window.breedList()->item(1));
    // A double click follows the press and release of a first click.
    QTest::mouseClick(window.breedList()->viewport(), Qt::LeftButton, {}, beagle.center());
    QTest::mouseDClick(window.breedList()->viewport(), Qt::LeftButton, {}, beagle.center());
    QVERIFY(entry->seen);
    QCOMPARE(entry->initialText, u("Beagle"));
    QCOMPARE(linesOf(window.breedList()), strings({"Basset", "Beagle-Harrier"}));

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window.speciesMenu()->findChild<QAction*>(QStringLiteral("Popup_Species_Delete"))->trigger();
    QCOMPARE(count("ANIMAL_SPECIES"), 0);
    QCOMPARE(count("ANIMAL_BREED"), 0);
}

void TestSpeciesBreed::windowOpenedByTheMainWindow()
{
    QTimer::singleShot(0, []() {
        auto* window = qobject_cast<TEnterSpeciesBreed*>(QApplication::activeModalWidget());
        if (window)
            window->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    });
    QVERIFY(!editSpeciesAndBreeds(nullptr, *m_module));

    QTimer::singleShot(0, []() {
        auto* window = qobject_cast<TEnterSpeciesBreed*>(QApplication::activeModalWidget());
        if (!window)
            return;
        answerEntry(u("Chat"));
        window->addSpecies();
        window->close(); // the close image
    });
    QVERIFY(editSpeciesAndBreeds(nullptr, *m_module));
    QCOMPARE(count("ANIMAL_SPECIES"), 1);
}

void TestSpeciesBreed::pickLinesForATitleWithAnApostrophe()
{
    const int chien = species("Chien");
    const int chat = species("Chat", 0);
    const int beagle = breed(chien, "Beagle");
    const int siamois = breed(chat, "Siamois");

    // The species window creates it, as the user would.
    TEnterSpeciesBreed window(*m_module);
    answerEntry(u("Chien d'eau"));
    window.addSpecies();
    const int eau = window.selectedSpeciesId();
    answerEntry(u("Lagotto"));
    window.addBreed();
    answerEntry(u("Barbet"));
    window.addBreed();
    QCOMPARE(linesOf(window.breedList()), strings({"Barbet", "Lagotto"}));
    answerEntry(u("Chien d'eau portugais"));
    window.renameSpecies();
    answerEntry(u("Chien d'eau"));
    window.renameSpecies();
    QCOMPARE(window.selectedSpeciesId(), eau);

    // The identity card lists every species, whatever its Id_File.
    const PickLines all = speciesPickLines(*m_module);
    QCOMPARE(all.lines, strings({"", "Chat", "Chien", "Chien d'eau"}));
    QCOMPARE(all.ids, QStringList({QStringLiteral("-1"), QString::number(chat),
                                   QString::number(chien), QString::number(eau)}));

    const PickLines breeds = breedPickLines(*m_module, u("Chien d'eau"));
    QCOMPARE(breeds.lines, strings({"", "Barbet", "Lagotto"}));
    QCOMPARE(breeds.ids.size(), 3);
    QCOMPARE(breeds.ids.constFirst(), QStringLiteral("-1"));
    QCOMPARE(speciesIdOfTitle(*m_module, u("CHIEN D'EAU")), eau);

    QCOMPARE(breedPickLines(*m_module, u("Chat")).ids,
             QStringList({QStringLiteral("-1"), QString::number(siamois)}));
    QCOMPARE(breedPickLines(*m_module, u("Chien")).ids,
             QStringList({QStringLiteral("-1"), QString::number(beagle)}));
    // No species, or one that does not exist: every breed. A title written
    // to escape its quotes is only a title.
    for (const char* title : {"", "Inconnue", "x' OR Id=2 OR '"}) {
        QCOMPARE(breedPickLines(*m_module, u(title)).lines,
                 strings({"", "Barbet", "Beagle", "Lagotto", "Siamois"}));
    }
    QCOMPARE(count("ANIMAL_SPECIES"), 3);
}

QTEST_MAIN(TestSpeciesBreed)
#include "tst_breeds.moc"
