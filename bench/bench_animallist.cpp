// The animal list of the shown main window on a booklet of 1,000 animals
// (10,000 with --large), each with a 115 x 115 BMP thumbnail and a photo of
// about 124 KB: building it against a floor that reads the same rows and
// the same thumbnails the way the program does; "+" and "✓"; keyboard Down
// through the list; resident memory. Offscreen, in one process.
#include "BenchBooklet.h"
#include "BenchSupport.h"
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "db/AnimalPictureStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "ui/FrameCacheStyle.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

#include <vector>

using namespace tav;

namespace {

constexpr int kRuns = 9;

// The floor of a build: the list's rows in their order through a bare
// query, then the thumbnails of the rows on screen read by key and
// decoded, as painting them does.
double bareRead(Connection& c, int thumbnails)
{
    Stopwatch t;
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    q.exec(QStringLiteral(
        "SELECT ANIMAL.Id, ANIMAL.Name, ANIMAL.Identification_No, ANIMAL.End_Date, "
        "ANIMAL_SPECIES.Title, ANIMAL_BREED.Title FROM ANIMAL LEFT JOIN ANIMAL_SPECIES ON "
        "ANIMAL.Id_Species = ANIMAL_SPECIES.Id LEFT JOIN ANIMAL_BREED ON ANIMAL.Id_Breed = "
        "ANIMAL_BREED.Id ORDER BY ANIMAL_SPECIES.Title, ANIMAL_BREED.Title, ANIMAL.Name, "
        "ANIMAL.Id"));
    QVector<int> ids;
    QStringList names;
    while (q.next()) {
        ids.append(q.value(0).toInt());
        names.append(q.value(1).toString() + q.value(2).toString() + q.value(4).toString() +
                     q.value(5).toString());
    }
    qint64 pixels = 0;
    AnimalPictureStore pictures(c);
    for (int i = 0; i < thumbnails && i < ids.size(); ++i)
        pixels += AnimalListModel::fitThumbnail(
                      AnimalListModel::decodeThumbnail(pictures.thumbnail(ids.at(i))))
                      .width();
    return pixels > 0 || thumbnails == 0 ? t.wallMs() : -1;
}

void measure(int animals, QTextStream& out)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    QFile::copy(QStringLiteral(TAVIRUNE_PROGRAM_DIR "/Ressources/DB/Data/Access/TAVIRUNE.MDB"),
                file);
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Connection c;
    c.open(file);
    const int photo = fillBooklet(c, animals);
    AppContext context;
    context.connection = &c;
    context.settingsPath = dir.filePath(QStringLiteral("tavirune.ini"));
    DataModule1 m1(c, dir.path());
    DataModule2 m2(c);
    context.module1 = &m1;
    context.module2 = &m2;
    auto* form = new TMainForm(context);
    form->resize(800, 600);
    form->show();
    QCoreApplication::processEvents();
    auto* grid = form->findChild<QListView*>(QStringLiteral("Grid_AnimalList"));
    auto* model = qobject_cast<AnimalListModel*>(grid->model());
    const int visible = grid->viewport()->height() / 60 + 1;
    out << "  " << animals << " animals (" << form->animalRows().size() << " rows, photos of "
        << photo / 1024 << " KB), " << visible << " rows on screen\n";

    std::vector<double> build, buildCpu, bare;
    for (int r = 0; r < kRuns; ++r) {
        Stopwatch t;
        form->buildAnimalList(-1);
        grid->viewport()->repaint();
        build.push_back(t.wallMs());
        buildCpu.push_back(t.cpuMs());
        bare.push_back(bareRead(c, visible));
    }
    out << "    build and paint:   " << spread(build) << "; CPU " << spread(buildCpu) << "\n";
    out << "    floor:             " << spread(bare)
        << "; ratio: " << QString::number(median(build) / median(bare), 'f', 2) << "\n";

    auto* add = form->findChild<QToolButton*>(QStringLiteral("Btn_Main_Add"));
    auto* record = form->findChild<QToolButton*>(QStringLiteral("Btn_Main_Record"));
    DataSet& animal = m1.animal();
    std::vector<double> adding, recording, addingCpu, recordingCpu;
    for (int r = 0; r < kRuns; ++r) {
        Stopwatch t;
        add->click();
        grid->viewport()->repaint();
        adding.push_back(t.wallMs());
        addingCpu.push_back(t.cpuMs());
        // Named, it moves from the top of the list into a group.
        animal.setValue(QStringLiteral("Name"), QStringLiteral("Zéphyr %1").arg(r));
        animal.setValue(QStringLiteral("Id_Species"), 1);
        t.start();
        record->click();
        grid->viewport()->repaint();
        recording.push_back(t.wallMs());
        recordingCpu.push_back(t.cpuMs());
    }
    out << "    \"+\" (add):         " << spread(adding) << "; CPU " << spread(addingCpu)
        << " (goal: under 50 ms)\n";
    out << "    \"✓\" (record):      " << spread(recording) << "; CPU " << spread(recordingCpu)
        << " (goal: under 50 ms)\n";

    // Down through the list, painting each step; each run goes through
    // rows not yet seen.
    std::vector<double> down, downCpu;
    const int steps = 100;
    const int rows = int(form->animalRows().size());
    grid->setFocus();
    for (int r = 0; r < kRuns; ++r) {
        form->selectRow(1 + (rows - steps - 2) * r / kRuns);
        grid->viewport()->repaint();
        Stopwatch t;
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(grid, Qt::Key_Down);
            // What changed is painted, as the event loop would.
            QCoreApplication::processEvents();
        }
        down.push_back(t.wallMs() / steps);
        downCpu.push_back(t.cpuMs() / steps);
    }
    out << "    Down, per row:     " << spread(down, "ms", 3) << "; CPU "
        << spread(downCpu, "ms", 3) << " (goal: under 1 ms)\n";
    // Where a step goes: making an animal current (its rules, the card's
    // fields and look-ups, the commands' states), painting the list's
    // visible rows, painting the whole window.
    std::vector<double> current, listPaint, windowPaint;
    for (int r = 0; r < kRuns; ++r) {
        const int from = 1 + (rows - steps - 2) * r / kRuns;
        Stopwatch t;
        for (int i = 0; i < steps; ++i)
            animal.locateId(model->keyAt(from + i) > 0 ? model->keyAt(from + i) : 1);
        current.push_back(t.cpuMs() / steps);
        t.start();
        for (int i = 0; i < steps; ++i)
            grid->viewport()->repaint();
        listPaint.push_back(t.cpuMs() / steps);
        t.start();
        for (int i = 0; i < steps; ++i)
            form->repaint();
        windowPaint.push_back(t.cpuMs() / steps);
    }
    out << "      of which, CPU: making the animal current " << spread(current, "ms", 3)
        << "; painting the list's rows " << spread(listPaint, "ms", 3)
        << "; painting the whole window " << spread(windowPaint, "ms", 3) << "\n";
    const Memory memory = processMemory();
    out << "    memory now: VmRSS " << QString::number(memory.rss, 'f', 1) << " MB, VmHWM "
        << QString::number(memory.hwm, 'f', 1)
        << " MB; thumbnails decoded in all: " << model->thumbnailsRead() << "\n";
    out.flush();
    delete form;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    // As the program does.
    FrameCacheStyle::install();
    QTextStream out(stdout);
    out << "The animal list of the shown main window, medians with min-max\n";
    measure(1000, out);
    if (app.arguments().contains(QStringLiteral("--large")))
        measure(10000, out);
    return 0;
}
