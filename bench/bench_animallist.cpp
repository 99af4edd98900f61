// The animal list of the shown main window on a booklet of 1,000 animals
// (10,000 with --large), each with a 115 x 115 BMP thumbnail and a photo of
// about 124 KB: building it cold against the floor described at
// bareRead(); "+" and "✓"; keyboard Down through the list with the card
// following; resident memory. Offscreen, in one process; medians of kRuns
// runs with their spread.
#include "BenchBooklet.h"
#include "BenchSupport.h"
#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "core/HeapTuning.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "ui/FrameCacheStyle.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QListView>
#include <QMap>
#include <QPaintEvent>
#include <QPainter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

#include <sqlite3.h>

#include <tuple>
#include <vector>

using namespace tav;

namespace {

constexpr int kRuns = 9;

// The floor of a build: what any list must do before its first screen,
// the cheapest way. The rows are stepped through the SQLite C API without
// an ORDER BY and sorted the way the program sorts them (each distinct
// text folded once into its French sort key, then the rows ordered by
// those keys): asking the engine to sort through the French collation
// would fold both texts at every comparison and flatter the program. The
// thumbnails of the rows on screen are then read by key through the C API
// (no memo of earlier reads), decoded and fitted as the program's own
// routines do, and the rows painted into one image with the same fonts:
// picture, name and two lines of text.
struct FloorRow
{
    int id = 0;
    QString name, identification, species, breed;
};

QString columnText(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

// Ranks of the texts in the French order: equal keys share a rank; NULL
// (an absent text) comes first.
std::vector<int> frenchRanks(const std::vector<const QString*>& texts)
{
    QHash<QString, int> distinct;
    for (const QString* t : texts) {
        if (t)
            distinct.insert(*t, 0);
    }
    std::vector<std::pair<QVector<quint32>, QString>> keys;
    keys.reserve(size_t(distinct.size()));
    for (auto it = distinct.cbegin(); it != distinct.cend(); ++it)
        keys.emplace_back(frenchSortKey(it.key()), it.key());
    std::sort(keys.begin(), keys.end());
    int rank = 1;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i > 0 && keys.at(i).first != keys.at(i - 1).first)
            ++rank;
        distinct[keys.at(i).second] = rank;
    }
    std::vector<int> out;
    out.reserve(texts.size());
    for (const QString* t : texts)
        out.push_back(t ? distinct.value(*t) : 0);
    return out;
}

double bareRead(sqlite3* db, int thumbnails, const QSize& viewport)
{
    Stopwatch t;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT ANIMAL.Id, ANIMAL.Name, ANIMAL.Identification_No, ANIMAL.End_Date, "
                       "ANIMAL_SPECIES.Title, ANIMAL_BREED.Title FROM ANIMAL LEFT JOIN "
                       "ANIMAL_SPECIES ON ANIMAL.Id_Species = ANIMAL_SPECIES.Id LEFT JOIN "
                       "ANIMAL_BREED ON ANIMAL.Id_Breed = ANIMAL_BREED.Id",
                       -1, &stmt, nullptr);
    std::vector<FloorRow> rows;
    std::vector<bool> nullName, nullSpecies, nullBreed;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (sqlite3_column_bytes(stmt, 3) > 0)
            continue; // departed: not listed
        rows.push_back({sqlite3_column_int(stmt, 0), columnText(stmt, 1), columnText(stmt, 2),
                        columnText(stmt, 4), columnText(stmt, 5)});
        nullName.push_back(sqlite3_column_type(stmt, 1) == SQLITE_NULL);
        nullSpecies.push_back(sqlite3_column_type(stmt, 4) == SQLITE_NULL);
        nullBreed.push_back(sqlite3_column_type(stmt, 5) == SQLITE_NULL);
    }
    sqlite3_finalize(stmt);
    std::vector<const QString*> species, breed, name;
    for (size_t i = 0; i < rows.size(); ++i) {
        species.push_back(nullSpecies[i] ? nullptr : &rows[i].species);
        breed.push_back(nullBreed[i] ? nullptr : &rows[i].breed);
        name.push_back(nullName[i] ? nullptr : &rows[i].name);
    }
    const std::vector<int> bySpecies = frenchRanks(species);
    const std::vector<int> byBreed = frenchRanks(breed);
    const std::vector<int> byName = frenchRanks(name);
    std::vector<std::tuple<int, int, int, int, size_t>> order;
    order.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        order.emplace_back(bySpecies[i], byBreed[i], byName[i], rows[i].id, i);
    std::sort(order.begin(), order.end());

    // The first screen: its group header and the rows that follow.
    QImage screen(viewport, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::white);
    QPainter p(&screen);
    const QFont nameFont = AnimalListDelegate::nameFont();
    const QFont lineFont = AnimalListDelegate::lineFont();
    const QVector<QRect> boxes =
        AnimalListDelegate::textBoxes(QRect(0, 0, viewport.width(), 60), nameFont, lineFont);
    sqlite3_prepare_v2(db, "SELECT ImgMini1 FROM ANIMAL WHERE Id=?", -1, &stmt, nullptr);
    qint64 pixels = 0;
    for (int i = 0; i < thumbnails && size_t(i) < order.size(); ++i) {
        const FloorRow& row = rows[std::get<4>(order[size_t(i)])];
        sqlite3_bind_int(stmt, 1, row.id);
        QByteArray bytes;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)),
                               sqlite3_column_bytes(stmt, 0));
        sqlite3_reset(stmt);
        const QImage thumb = AnimalListModel::fitThumbnail(AnimalListModel::decodeThumbnail(bytes));
        pixels += thumb.width();
        const int top = 60 * (i + 1);
        p.drawImage(6, top + 7, thumb);
        p.setFont(nameFont);
        p.drawText(boxes.at(0).translated(0, top), Qt::AlignLeft | Qt::AlignVCenter, row.name);
        p.setFont(lineFont);
        p.drawText(boxes.at(1).translated(0, top), Qt::AlignLeft | Qt::AlignVCenter, row.breed);
        p.drawText(boxes.at(2).translated(0, top), Qt::AlignLeft | Qt::AlignVCenter,
                   row.identification);
    }
    sqlite3_finalize(stmt);
    return pixels > 0 || thumbnails == 0 ? t.wallMs() : -1;
}

