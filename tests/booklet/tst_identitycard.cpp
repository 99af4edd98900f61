#include "AppFixture.h"
#include "TestInput.h"

#include "booklet/AnimalList.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/TGeneralPage.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/DatePicker.h"
#include "dialogs/TEnterStr.h"
#include "dialogs/TSelectDate.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace tav;

namespace {} // namespace

class TestIdentityCard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aNewBookletIsFilledAndComesBack();
    void choosingASpeciesEmptiesTheBreed();
    void aBreedWithoutSpeciesGivesItsSpecies();
    void enterOpensTheRememberedValues();
    void relabellingACustomField();
    void bloodBadgeIsUpperCasedWithoutAccents();
    void speciesWindowFromTheListsMenu();
    void rememberedValuesReachEveryAnimal();
    void aDismissedPickListLeavesTheNextAnimalItsOwn_data();
    void aDismissedPickListLeavesTheNextAnimalItsOwn();
    void bloodBadgeIsTheSameAtStartAndAfterMoving();
    void doubleClickSelectsAWordInPlainFields();
    void aDateNeedsItsFourYearDigits();

private:
    QLineEdit* field(const char* name) const
    {
        return m_app->component<QLineEdit>(QString::fromLatin1(name));
    }
    void click(const char* name) const
    {
        QTest::mouseClick(m_app->component<QToolButton>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    void restartWith(const QStringList& statements);
    DataSet& animal() const { return form()->context().module1->animal(); }
    std::unique_ptr<AppFixture> m_app;
};

void TestIdentityCard::init()
{
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
}

void TestIdentityCard::cleanup()
{
    m_app.reset();
    MessageBox::clearShownMessages();
}

void TestIdentityCard::aNewBookletIsFilledAndComesBack()
{
    click("Btn_Main_Add");
    QLineEdit* name = field("Ed_Name");
    typeText(name, QStringLiteral("Médor"));
    QCOMPARE(animal().asString(QStringLiteral("Name")), QStringLiteral("Médor"));
    QVERIFY(m_app->component<QToolButton>(QStringLiteral("Btn_Main_Record"))->isEnabled());

    click("Btn_Species");
    QVERIFY(chooseLine(QStringLiteral("Chien")));
    QCOMPARE(field("Ed_Species")->text(), QStringLiteral("Chien"));
    click("Btn_Breed");
    // With a species shown, only its breeds are offered.
    QVERIFY(TStrList::openList()
                ->list()
                ->findItems(QStringLiteral("Maine coon"), Qt::MatchExactly)
                .isEmpty());
    QVERIFY(chooseLine(QStringLiteral("Labrador retriever")));
    QCOMPARE(field("Ed_Breed")->text(), QStringLiteral("Labrador retriever"));

    click("Btn_BirthDay_Date");
    TSelectDate* picker = openDatePicker();
    QVERIFY(picker);
    picker->findChild<QCalendarWidget*>(QStringLiteral("MonthCalendar"))
        ->setSelectedDate(QDate(2020, 6, 15));
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Btn_Ok")), Qt::LeftButton);
    QCOMPARE(field("Ed_BirthDay_Date")->text(), QStringLiteral("15/06/2020"));

    click("Btn_Sex");
    QVERIFY(chooseLine(QStringLiteral("Mâle")));
    click("Btn_Color");
    QVERIFY(chooseLine(QStringLiteral("Noir")));
    QTest::keyClicks(field("Ed_Identification_No"), QStringLiteral("250269812345678"));
    QTest::keyClicks(field("Ed_Misc01"), QStringLiteral("Dr Martin"));
    click("Btn_Main_Record");

    QCOMPARE(animal().state(), DataSet::State::Browse);
    const QStringList rows = form()->animalRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(AnimalRow::fieldOfRowString(rows.at(0), 1), QStringLiteral("CHIEN"));
    QCOMPARE(AnimalRow::fieldOfRowString(rows.at(1), 1), QStringLiteral("Médor"));
    QCOMPARE(AnimalRow::fieldOfRowString(rows.at(1), 2), QStringLiteral("Labrador retriever"));

    m_app->stop();
    QVERIFY(m_app->start());
    QCOMPARE(field("Ed_Name")->text(), QStringLiteral("Médor"));
    QCOMPARE(field("Ed_Species")->text(), QStringLiteral("Chien"));
    QCOMPARE(field("Ed_Breed")->text(), QStringLiteral("Labrador retriever"));
    QCOMPARE(field("Ed_BirthDay_Date")->text(), QStringLiteral("15/06/2020"));
    QCOMPARE(field("Ed_Sex")->text(), QStringLiteral("Mâle"));
    QCOMPARE(field("Ed_Color")->text(), QStringLiteral("Noir"));
    QCOMPARE(field("Ed_Identification_No")->text(), QStringLiteral("250269812345678"));
    QCOMPARE(field("Ed_Misc01")->text(), QStringLiteral("Dr Martin"));
    QCOMPARE(AnimalRow::fieldOfRowString(form()->animalRows().at(0), 1), QStringLiteral("CHIEN"));
    QCOMPARE(animal().asString(QStringLiteral("BirthDay_Date")), QStringLiteral("15/06/2020"));
}

void TestIdentityCard::choosingASpeciesEmptiesTheBreed()
{
    click("Btn_Main_Add");
    click("Btn_Species");
    QVERIFY(chooseLine(QStringLiteral("Chien")));
    click("Btn_Breed");
    QVERIFY(chooseLine(QStringLiteral("Beagle")));
    const int beagle = animal().asInt(QStringLiteral("Id_Breed"));
    QVERIFY(beagle > 0);
    // Choosing the same species again still empties the breed.
    click("Btn_Species");
    QVERIFY(chooseLine(QStringLiteral("Chien")));
    QCOMPARE(field("Ed_Breed")->text(), QString());
    QCOMPARE(animal().asInt(QStringLiteral("Id_Breed")), -1);
    // A breed chosen after a species in the same visit keeps that species.
    const int dog = animal().asInt(QStringLiteral("Id_Species"));
    click("Btn_Breed");
    QVERIFY(chooseLine(QStringLiteral("Beagle")));
    QCOMPARE(animal().asInt(QStringLiteral("Id_Species")), dog);
    // The empty first line removes the species.
    click("Btn_Species");
    TStrList::openList()->list()->setCurrentRow(0);
    QTest::keyClick(TStrList::openList()->list(), Qt::Key_Return);
    QCOMPARE(animal().asInt(QStringLiteral("Id_Species")), -1);
    QCOMPARE(field("Ed_Species")->text(), QString());
    QCOMPARE(field("Ed_Breed")->text(), QString());
}

void TestIdentityCard::aBreedWithoutSpeciesGivesItsSpecies()
{
    // A species whose title carries an apostrophe, with its own breed.
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chien d''eau')"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES (?, 'Barbet')"),
               {c.lastInsertId()});
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex')"));
    }
    QVERIFY(m_app->start());
    QCOMPARE(field("Ed_Species")->text(), QString());
    click("Btn_Breed");
    // Without a species every breed is offered.
    QVERIFY(!TStrList::openList()
                 ->list()
                 ->findItems(QStringLiteral("Maine coon"), Qt::MatchExactly)
                 .isEmpty());
    QVERIFY(chooseLine(QStringLiteral("Barbet")));
    QCOMPARE(field("Ed_Species")->text(), QStringLiteral("Chien d'eau"));
    click("Btn_Breed");
    QCOMPARE(TStrList::openList()->list()->count(), 2); // the empty line and Barbet
    QTest::keyClick(TStrList::openList()->list(), Qt::Key_Escape);
    click("Btn_Main_Record");
    QCOMPARE(AnimalRow::fieldOfRowString(form()->animalRows().at(0), 1),
             QStringLiteral("CHIEN D'EAU"));
}

