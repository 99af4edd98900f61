#include "AppFixture.h"

#include "booklet/AnimalList.h"
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/PrinterSetup.h"
#include "booklet/TMainForm.h"
#include "db/AnimalListStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using namespace tav;

namespace {

QStringList headersAndNames(const TMainForm* form)
{
    QStringList out;
    for (const QString& row : form->animalRows()) {
        const QString f1 = AnimalRow::fieldOfRowString(row, 1);
        out << (AnimalRow::keyOfRowString(row) < 1 ? QStringLiteral("# ") + f1 : f1);
    }
    return out;
}

QByteArray bmp(QColor colour)
{
    QImage img(115, 115, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// The rows a full build gives from what is stored now.
QStringList rebuiltRows(TMainForm* form)
{
    AppContext& c = form->context();
    const AnimalListResult built =
        buildAnimalRows(AnimalListStore(*c.connection).entries(c.settings.animalSort),
                        c.settings.animalSort, c.settings.animalEnd, -1);
    QStringList out;
    for (const AnimalRow& r : built.rows)
        out << r.rowString();
    return out;
}

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("x");
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void emptyDatabaseAllowsOnlyAdding();
    void groupsBySpeciesThenBreed();
    void groupsByBreedAndKeepsTheChoice();
    void departedAnimalsAreHiddenUntilAsked();
    void keyboardAndButtonsSkipHeaders();
    void deletingRemovesTheBookletAndItsFiles();
    void recordingKeepsTheAnimalSelected();
    void largeKeysAreListedAndEdited();
    void moneyColumnsCarryTheCurrency();
    void unreadableAnimalTableStillOpensTheWindow();
    void thumbnailsFollowThePhotos();
    void draggingTheStatusNoticeMovesTheWindow();
    void listChangesEqualAFullRebuild();
    void picturesAreReadOnlyForPaintedRows();
    void highlightIsAlwaysTheCurrentAnimal();
    void sortMenuChecksTheGroupingInUse();
    void printerItemOpensThePrinterSetup();

private:
    void seed(const QStringList& statements);
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    QListView* grid() const
    {
        return m_app->component<QListView>(QStringLiteral("Grid_AnimalList"));
    }
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    std::unique_ptr<AppFixture> m_app;
};

void TestMainForm::init()
{
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
}

void TestMainForm::cleanup()
{
    m_app.reset();
    MessageBox::clearShownMessages();
}

void TestMainForm::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestMainForm::emptyDatabaseAllowsOnlyAdding()
{
    QVERIFY(form()->animalRows().isEmpty());
    QCOMPARE(grid()->model()->rowCount(), 0);
    for (const char* name :
         {"Btn_Main_Delete", "Btn_Main_Record", "Btn_Main_Next", "Btn_Main_Prior"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QVERIFY(!m_app->component<QToolButton>(QStringLiteral("Btn_Table"))->isEnabled());
    // The chart buttons have no booklet to act on, printing included.
    for (const char* name :
         {"Btn_Chart_Weight_Print", "Btn_Chart_Weight_Save", "Btn_Chart_Size_Print",
          "Btn_Chart_Size_Save", "Btn_Chart_Chart_Analysis_Print", "Btn_Chart_Chart_Analysis_Save"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QVERIFY(button("Btn_Main_Add")->isEnabled());
    // The empty list says how to begin, and the card, which has no animal
    // to write into, does not look editable.
    auto* hint = grid()->findChild<QLabel*>(QStringLiteral("Lab_EmptyHint"));
    QVERIFY(hint);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(),
             QString::fromUtf8("Cliquez sur + pour ouvrir le carnet de votre premier animal"));
    QVERIFY(grid()->viewport()->rect().contains(hint->geometry().center()));
    auto* name = m_app->component<QLineEdit>(QStringLiteral("Ed_Name"));
    QVERIFY(name);
    QVERIFY(!name->isEnabled());

    QTest::mouseClick(button("Btn_Main_Add"), Qt::LeftButton);
    QVERIFY(!hint->isVisible());
    QVERIFY(name->isEnabled());
    QCOMPARE(headersAndNames(form()), QStringList({QStringLiteral("# NON CLASSE"), QString()}));
    QCOMPARE(form()->selectedRow(), 1);
    DataSet& animal = form()->context().module1->animal();
    QCOMPARE(animal.state(), DataSet::State::Edit);
    QCOMPARE(form()->selectedAnimalKey(), animal.asInt(QStringLiteral("Id")));
    QVERIFY(button("Btn_Main_Record")->isEnabled());
    QVERIFY(button("Btn_Main_Delete")->isEnabled());
    for (const char* name : {"Btn_Chart_Weight_Print", "Btn_Chart_Size_Print"})
        QVERIFY2(button(name)->isEnabled(), name);
    QCOMPARE(m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->currentIndex(), 0);
    QCOMPARE(
        form()->context().connection->scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(),
        1);
}

void TestMainForm::groupsBySpeciesThenBreed()
{
    seed(
        {QStringLiteral("DELETE FROM ANIMAL_SPECIES"), QStringLiteral("DELETE FROM ANIMAL_BREED"),
         QStringLiteral("INSERT INTO ANIMAL_SPECIES (Id, Title) VALUES (1, 'Chien'), (2, "
                        "'chèvre'), (3, 'Écureuil'), (4, 'Chat'), (5, 'chat')"),
         QStringLiteral("INSERT INTO ANIMAL_BREED (Id, Id_Species, Title) VALUES (1, 1, "
                        "'Labrador'), (2, 1, 'Beagle')"),
         QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species, Id_Breed, Identification_No) VALUES "
                        "('Rex', 1, 1, '250'), ('Ali', 1, 2, ''), ('Zoé', 1, 1, ''), ('Biquette', "
                        "2, NULL, ''), "
                        "('Noisette', 3, NULL, ''), ('Sans', NULL, NULL, ''), ('Minou', 4, NULL, "
                        "''), ('Tigre', 5, NULL, '')")});
    QCOMPARE(headersAndNames(form()),
             QStringList(
                 {QStringLiteral("# NON CLASSE"), QStringLiteral("Sans"), QStringLiteral("# CHAT"),
                  QStringLiteral("Minou"), QStringLiteral("# CHAT"), QStringLiteral("Tigre"),
                  QStringLiteral("# CHEVRE"), QStringLiteral("Biquette"), QStringLiteral("# CHIEN"),
                  QStringLiteral("Ali"), QStringLiteral("Rex"), QStringLiteral("Zoé"),
                  QStringLiteral("# ÉCUREUIL"), QStringLiteral("Noisette")}));
    // The second line shows the breed, the third the identification.
    const QString rex = form()->animalRows().at(10);
    QCOMPARE(AnimalRow::fieldOfRowString(rex, 2), QStringLiteral("Labrador"));
    QCOMPARE(AnimalRow::fieldOfRowString(rex, 3), QStringLiteral("250"));
    QCOMPARE(form()->selectedRow(), 1);
}

void TestMainForm::groupsByBreedAndKeepsTheChoice()
{
    seed({QStringLiteral("INSERT INTO ANIMAL_BREED (Id, Id_Species, Title) VALUES (9001, 1, "
                         "'Zèbre'), (9002, 1, 'Afghan')"),
          QStringLiteral("INSERT INTO ANIMAL (Name, Id_Breed) VALUES ('Un', 9001), ('Deux', 9002), "
                         "('Trois', NULL)")});
    form()->filterMenu()->popup(QPoint(0, 0));
    QAction* byBreed =
        form()->filterMenu()->findChild<QAction*>(QStringLiteral("Popup_Filter_Breed"));
    QVERIFY(byBreed);
    QVERIFY(!byBreed->isChecked());
    byBreed->trigger();
    form()->filterMenu()->hide();
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Trois"),
                          QStringLiteral("# AFGHAN"), QStringLiteral("Deux"),
                          QStringLiteral("# ZEBRE"), QStringLiteral("Un")}));
    m_app->stop();
    QVERIFY(m_app->start());
    QCOMPARE(form()->context().settings.animalSort, 2);
    QCOMPARE(headersAndNames(form()).value(2), QStringLiteral("# AFGHAN"));
    // A stored sort that is neither 1 nor 2 groups by species.
    form()->setAnimalSort(7);
    QCOMPARE(form()->context().settings.animalSort, 7);
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Trois"),
                          QStringLiteral("Deux"), QStringLiteral("Un")}));
}

