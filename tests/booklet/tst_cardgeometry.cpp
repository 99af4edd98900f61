// The card at the first-launch size: every text readable, every tab shown.
#include "AppFixture.h"

#include "booklet/AnimalList.h"
#include "booklet/NotebookTabBar.h"
#include "booklet/TMainForm.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

using namespace tav;

namespace {

// The width a line edit gives its text: its contents rectangle less the
// text margins and the two pixels QLineEdit keeps on each side.
int textRoom(const QLineEdit* e)
{
    QStyleOptionFrame option;
    option.initFrom(e);
    option.rect = e->rect();
    option.lineWidth =
        e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e) : 0;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
    const QMargins m = e->textMargins();
    return r.width() - m.left() - m.right() - 2 * 2;
}

QString describe(const QWidget* w, const QString& text, int room, int needed)
{
    return QStringLiteral("%1 \"%2\": %3 px for %4 px")
        .arg(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                       : w->objectName(),
             text)
        .arg(room)
        .arg(needed);
}

const QString kLongBreed = QStringLiteral("Griffon d'arrêt à poil dur Korthals, lignée de chasse");

} // namespace

class TestCardGeometry : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void textsFitAtTheFirstLaunchSize();
    void allTabsShowWithoutScrollButtons();
    void tabSizesFollowCaptionsFontAndWidth();
    void longBreedShowsItsBeginning();

private:
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    QWidget* page(int index) const
    {
        return form()->findChild<QStackedWidget*>(QStringLiteral("AANotebook1"))->widget(index);
    }
    void showPage(int index);
    void showAnimal(const QString& name);
    void saveShot(const QString& name);
    std::unique_ptr<AppFixture> m_app;
};

void TestCardGeometry::init()
{
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES ((SELECT Id "
                              "FROM ANIMAL_SPECIES WHERE Title='Chien'), ?)"),
               {kLongBreed});
        c.exec(QStringLiteral(
                   "INSERT INTO ANIMAL (Name, Id_Species, Id_Breed, BirthDay_Date, Begin_Date, "
                   "BirthDay_Weight, BirthDay_Size, Blood) VALUES ('Rex', (SELECT Id FROM "
                   "ANIMAL_SPECIES WHERE Title='Chien'), ?, '28/08/2020', '30/10/2020', "
                   "1234.5, 88.25, 'DEA 1.1 négatif')"),
               {c.lastInsertId()});
        c.exec(QStringLiteral("UPDATE CUSTOMLAB SET Misc01='Vétérinaire traitant', "
                              "Misc02='Numéro de passeport', Misc11='Observations du "
                              "vétérinaire', Misc12='Régime alimentaire'"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Zoé')"));
    }
    QVERIFY(m_app->start());
    form()->resize(800, 600);
    QTRY_COMPARE(form()->size(), QSize(800, 600));
}

void TestCardGeometry::cleanup()
{
    m_app.reset();
    MessageBox::clearShownMessages();
}

void TestCardGeometry::showPage(int index)
{
    form()->findChild<QTabBar*>(QStringLiteral("TabNoteBook"))->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

void TestCardGeometry::saveShot(const QString& name)
{
    // Set TAVIRUNE_SHOT_DIR to look at the window as drawn.
    const QString folder = qEnvironmentVariable("TAVIRUNE_SHOT_DIR");
    if (!folder.isEmpty())
        form()->grab().save(QDir(folder).filePath(name));
}

void TestCardGeometry::textsFitAtTheFirstLaunchSize()
{
    showAnimal(QStringLiteral("Rex")); // the one whose fields are filled
    QStringList clipped;
    for (int index : {0, 2}) {
        showPage(index);
        saveShot(QStringLiteral("card-page%1-800x600.png").arg(index));
        for (const QLineEdit* e : page(index)->findChildren<QLineEdit*>()) {
            if (e->inputMask().isEmpty())
                continue;
            // The widest of the blank mask and a typed date.
            const QFontMetrics fm = e->fontMetrics();
            const int needed = std::max({fm.horizontalAdvance(e->displayText()),
                                         fm.horizontalAdvance(QStringLiteral("__/__/____")),
                                         fm.horizontalAdvance(QStringLiteral("28/08/2020"))});
            if (textRoom(e) < needed)
                clipped << describe(e, e->displayText(), textRoom(e), needed);
        }
        for (const QLabel* l : page(index)->findChildren<QLabel*>()) {
            if (!l->isVisible() || l->text().isEmpty() || l->wordWrap())
                continue;
            const int needed = l->fontMetrics().horizontalAdvance(l->text());
            if (l->contentsRect().width() < needed)
                clipped << describe(l, l->text(), l->contentsRect().width(), needed);
        }
        for (const QCheckBox* c : page(index)->findChildren<QCheckBox*>()) {
            if (c->width() < c->minimumSizeHint().width())
                clipped << describe(c, c->text(), c->width(), c->minimumSizeHint().width());
        }
        for (const QGroupBox* g : page(index)->findChildren<QGroupBox*>()) {
            if (g->width() < g->minimumSizeHint().width())
                clipped << describe(g, g->title(), g->width(), g->minimumSizeHint().width());
        }
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("\n"))));
}