void TestIdentityCard::enterOpensTheRememberedValues()
{
    click("Btn_Main_Add");
    QLineEdit* sex = field("Ed_Sex");
    sex->setFocus();
    QTest::keyClick(sex, Qt::Key_Return);
    TStrList* list = TStrList::openList();
    QVERIFY(list);
    const QStringList lines = list->lines();
    QCOMPARE(lines.value(0), QString());
    QStringList values = lines.mid(1);
    QStringList sorted = values;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(values, sorted);
    QVERIFY(values.contains(QStringLiteral("Femelle")));
    QTest::keyClick(list->list(), Qt::Key_Escape);
    QCOMPARE(sex->text(), QString());
}

void TestIdentityCard::relabellingACustomField()
{
    click("Btn_Main_Add");
    auto* label = m_app->component<QLabel>(QStringLiteral("Lab_Misc04"));
    QVERIFY(label);
    QTimer::singleShot(0, this, []() {
        auto* dialog = qobject_cast<TEnterStr*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Ed_Str"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("Vermifuge"));
        dialog->accept();
    });
    QTest::mouseDClick(label, Qt::LeftButton);
    QCOMPARE(label->text(), QStringLiteral("Vermifuge"));
    QCOMPARE(form()
                 ->context()
                 .connection->scalar(QStringLiteral("SELECT Misc04 FROM CUSTOMLAB"))
                 .toString(),
             QStringLiteral("Vermifuge"));
    // An empty table gives empty captions at the next start.
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("DELETE FROM CUSTOMLAB"));
    }
    QVERIFY(m_app->start());
    QCOMPARE(m_app->component<QLabel>(QStringLiteral("Lab_Misc04"))->text(), QString());
    QCOMPARE(form()
                 ->context()
                 .connection->scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB"))
                 .toInt(),
             1);
}