void TestMainForm::departedAnimalsAreHiddenUntilAsked()
{
    seed({QStringLiteral(
        "INSERT INTO ANIMAL (Name, End_Date) VALUES ('Parti', '01/01/2020'), ('Resté', '')")});
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Resté")}));
    QAction* end = form()->filterMenu()->findChild<QAction*>(QStringLiteral("Popup_Filter_End"));
    end->trigger();
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Parti"),
                          QStringLiteral("Resté")}));
    QCOMPARE(form()->selectedRow(), 1);
    m_app->stop();
    QVERIFY(m_app->start());
    QVERIFY(form()->context().settings.animalEnd);
    QCOMPARE(form()->animalRows().size(), 3);
}

void TestMainForm::keyboardAndButtonsSkipHeaders()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Name, Id_Species) VALUES ('A1', NULL), ('A2', NULL), "
                         "('B1', (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat')), "
                         "('B2', (SELECT Id FROM ANIMAL_SPECIES WHERE Title='Chat'))")});
    // # NON CLASSE, A1, A2, # CHAT, B1, B2
    QCOMPARE(form()->animalRows().size(), 6);
    DataSet& animal = form()->context().module1->animal();
    grid()->setFocus();
    QCOMPARE(form()->selectedRow(), 1);
    QTest::keyClick(grid(), Qt::Key_Up);
    QCOMPARE(form()->selectedRow(), 1);
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("A1"));
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_Down); // onto the header: lands on B1
    QCOMPARE(form()->selectedRow(), 4);
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("B1"));
    QTest::keyClick(grid(), Qt::Key_Up); // onto the header: lands on A2
    QCOMPARE(form()->selectedRow(), 2);
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("A2"));

    QTest::mouseClick(button("Btn_Main_Next"), Qt::LeftButton);
    QCOMPARE(form()->selectedRow(), 4);
    QTest::mouseClick(button("Btn_Main_Next"), Qt::LeftButton);
    QCOMPARE(form()->selectedRow(), 5);
    QVERIFY(!button("Btn_Main_Next")->isEnabled());
    QTest::mouseClick(button("Btn_Main_Prior"), Qt::LeftButton);
    QCOMPARE(form()->selectedRow(), 4);
    QTest::mouseClick(button("Btn_Main_Prior"), Qt::LeftButton); // across the header
    QCOMPARE(form()->selectedRow(), 2);
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("A2"));
    QTest::mouseClick(button("Btn_Main_Prior"), Qt::LeftButton);
    QTest::mouseClick(button("Btn_Main_Prior"), Qt::LeftButton); // the top header sends back down
    QCOMPARE(form()->selectedRow(), 1);

    // The wheel moves by one row.
    QWheelEvent down(QPointF(10, 10), grid()->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid()->viewport(), &down);
    QCOMPARE(form()->selectedRow(), 2);
}