// Forgets what the program keeps between two builds, so that each build
// is measured cold: the rows already drawn (a fresh delegate) and the
// small reads answered from memory (a write changes the database's stamp).
void coldList(QListView* grid, Connection& c)
{
    QAbstractItemDelegate* old = grid->itemDelegate();
    grid->setItemDelegate(new AnimalListDelegate(grid));
    delete old;
    c.exec(QStringLiteral("UPDATE ANIMAL_SPECIES SET Title=Title WHERE Id=(SELECT Min(Id) FROM "
                          "ANIMAL_SPECIES)"));
}

// Counts the widgets painted, by name and class, with the pixels of
// their painted regions: what a step costs beyond making the animal current.
class PaintCounter : public QObject
{
public:
    QMap<QString, QPair<int, qint64>> painted;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto& entry = painted[watched->objectName() + QLatin1Char(' ') +
                                  QString::fromLatin1(watched->metaObject()->className())];
            entry.first += 1;
            // Pixels painted, over every rectangle of the region.
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                entry.second += qint64(r.width()) * r.height();
        }
        return false;
    }
};

// With --profile-down only the keyboard walk is run, long enough for a
// profiler (perf record -g) to see where a step's time goes.
bool g_profileDown = false;

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
    if (g_profileDown) {
        grid->setFocus();
        Stopwatch t;
        const int rows = int(form->animalRows().size());
        for (int pass = 0; pass < 3; ++pass) {
            form->selectRow(1);
            for (int i = 0; i + 2 < rows; ++i) {
                QTest::keyClick(grid, Qt::Key_Down);
                QCoreApplication::processEvents();
            }
        }
        out << "    Down, per row: " << QString::number(t.wallMs() / (3 * (rows - 2)), 'f', 3)
            << " ms; CPU " << QString::number(t.cpuMs() / (3 * (rows - 2)), 'f', 3) << " ms\n";
        // The statements run in those steps, by their text.
        static QMap<QString, int> statements;
        sqlite3_trace_v2(
            c.sqliteHandle(), SQLITE_TRACE_STMT,
            [](unsigned, void*, void* stmt, void*) {
                statements[QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(stmt)))
                               .simplified()
                               .left(110)] += 1;
                return 0;
            },
            nullptr);
        PaintCounter counter;
        qApp->installEventFilter(&counter);
        form->selectRow(1);
        for (int i = 0; i < 100; ++i) {
            QTest::keyClick(grid, Qt::Key_Down);
            QCoreApplication::processEvents();
        }
        qApp->removeEventFilter(&counter);
        sqlite3_trace_v2(c.sqliteHandle(), 0, nullptr, nullptr);
        out << "    statements in 100 steps:\n";
        for (auto it = statements.cbegin(); it != statements.cend(); ++it)
            out << "      " << it.value() << " x " << it.key() << "\n";
        out << "    painted in 100 steps (count, pixels):\n";
        for (auto it = counter.painted.cbegin(); it != counter.painted.cend(); ++it)
            out << "      " << it.key() << ": " << it.value().first << ", " << it.value().second
                << "\n";
        delete form;
        return;
    }

    std::vector<double> build, buildCpu, bare;
    std::vector<double> ratio;
    for (int r = 0; r < kRuns; ++r) {
        // The two take turns going first.
        double floor = 0;
        if (r % 2 == 1)
            floor = bareRead(c.sqliteHandle(), visible, grid->viewport()->size());
        coldList(grid, c);
        Stopwatch t;
        form->buildAnimalList(-1);
        grid->viewport()->repaint();
        build.push_back(t.wallMs());
        buildCpu.push_back(t.cpuMs());
        if (r % 2 == 0)
            floor = bareRead(c.sqliteHandle(), visible, grid->viewport()->size());
        bare.push_back(floor);
        ratio.push_back(build.back() / floor);
    }
    out << "    build and paint (cold): " << spread(build) << "; CPU " << spread(buildCpu) << "\n";
    out << "    floor:             " << spread(bare) << "; ratio: " << spread(ratio, "x", 2)
        << "\n";

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
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MessageBox::setTestMode(true);
    // As the program does.
    FrameCacheStyle::install();
    QTextStream out(stdout);
    g_profileDown = app.arguments().contains(QStringLiteral("--profile-down"));
    out << "The animal list of the shown main window, medians with min-max\n";
    measure(1000, out);
    if (app.arguments().contains(QStringLiteral("--large")))
        measure(10000, out);
    return 0;
}