void TestIdentityCard::bloodBadgeIsUpperCasedWithoutAccents()
{
    click("Btn_Main_Add");
    field("Ed_Blood")->setText(QStringLiteral("A négatif"));
    QCOMPARE(m_app->component<QLabel>(QStringLiteral("Lab_BloodBadge"))->text(),
             QStringLiteral("A NEGATIF"));
}

void TestIdentityCard::speciesWindowFromTheListsMenu()
{
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species) VALUES ('Rex', (SELECT Id "
                              "FROM ANIMAL_SPECIES WHERE Title='Chien'))"));
    }
    QVERIFY(m_app->start());
    // Rename the species in the window; the list and the card follow.
    QTimer::singleShot(0, this, [this]() {
        QWidget* window = QApplication::activeModalWidget();
        QVERIFY(window);
        QCOMPARE(QByteArray(window->metaObject()->className()), QByteArray("TEnterSpeciesBreed"));
        form()->context().connection->exec(
            QStringLiteral("UPDATE ANIMAL_SPECIES SET Title='Canidé' WHERE Title='Chien'"));
        window->close();
    });
    auto* item = form()->findChild<QAction*>(QStringLiteral("Item_Especes"));
    QVERIFY(item && item->isEnabled());
    item->trigger();
    // Nothing was stored through the window, so nothing is rebuilt yet.
    QCOMPARE(AnimalRow::fieldOfRowString(form()->animalRows().at(0), 1), QStringLiteral("CHIEN"));
    form()->buildAnimalList(-1);
    QCOMPARE(AnimalRow::fieldOfRowString(form()->animalRows().at(0), 1), QStringLiteral("CANIDE"));
}

void TestIdentityCard::rememberedValuesReachEveryAnimal()
{
    click("Btn_Main_Add");
    QTimer::singleShot(0, this, []() {
        QWidget* editor = QApplication::activeModalWidget();
        QVERIFY(editor);
        auto* memo = editor->findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
        QVERIFY(memo);
        memo->setPlainText(memo->toPlainText() + QStringLiteral("\nArlequin"));
        QMetaObject::invokeMethod(editor, "accept");
    });
    QTest::mouseDClick(field("Ed_Color"), Qt::LeftButton);
    // Another animal's colour list offers it.
    click("Btn_Main_Add");
    click("Btn_Color");
    QVERIFY(TStrList::openList());
    QVERIFY(!TStrList::openList()
                 ->list()
                 ->findItems(QStringLiteral("Arlequin"), Qt::MatchExactly)
                 .isEmpty());
    QVERIFY(chooseLine(QStringLiteral("Arlequin")));
    QCOMPARE(animal().asString(QStringLiteral("Color")), QStringLiteral("Arlequin"));
}

void TestIdentityCard::restartWith(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestIdentityCard::aDismissedPickListLeavesTheNextAnimalItsOwn_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("species, Escape") << QStringLiteral("Btn_Species") << true;
    QTest::newRow("breed, Escape") << QStringLiteral("Btn_Breed") << true;
    QTest::newRow("species, closed from outside") << QStringLiteral("Btn_Species") << false;
    QTest::newRow("breed, closed from outside") << QStringLiteral("Btn_Breed") << false;
}