void TestCardGeometry::allTabsShowWithoutScrollButtons()
{
    auto* tabs = form()->findChild<NotebookTabBar*>(QStringLiteral("TabNoteBook"));
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 9);
    for (const QToolButton* b : tabs->findChildren<QToolButton*>())
        QVERIFY2(!b->isVisible(), "the tab strip scrolls");
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect r = tabs->tabRect(i);
        QVERIFY2(tabs->rect().contains(r), qPrintable(tabs->tabText(i)));
        QFont bold = tabs->captionFont();
        bold.setBold(true);
        // The current tab is drawn in bold: its caption must still fit.
        QVERIFY2(QFontMetrics(bold).horizontalAdvance(tabs->tabText(i)) < r.width(),
                 qPrintable(tabs->tabText(i)));
    }
}

void TestCardGeometry::tabSizesFollowCaptionsFontAndWidth()
{
    // Tab sizes are kept between layouts: a new caption, a narrower strip
    // or another font must still give new sizes.
    NotebookTabBar bar;
    for (const QString& caption : {QStringLiteral("Général"), QStringLiteral("Poids & taille"),
                                   QStringLiteral("Personnalisé")})
        bar.addTab(caption);
    bar.resize(400, 30);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QSize first = bar.tabRect(1).size();
    bar.setTabText(1, QStringLiteral("Poids, taille et croissance"));
    const QSize renamed = bar.tabRect(1).size();
    QVERIFY(renamed.width() > first.width());
    bar.setFitWidth(140);
    // The strip lays its tabs out again when resized, as the window does.
    bar.resize(401, 30);
    QVERIFY(bar.tabRect(1).size().width() < renamed.width());
    bar.setFitWidth(0);
    bar.resize(402, 30);
    QCOMPARE(bar.tabRect(1).size(), renamed);
    QFont larger = bar.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    bar.setFont(larger);
    QVERIFY(bar.tabRect(1).size().width() > renamed.width());
}

void TestCardGeometry::showAnimal(const QString& name)
{
    const QStringList rows = form()->animalRows();
    for (int i = 0; i < rows.size(); ++i) {
        if (AnimalRow::keyOfRowString(rows.at(i)) > 0 &&
            AnimalRow::fieldOfRowString(rows.at(i), 1) == name)
            form()->selectRow(i);
    }
    QCOMPARE(form()->findChild<QLineEdit*>(QStringLiteral("Ed_Name"))->text(), name);
}

void TestCardGeometry::longBreedShowsItsBeginning()
{
    showAnimal(QStringLiteral("Rex"));
    auto* breed = form()->findChild<QLineEdit*>(QStringLiteral("Ed_Breed"));
    QCOMPARE(breed->text(), kLongBreed);
    QVERIFY(breed->fontMetrics().horizontalAdvance(kLongBreed) > textRoom(breed));
    QCOMPARE(breed->cursorPosition(), 0);
    // The same after moving away from the animal and back.
    showAnimal(QStringLiteral("Zoé"));
    QCOMPARE(breed->text(), QString());
    showAnimal(QStringLiteral("Rex"));
    QCOMPARE(breed->text(), kLongBreed);
    QCOMPARE(breed->cursorPosition(), 0);
}

QTEST_MAIN(TestCardGeometry)
#include "tst_cardgeometry.moc"
