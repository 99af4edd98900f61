// Saves pictures of the growth and event windows at their design size,
// filled with sample rows, for a developer to look at:
//   xvfb-run -a build-test/tools/growthshots OUTPUT_FOLDER
// TAVIRUNE_PROGRAM_DIR must name the built program folder.
#include "AppFixture.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "charts/MeasureChart.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TChartValueList.h"
#include "dialogs/TEnterEvents.h"
#include "dialogs/TEnterWeight.h"

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QTest>

#include <cstdio>

using namespace tav;

namespace {

void save(QWidget* window, const QString& file)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "not exposed: %s\n", window->metaObject()->className());
    QTest::qWait(100);
    window->grab().save(file);
    std::printf("%s %dx%d\n", qPrintable(file), window->width(), window->height());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: growthshots OUTPUT_FOLDER\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    AppFixture booklet;
    booklet.installTemplate();
    if (!booklet.start())
        return 1;
    booklet.stop();
    {
        Connection data;
        data.open(booklet.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        data.exec(QString::fromUtf8(
            "INSERT INTO ANIMAL (Name, BirthDay_Date, BirthDay_Weight, BirthDay_Size, "
            "WeightMode, SizeMode, Target_Weight_Min, Target_Weight_Max) VALUES ('Médor', "
            "'15/06/2024', 0.45, 12, 1, 3, 14.5, 16)"));
        data.exec(QString::fromUtf8(
            "INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight, Remark) VALUES "
            "(1, '2024-07-15', 1.8, ''), (1, '2024-08-15', 3.9, ''), (1, '2024-10-01', 7.2, ''), "
            "(1, '2024-12-20', 11.5, 'Après le vermifuge'), (1, '2025-03-12', 14.1, ''), "
            "(1, '2025-06-15', 15.9, ''), (1, '2025-12-01', 16.4, ''), (1, '2026-06-15', 16.2, "
            "'')"));
        data.exec(QString::fromUtf8(
            "INSERT INTO [SIZE] (Id_Ref, Date_Size, Size) VALUES (1, '2024-08-15', 25), "
            "(1, '2024-12-20', 41), (1, '2025-06-15', 52), (1, '2026-06-15', 54.5)"));
        data.exec(QString::fromUtf8(
            "INSERT INTO EVENT (Id_Ref, Date_Event, Time_Event, Description) VALUES "
            "(1, '2024-08-20', '10:00', 'Arrivée à la maison'), "
            "(1, '2025-01-04', '18:30', 'Première sortie en forêt'), "
            "(1, '2025-07-14', NULL, 'A eu peur des feux d''artifice')"));
    }
    if (!booklet.start())
        return 1;
    TMainForm* form = booklet.startup()->mainForm();
    form->resize(800, 600);
    for (int page : {1, 8}) {
        form->findChild<QTabBar*>(QStringLiteral("TabNoteBook"))->setCurrentIndex(page);
        QTest::qWait(100);
        const QString file = folder + QStringLiteral("/TMainForm-page%1.png").arg(page);
        form->grab().save(file);
        std::printf("%s %dx%d\n", qPrintable(file), form->width(), form->height());
    }

    DataModule1& module = *form->context().module1;
    DataSet& weight = module.dataSet(QStringLiteral("Weight"));
    {
        CurveAnimal animal{1, QStringLiteral("15/06/2024"), QStringLiteral("0.45"),
                           QString::fromUtf8("Médor"), WeightBand{14.5, 16}};
        TChartValueList list(weight, MeasureKind::Weight, animal, CurveMode::ByYears,
                             form->context().dataFolder,
                             {form->context().moduleReport, form->context().reportFolder});
        save(&list, folder + QStringLiteral("/TChartValueList.png"));
    }
    weight.locateId(4);
    weight.edit();
    {
        TEnterWeight window(weight, TEnterWeight::Weight);
        save(&window, folder + QStringLiteral("/TEnterWeight.png"));
    }
    DataSet& event = module.dataSet(QStringLiteral("Event"));
    if (!event.isOpen())
        event.open();
    event.first();
    event.edit();
    {
        TEnterEvents window(event);
        save(&window, folder + QStringLiteral("/TEnterEvents.png"));
    }
    booklet.stop();
    return 0;
}