void TestIdentityCard::aDismissedPickListLeavesTheNextAnimalItsOwn()
{
    QFETCH(QString, button);
    QFETCH(bool, byEscape);
    const QString breedOf = QStringLiteral(
        "(SELECT b.Id FROM ANIMAL_BREED b JOIN ANIMAL_SPECIES s ON s.Id=b.Id_Species WHERE "
        "s.Title='%1' ORDER BY b.Title LIMIT 1)");
    restartWith({QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species, Id_Breed) VALUES ('Rex', "
                                "(SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chien'), ") +
                     breedOf.arg(QStringLiteral("Chien")) + QStringLiteral(")"),
                 QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species, Id_Breed) VALUES ('Tom', "
                                "(SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'), ") +
                     breedOf.arg(QStringLiteral("Chat")) + QStringLiteral(")")});
    const auto titles = [this]() {
        return QStringList{field("Ed_Species")->text(), field("Ed_Breed")->text()};
    };
    QCOMPARE(field("Ed_Name")->text(), QStringLiteral("Tom")); // cats come first
    const QStringList tom = titles();
    const QVariantList tomKeys = {animal().value(QStringLiteral("Id_Species")),
                                  animal().value(QStringLiteral("Id_Breed"))};
    QTest::mouseClick(m_app->component<QToolButton>(button), Qt::LeftButton);
    TStrList* list = TStrList::openList();
    QVERIFY(list);
    if (byEscape)
        QTest::keyClick(list->list(), Qt::Key_Escape);
    else
        list->close(); // what a click outside or the focus going elsewhere does
    click("Btn_Main_Next");
    QCOMPARE(field("Ed_Name")->text(), QStringLiteral("Rex"));
    QCOMPARE(field("Ed_Species")->text(), QStringLiteral("Chien"));
    QVERIFY(!field("Ed_Breed")->text().isEmpty());
    QVERIFY(field("Ed_Breed")->text() != tom.at(1));
    // Back to the first animal: nothing of the other reached it.
    click("Btn_Main_Prior");
    QCOMPARE(titles(), tom);
    QCOMPARE((QVariantList{animal().value(QStringLiteral("Id_Species")),
                           animal().value(QStringLiteral("Id_Breed"))}),
             tomKeys);
}

void TestIdentityCard::bloodBadgeIsTheSameAtStartAndAfterMoving()
{
    // Two animals without a blood group around one with it.
    restartWith(
        {QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Atlas')"),
         QStringLiteral("INSERT INTO ANIMAL (Name, Blood) VALUES ('Bella', 'DEA 1 négatif')"),
         QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Cyrus')")});
    auto* badge = m_app->component<QLabel>(QStringLiteral("Lab_BloodBadge"));
    const auto state = [badge]() {
        return QStringLiteral("%1|%2").arg(badge->text()).arg(badge->isHidden());
    };
    QCOMPARE(field("Ed_Name")->text(), QStringLiteral("Atlas"));
    const QString atStart = state();
    QCOMPARE(atStart, QStringLiteral("|1"));
    click("Btn_Main_Next");
    QCOMPARE(state(), QStringLiteral("DEA 1 NEGATIF|0"));
    click("Btn_Main_Next");
    QCOMPARE(state(), atStart);
    click("Btn_Main_Prior");
    click("Btn_Main_Prior");
    QCOMPARE(state(), atStart);
}

void TestIdentityCard::doubleClickSelectsAWordInPlainFields()
{
    click("Btn_Main_Add");
    for (const char* name : {"Ed_Name", "Ed_Identification_No"}) {
        QLineEdit* e = field(name);
        e->setText(QStringLiteral("Rex du Moulin"));
        e->home(false);
        // Inside "Moulin": past the frame and margins, then "Rex du M".
        const int x = 6 + e->fontMetrics().horizontalAdvance(QStringLiteral("Rex du M"));
        QTest::mouseDClick(e, Qt::LeftButton, Qt::NoModifier, QPoint(x, e->height() / 2));
        QCOMPARE(e->selectedText(), QStringLiteral("Moulin"));
        QVERIFY(!QApplication::activeModalWidget());
    }
    // A date field opens its picker.
    QTest::mouseDClick(field("Ed_Begin_Date"), Qt::LeftButton);
    QVERIFY(openDatePicker());
    openDatePicker()->close();
}

void TestIdentityCard::aDateNeedsItsFourYearDigits()
{
    click("Btn_Main_Add");
    QLineEdit* date = field("Ed_BirthDay_Date");
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("120520"));
    QCOMPARE(date->text(), QStringLiteral("12/05/20"));
    QVERIFY(!date->hasAcceptableInput());
    QTest::keyClicks(date, QStringLiteral("21"));
    QCOMPARE(date->text(), QStringLiteral("12/05/2021"));
    QVERIFY(date->hasAcceptableInput());
    // Day and month may stay blank.
    date->setText(QStringLiteral("  /  /2021"));
    QVERIFY(date->hasAcceptableInput());
}

QTEST_MAIN(TestIdentityCard)
#include "tst_identitycard.moc"
