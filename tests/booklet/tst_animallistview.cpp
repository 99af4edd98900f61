#include "booklet/AnimalListModel.h"
#include "booklet/AnimalListView.h"

#include <QPaintEvent>
#include <QtTest>

using namespace tav;

namespace {

// Adds up the pixels of the regions a widget is asked to paint.
class PaintedArea : public QObject
{
public:
    qint64 pixels = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += qint64(r.width()) * r.height();
        }
        return false;
    }
};

QVector<AnimalListEntry> animals(int count)
{
    QVector<AnimalListEntry> out;
    for (int id = 1; id <= count; ++id) {
        AnimalListEntry e;
        e.id = id;
        e.name = QStringLiteral("Animal %1").arg(id, 4, 10, QLatin1Char('0'));
        e.speciesTitle = QStringLiteral("Chien");
        out.append(e);
    }
    return out;
}

} // namespace

class TestAnimalListView : public QObject
{
    Q_OBJECT
private slots:
    void movingTheHighlightPaintsOnlyTheTwoRows();
};

void TestAnimalListView::movingTheHighlightPaintsOnlyTheTwoRows()
{
    // At every step through a long list the highlight moves: the rows
    // between, and the rows of the rest of the booklet, stay as they are.
    AnimalListModel model;
    model.setAnimals(animals(2000), 1, false);
    AnimalListView view;
    view.setModel(&model);
    view.setItemDelegate(new AnimalListDelegate(&view));
    view.setUniformItemSizes(true);
    view.resize(300, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    model.setCurrentKey(1);
    QApplication::processEvents();

    PaintedArea painted;
    view.viewport()->installEventFilter(&painted);
    const int width = view.viewport()->width();
    for (int key = 2; key <= 6; ++key) {
        painted.pixels = 0;
        model.setCurrentKey(key);
        QApplication::processEvents();
        QVERIFY(model.index(model.rowOfKey(key)).data(AnimalListModel::CurrentRole).toBool());
        QVERIFY2(painted.pixels <= 2 * 60 * width,
                 qPrintable(QStringLiteral("%1 pixels painted for two rows of %2")
                                .arg(painted.pixels)
                                .arg(60 * width)));
        QVERIFY(painted.pixels > 0);
    }

    // A change of a row's content still lays the list out: the renamed
    // animal moves to its place.
    AnimalListEntry renamed = animals(1).first();
    renamed.name = QStringLiteral("Zorro");
    model.putAnimal(renamed);
    QApplication::processEvents();
    QCOMPARE(model.keyAt(model.rowCount() - 1), 1);
    QVERIFY(view.visualRect(model.index(model.rowCount() - 1)).top() > 0);
}

QTEST_MAIN(TestAnimalListView)
#include "tst_animallistview.moc"
