// Saves pictures of the analysis windows and of the Analyses page at their
// design size, filled with sample values, for a developer to look at under
// a real display server:
//   xvfb-run -a build-test/tools/analysisshots OUTPUT_FOLDER
// TAVIRUNE_PROGRAM_DIR must name the built program folder.
#include "AppFixture.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "dialogs/TAnalysisList.h"
#include "dialogs/TEnterAnalysis.h"
#include "dialogs/TEnterAnalysisValue.h"
#include "dialogs/TEnterAnimalAnalysis.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace tav;

namespace {

void save(QWidget* window, const QString& folder, const QString& name = QString())
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "not exposed: %s\n", window->metaObject()->className());
    QTest::qWait(100);
    const QString file =
        folder + QLatin1Char('/') +
        (name.isEmpty() ? QString::fromLatin1(window->metaObject()->className()) : name) +
        QStringLiteral(".png");
    window->grab().save(file);
    std::printf("%s %dx%d\n", qPrintable(file), window->width(), window->height());
    window->hide();
}

const char* const kSample[] = {
    "INSERT INTO LST_ANALYSIS (Id, Title, Unit, Decimal, Value_Min, Value_Max, Description) "
    "VALUES (1, 'Créatinine', 'mg/l', 1, 5, 18, 'Fonction rénale'), (2, 'Urée', 'g/l', 2, 0.2, "
    "0.6, 'Fonction rénale'), (3, 'Glucose', 'g/l', 2, 0.7, 1.2, 'Glycémie à jeun')",
    "INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis, Unit, Decimal, Value_Min, "
    "Value_Max) VALUES (1, -1, 1, 1, 'mg/l', 1, 5, 18)",
    "INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis, Value_Min, Value_Max, Remark1) "
    "VALUES (1, '2024-03-01', 12, 5, 18, 'À jeun'), (1, '2024-09-12', 21.5, 5, 18, 'Après "
    "perfusion'), (1, '2025-02-01', 4.2, 5, 18, ''), (1, '2025-10-20', 9.8, 5, 18, 'Contrôle')",
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: analysisshots OUTPUT_FOLDER\n");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    MessageBox::setTestMode(true);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    {
        QTemporaryDir dir;
        Connection connection;
        connection.open(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), true);
        createSchema(connection);
        connection.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou')"));
        for (const char* s : kSample)
            connection.exec(QString::fromUtf8(s));
        DataModule1 module(connection, dir.path());

        TAnalysisList list(module);
        list.open();
        save(&list, folder);
        list.dataSet().first();
        list.dataSet().edit();
        TEnterAnalysis definition(list.dataSet(), module.dataSet(QStringLiteral("ComboItems")));
        save(&definition, folder);
        definition.reject();
        list.dataSet().close();

        DataSet& followed = module.dataSet(QStringLiteral("L_Analysis"));
        followed.open();
        followed.locateId(1);
        followed.edit();
        TEnterAnimalAnalysis attach(module, 1);
        save(&attach, folder);
        attach.reject();
        followed.close();

        DataSet& values = module.dataSet(QStringLiteral("Analysis"));
        values.filterBy(QStringLiteral("ID_REF"), 1);
        values.open();
        values.first();
        values.edit();
        TEnterAnalysisValue value(values, 1, QStringLiteral("mg/l"));
        save(&value, folder);
        value.reject();
        values.close();
    }

    AppFixture booklet;
    booklet.installTemplate();
    if (!booklet.start())
        return 1;
    booklet.stop();
    {
        Connection data;
        data.open(booklet.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        for (const char* table : {"ANALYSIS", "L_ANALYSIS", "LST_ANALYSIS"})
            data.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
        data.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou')"));
        for (const char* s : kSample)
            data.exec(QString::fromUtf8(s));
    }
    if (!booklet.start())
        return 1;
    TMainForm* form = booklet.startup()->mainForm();
    form->resize(800, 600);
    form->findChild<QTabBar*>(QStringLiteral("TabNoteBook"))->setCurrentIndex(5);
    QTest::qWait(200);
    form->grab().save(folder + QStringLiteral("/TMainForm-page5.png"));
    std::printf("%s/TMainForm-page5.png %dx%d\n", qPrintable(folder), form->width(),
                form->height());
    // The same page once the animal follows no analysis.
    form->context().connection->exec(QStringLiteral("DELETE FROM ANALYSIS"));
    form->context().connection->exec(QStringLiteral("DELETE FROM L_ANALYSIS"));
    form->RefreshCurrentPage();
    QTest::qWait(200);
    form->grab().save(folder + QStringLiteral("/TMainForm-page5-empty.png"));
    booklet.stop();
    return 0;
}