void TestMainForm::deletingRemovesTheBookletAndItsFiles()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Garde'), (2, 'Part')"),
          QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Weight) VALUES (2, 3), (1, 4)"),
          QStringLiteral("INSERT INTO VACCINE (Id_Ref) VALUES (2)"),
          QStringLiteral("INSERT INTO L_ANALYSIS (Id, Id_Ref, Id_Analysis) VALUES (5, 2, 1)"),
          QStringLiteral("INSERT INTO ANALYSIS (Id_Ref, Value_Analysis) VALUES (5, 1.5)"),
          QStringLiteral("INSERT INTO DOCUMENTIMG (Id, Id_Ref, DoType) VALUES (7, 2, 1)"),
          QStringLiteral("INSERT INTO DOCUMENTFILE (Id, Id_Ref, DoType) VALUES (8, 2, 1)")});
    const QString data = m_app->dataFolder() + QStringLiteral("Data/");
    for (const char* f :
         {"Images/Animal2.jpg", "Images/Doc7.jpg", "Files/File8.f", "Images/Animal1.jpg"})
        touch(data + QString::fromLatin1(f));
    form()->selectRow(2);
    QCOMPARE(form()->selectedAnimalKey(), 2);

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    QTest::mouseClick(button("Btn_Main_Delete"), Qt::LeftButton);
    QCOMPARE(form()->animalRows().size(), 3);
    QCOMPARE(MessageBox::shownMessages().last().text,
             QStringLiteral("Confirmez-vous la suppression de ce carnet de santé ?"));

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    QTest::mouseClick(button("Btn_Main_Delete"), Qt::LeftButton);
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Garde")}));
    QCOMPARE(form()->context().module1->animal().asString(QStringLiteral("Name")),
             QStringLiteral("Garde"));
    Connection& c = *form()->context().connection;
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM WEIGHT")).toInt(), 1);
    for (const char* t : {"VACCINE", "L_ANALYSIS", "ANALYSIS", "DOCUMENTIMG", "DOCUMENTFILE"})
        QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(t)).toInt(),
                 0);
    QVERIFY(!QFile::exists(data + QStringLiteral("Images/Animal2.jpg")));
    QVERIFY(!QFile::exists(data + QStringLiteral("Images/Doc7.jpg")));
    QVERIFY(!QFile::exists(data + QStringLiteral("Files/File8.f")));
    QVERIFY(QFile::exists(data + QStringLiteral("Images/Animal1.jpg")));
}

void TestMainForm::recordingKeepsTheAnimalSelected()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Alpha'), ('Bravo'), ('Charlie')")});
    form()->selectRow(1);
    DataSet& animal = form()->context().module1->animal();
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("Alpha"));
    animal.setValue(QStringLiteral("Name"), QStringLiteral("Delta"));
    QVERIFY(button("Btn_Main_Record")->isEnabled());
    QTest::mouseClick(button("Btn_Main_Record"), Qt::LeftButton);
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Bravo"),
                          QStringLiteral("Charlie"), QStringLiteral("Delta")}));
    QCOMPARE(form()->selectedRow(), 3);
    QCOMPARE(animal.asString(QStringLiteral("Name")), QStringLiteral("Delta"));
    QVERIFY(!button("Btn_Main_Record")->isEnabled());
    // Closing writes a row left in edit state.
    animal.setValue(QStringLiteral("Name"), QStringLiteral("Écho"));
    m_app->stop();
    QVERIFY(m_app->start());
    QVERIFY(headersAndNames(form()).contains(QStringLiteral("Écho")));
}

void TestMainForm::largeKeysAreListedAndEdited()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (9999, 'Neuf'), (10000, 'Dix'), "
                         "(40000, 'Quarante')")});
    QCOMPARE(headersAndNames(form()),
             QStringList({QStringLiteral("# NON CLASSE"), QStringLiteral("Dix"),
                          QStringLiteral("Neuf"), QStringLiteral("Quarante")}));
    form()->selectRow(3);
    DataSet& animal = form()->context().module1->animal();
    QCOMPARE(animal.asInt(QStringLiteral("Id")), 40000);
    QCOMPARE(form()->selectedAnimalKey(), 40000);
    animal.setValue(QStringLiteral("Name"), QStringLiteral("Alpha"));
    QTest::mouseClick(button("Btn_Main_Record"), Qt::LeftButton);
    QCOMPARE(form()->selectedRow(), 1);
    QCOMPARE(form()->selectedAnimalKey(), 40000);
    form()->selectRow(2);
    QCOMPARE(animal.asInt(QStringLiteral("Id")), 10000);
}

void TestMainForm::moneyColumnsCarryTheCurrency()
{
    m_app->stop();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Switzerland));
    QVERIFY(m_app->start());
    QLocale::setDefault(QLocale::system());
    const QString expected = QStringLiteral("#######0.00 ") +
                             QLocale(QLocale::German, QLocale::Switzerland).currencySymbol();
    QCOMPARE(form()->moneyFormat(), expected);
    int formatted = 0;
    auto check = [&](DataModule& m, const char* ds, std::initializer_list<const char*> fields) {
        DataSet& d = m.dataSet(QString::fromLatin1(ds));
        d.open();
        for (const char* f : fields) {
            QCOMPARE(d.field(d.fieldIndex(QString::fromLatin1(f))).def.displayFormat, expected);
            ++formatted;
        }
        d.close();
    };
    for (const char* ds : {"Action", "ConsultQuery", "PharmacyQuery"})
        check(*form()->context().module1, ds,
              {"Price", "Price_Repayment", "Price_Repayment_Comp", "NoRepayment"});
    for (const char* ds : {"ConsultRepaymentQuery", "PharmacyRepaymentQuery"})
        check(*form()->context().module2, ds, {"Price", "Price_Repayment"});
    QCOMPARE(formatted, 16);
}

void TestMainForm::unreadableAnimalTableStillOpensTheWindow()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex')"),
          QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Custom00144243")});
    const QList<MessageBox::Shown> shown = MessageBox::shownMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().kind, MessageBox::Kind::Warning);
    QVERIFY(shown.first().text.contains(QStringLiteral(
        "INSTABILITE DETECTEE !!\r\rL'exécutable de ce logiciel ne semble pas être compatible.")));
    QVERIFY(AppFixture::findWindow("TMainForm")->isVisible());
    QVERIFY(form()->animalRows().size() == 2 || form()->animalRows().isEmpty());
    QVERIFY(!button("Btn_Main_Delete")->isEnabled());
}

void TestMainForm::thumbnailsFollowThePhotos()
{
    auto bmp = [](QColor colour) {
        QImage img(115, 115, QImage::Format_RGB32);
        img.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "BMP");
        return bytes;
    };
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, ImgMini1) VALUES (1, 'Photo', ?), (2, "
                              "'Sans', NULL)"),
               {bmp(Qt::red)});
    }
    QVERIFY(m_app->start());
    auto thumbnail = [this](int row) {
        return grid()->model()->index(row, 0).data(AnimalListModel::ThumbnailRole).value<QImage>();
    };
    QCOMPARE(thumbnail(1).size(), QSize(45, 45));
    QCOMPARE(QColor(thumbnail(1).pixel(22, 22)), QColor(Qt::red));
    // No photo: the silhouette, on a white ground.
    QCOMPARE(thumbnail(2).size(), QSize(45, 45));
    QVERIFY(QColor(thumbnail(2).pixel(1, 1)) != QColor(Qt::red));
    // A new photo shows at the next rebuild.
    form()->context().connection->exec(QStringLiteral("UPDATE ANIMAL SET ImgMini1=? WHERE Id=1"),
                                       {bmp(Qt::blue)});
    form()->buildAnimalList(1);
    QCOMPARE(QColor(thumbnail(1).pixel(22, 22)), QColor(Qt::blue));
}

void TestMainForm::draggingTheStatusNoticeMovesTheWindow()
{
    auto* notice = m_app->component<QLabel>(QStringLiteral("Lab_Status"));
    QVERIFY(notice);
    const QPoint before = form()->pos();
    // Any button drags, the right one too.
    QTest::mousePress(notice, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(35, 25), notice->mapToGlobal(QPointF(35, 25)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(notice, &move);
    QTest::mouseRelease(notice, Qt::RightButton, Qt::NoModifier, QPoint(35, 25));
    QCOMPARE(form()->pos(), before + QPoint(30, 20));
    // After the release, moving the mouse moves nothing.
    QMouseEvent after(QEvent::MouseMove, QPointF(60, 60), notice->mapToGlobal(QPointF(60, 60)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(notice, &after);
    QCOMPARE(form()->pos(), before + QPoint(30, 20));
}

void TestMainForm::listChangesEqualAFullRebuild()
{
    seed(
        {QStringLiteral("DELETE FROM ANIMAL_SPECIES"), QStringLiteral("DELETE FROM ANIMAL_BREED"),
         QStringLiteral("INSERT INTO ANIMAL_SPECIES (Id, Title) VALUES (1, 'Chien'), (2, 'chat'), "
                        "(3, 'Chat'), (4, 'Écureuil'), (5, '')"),
         QStringLiteral("INSERT INTO ANIMAL_BREED (Id, Id_Species, Title) VALUES (1, 1, 'Beagle'), "
                        "(2, 1, 'barbet')"),
         QStringLiteral("INSERT INTO ANIMAL (Id, Name, Id_Species, Id_Breed, End_Date) VALUES "
                        "(1, 'Rex', 1, 1, ''), (2, 'rex', 1, 2, ''), (3, 'Minou', 2, NULL, ''), "
                        "(4, 'Tigre', 3, NULL, ''), (5, 'Noisette', 4, NULL, ''), "
                        "(6, 'Vide', 5, NULL, ''), (7, 'Sans', NULL, NULL, ''), "
                        "(8, 'Parti', 1, 1, '01/01/2020'), (9, 'Rex', 1, 1, '')")});
    DataSet& animal = form()->context().module1->animal();
    for (int sort : {1, 2}) {
        form()->setAnimalSort(sort);
        QCOMPARE(form()->animalRows(), rebuiltRows(form()));

        // Adding: the new animal without name, species or breed.
        QTest::mouseClick(button("Btn_Main_Add"), Qt::LeftButton);
        const int added = animal.asInt(QStringLiteral("Id"));
        QCOMPARE(form()->animalRows(), rebuiltRows(form()));
        QCOMPARE(form()->selectedAnimalKey(), added);

        // Recording moves it between groups and inside one.
        for (int species : {4, 2, 3, 5, 1}) {
            animal.setValue(QStringLiteral("Id_Species"), species);
            animal.setValue(QStringLiteral("Id_Breed"), species == 1 ? 2 : 0);
            animal.setValue(QStringLiteral("Name"), QStringLiteral("Rex"));
            QTest::mouseClick(button("Btn_Main_Record"), Qt::LeftButton);
            QCOMPARE(form()->animalRows(), rebuiltRows(form()));
            QCOMPARE(form()->selectedAnimalKey(), added);
        }
        // Departed, it leaves the list, and the first animal is selected, as
        // after a full build that does not find it.
        animal.setValue(QStringLiteral("End_Date"), QStringLiteral("02/02/2022"));
        QTest::mouseClick(button("Btn_Main_Record"), Qt::LeftButton);
        QCOMPARE(form()->animalRows(), rebuiltRows(form()));
        QCOMPARE(form()->selectedRow(), 1);
        QCOMPARE(animal.asInt(QStringLiteral("Id")), form()->selectedAnimalKey());

        // Deleting; by species, the only animal of a group, with its header.
        const int gone = sort == 1 ? 5 : 3;
        form()->selectRow(form()->animalRows().indexOf(
            QRegularExpression(QStringLiteral("^0*%1%&a%.*").arg(gone))));
        QCOMPARE(form()->selectedAnimalKey(), gone);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        QTest::mouseClick(button("Btn_Main_Delete"), Qt::LeftButton);
        QCOMPARE(form()->animalRows(), rebuiltRows(form()));
        QCOMPARE(form()->selectedRow(), 1);
        QCOMPARE(animal.asInt(QStringLiteral("Id")), form()->selectedAnimalKey());
    }
}

void TestMainForm::picturesAreReadOnlyForPaintedRows()
{
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        Transaction tx(c);
        const QByteArray photo(50000, 'x');
        for (int i = 1; i <= 150; ++i)
            c.exec(
                QStringLiteral("INSERT INTO ANIMAL (Id, Name, ImgMini1, Img1) VALUES (?, ?, ?, ?)"),
                {i, QStringLiteral("Animal %1").arg(i, 3, 10, QLatin1Char('0')),
                 bmp(QColor::fromHsv(i, 200, 200)), photo});
        tx.commit();
    }
    QVERIFY(m_app->start());
    DataSet& animal = form()->context().module1->animal();
    for (const char* column : {"Img1", "Img2", "Img3", "Img4", "ImgMini1", "ImgMini4"})
        QVERIFY2(!animal.hasField(QString::fromLatin1(column)), column);
    QCOMPARE(form()->animalRows().size(), 151);

    auto* model = qobject_cast<AnimalListModel*>(grid()->model());
    QVERIFY(model);
    grid()->viewport()->repaint();
    const int visible = grid()->viewport()->height() / 60 + 2;
    QVERIFY2(model->thumbnailsRead() <= visible,
             qPrintable(QString::number(model->thumbnailsRead())));
    // Adding an animal reads its own picture at most.
    const int before = model->thumbnailsRead();
    QTest::mouseClick(button("Btn_Main_Add"), Qt::LeftButton);
    grid()->viewport()->repaint();
    QVERIFY(model->thumbnailsRead() <= before + visible);
    QVERIFY(model->thumbnailsRead() < 150);
    // The painted rows still show their own pictures.
    const QImage first =
        model->index(model->rowOfKey(1)).data(AnimalListModel::ThumbnailRole).value<QImage>();
    QCOMPARE(first.pixel(22, 22), QColor::fromHsv(1, 200, 200).rgb());
}

void TestMainForm::highlightIsAlwaysTheCurrentAnimal()
{
    QStringList values;
    for (int i = 1; i <= 20; ++i)
        values << QStringLiteral("(%1, 'Animal %2')").arg(i).arg(i, 2, 10, QLatin1Char('0'));
    seed({QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES ") + values.join(QLatin1Char(','))});
    form()->resize(form()->width(), 600);
    QApplication::processEvents();
    auto highlighted = [this]() {
        QList<int> rows;
        for (int r = 0; r < grid()->model()->rowCount(); ++r) {
            if (grid()->model()->index(r, 0).data(AnimalListModel::CurrentRole).toBool())
                rows << r;
        }
        return rows;
    };
    DataSet& animal = form()->context().module1->animal();
    // The last row partly shown: a click on it scrolls the view, and the
    // release then falls on another row.
    const int height = grid()->viewport()->height();
    int partial = -1;
    for (int r = 0; r < grid()->model()->rowCount(); ++r) {
        const QRect rect = grid()->visualRect(grid()->model()->index(r, 0));
        if (rect.top() < height && rect.bottom() >= height) {
            partial = r;
            break;
        }
    }
    QVERIFY(partial > 0);
    const QPoint at(20, height - 3);
    QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), grid()->viewport()->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid()->viewport(), &move);
    QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, at);
    const int current = form()->selectedRow();
    QCOMPARE(form()->selectedAnimalKey(), animal.asInt(QStringLiteral("Id")));
    QCOMPARE(highlighted(), QList<int>{current});

    // Whatever makes another animal current moves the highlight with it.
    animal.locateId(3);
    QCOMPARE(highlighted(),
             QList<int>{grid()
                            ->model()
                            ->match(grid()->model()->index(0, 0), AnimalListModel::KeyRole, 3)
                            .value(0)
                            .row()});
    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(highlighted(), QList<int>{form()->selectedRow()});
    QCOMPARE(form()->selectedAnimalKey(), animal.asInt(QStringLiteral("Id")));
}

void TestMainForm::sortMenuChecksTheGroupingInUse()
{
    QMenu* menu = form()->filterMenu();
    auto* bySpecies = menu->findChild<QAction*>(QStringLiteral("Popup_Filter_Species"));
    auto* byBreed = menu->findChild<QAction*>(QStringLiteral("Popup_Filter_Breed"));
    for (const auto& [stored, species] :
         {std::pair{1, true}, std::pair{2, false}, std::pair{7, true}, std::pair{0, true}}) {
        form()->setAnimalSort(stored);
        menu->popup(QPoint(0, 0));
        QCOMPARE(bySpecies->isChecked(), species);
        QCOMPARE(byBreed->isChecked(), !species);
        menu->hide();
    }
}

void TestMainForm::printerItemOpensThePrinterSetup()
{
    PrinterSetup::clearRequests();
    auto* item = form()->findChild<QAction*>(QStringLiteral("Item_Imprimante"));
    QVERIFY(item);
    QVERIFY(item->isEnabled());
    PrinterSetup::setNextAnswer(false);
    item->trigger();
    QCOMPARE(PrinterSetup::requestCount(), 1);
    // Cancelled: nothing else was asked or shown.
    QVERIFY(MessageBox::shownMessages().isEmpty());
    PrinterSetup::clearRequests();
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
