// Writing the HTML booklet of a heavy animal (500 acts, 200 vaccinations,
// 2,000 weights, 100 image documents with their full-size pictures, 20
// attached files) against the floor of copying the same picture and file
// bytes into a folder, in the same run. The floor copies every byte the
// booklet carries into an empty folder, the least a booklet with these
// pictures and files costs; emptying the folder from the last run is left
// out of both timings, as the program finds it empty or removes it before.
//
//   bench/bench_html [runs]
#include "BenchSupport.h"
#include "core/HeapTuning.h"

#include "db/Connection.h"
#include "db/HtmlBookletStore.h"
#include "db/Schema.h"
#include "media/JpegFile.h"
#include "media/PackedFile.h"
#include "media/Thumbnail.h"
#include "output/HtmlBooklet.h"

#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace tav;

namespace {

constexpr int kImages = 100;
constexpr int kFiles = 20;

// A photo-like picture: gradients and noise, so that JPEG has work to do
// and the file has a realistic size.
QImage photo(QRandomGenerator& random)
{
    QImage image(1600, 1200, QImage::Format_RGB888);
    const int r = random.bounded(256);
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int noise = random.bounded(24);
            line[3 * x] = uchar((x * 255 / 1600 + noise + r) & 0xFF);
            line[3 * x + 1] = uchar((y * 255 / 1200 + noise) & 0xFF);
            line[3 * x + 2] = uchar(((x + y) / 12 + noise) & 0xFF);
        }
    }
    return image;
}

int fill(Connection& c, const QString& databaseFolder, const QString& sources)
{
    QRandomGenerator random(2026);
    c.beginTransaction();
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Sex, BirthDay_Date) VALUES ('Médor', "
                          "'Mâle', '02/03/2015')"));
    const int id = int(c.lastInsertId());
    for (int i = 0; i < 50; ++i) {
        c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES (?, 'Généraliste')"),
               {QStringLiteral("Dr Praticien %1").arg(i)});
        c.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES (?, 'Moyenne')"),
               {QStringLiteral("Pathologie %1").arg(i)});
        c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Title, Category) VALUES (?, 'Rage')"),
               {QStringLiteral("Vaccin %1").arg(i)});
    }
    const QDate start(2010, 1, 1);
    for (int i = 0; i < 500; ++i)
        c.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, "
                              "Date_Action, Time_Action, Price, Gravity, Repayment, "
                              "Date_Repayment, Price_Repayment) VALUES (?, 1, ?, ?, ?, '10:30', "
                              "?, 'Moyenne & <suivi>', 1, ?, ?)"),
               {id, 1 + random.bounded(50), 1 + random.bounded(50),
                start.addDays(random.bounded(5000)).toString(Qt::ISODate),
                random.bounded(20000) / 100.0,
                start.addDays(random.bounded(5000)).toString(Qt::ISODate),
                random.bounded(5000) / 100.0});
    for (int i = 0; i < 200; ++i)
        c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, "
                              "Repeat_Date, Remark1) VALUES (?, ?, ?, ?, ?, 'RAS')"),
               {id, 1 + random.bounded(50), 1 + random.bounded(50),
                start.addDays(random.bounded(5000)).toString(Qt::ISODate),
                start.addDays(random.bounded(5000)).toString(Qt::ISODate)});
    for (int i = 0; i < 2000; ++i)
        c.exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight, Remark) VALUES "
                              "(?, ?, ?, 'Pesée')"),
               {id, start.addDays(i * 2).toString(Qt::ISODate), 10 + random.bounded(1000) / 100.0});
    c.commit();

    for (int i = 0; i < kImages; ++i) {
        const QImage picture = photo(random);
        c.exec(QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType, Title, ImgMini, Id_File) "
                              "VALUES (?, 1, ?, ?, 0)"),
               {id, QStringLiteral("Radio %1").arg(i), bmpFile(makeThumbnail(picture, 90, 90))});
        if (!writeJpegFile(picture,
                           databaseFolder + QStringLiteral("Images/Doc") +
                               QString::number(c.lastInsertId()) + QStringLiteral(".jpg"),
                           85))
            qFatal("a document's picture cannot be written");
    }
    QImage icon(32, 32, QImage::Format_RGB888);
    icon.fill(Qt::red);
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("compte-rendu %1.pdf").arg(i);
        QByteArray content(300 * 1024, Qt::Uninitialized);
        for (char& b : content)
            b = char(random.bounded(256));
        QFile out(sources + name);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            return -1;
        out.close();
        c.exec(QStringLiteral("INSERT INTO DOCUMENTFILE (Id_Ref, DoType, FileName, FileType, "
                              "FileSize, FileIcon, Id_File) VALUES (?, 1, ?, 'Document PDF', "
                              "'300 Ko', ?, 0)"),
               {id, name, bmpFile(icon)});
        packFile(sources + name, databaseFolder + QStringLiteral("Files/File") +
                                     QString::number(c.lastInsertId()) + QStringLiteral(".f"));
    }
    return id;
}

// An empty folder for the next run, outside any timing.
void emptyFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

// The floor: the same picture and file bytes copied into an empty folder.
void copyBytes(const QString& databaseFolder, const QString& sources, const QString& target)
{
    const QDir images(databaseFolder + QStringLiteral("Images"));
    for (const QString& name : images.entryList(QDir::Files))
        QFile::copy(images.filePath(name), target + name);
    const QDir files(sources);
    for (const QString& name : files.entryList(QDir::Files))
        QFile::copy(files.filePath(name), target + name);
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(9, QString::fromLocal8Bit(argv[1]).toInt()) : 9;
    QTemporaryDir root;
    const QString databaseFolder = root.filePath(QStringLiteral("Data/"));
    const QString sources = root.filePath(QStringLiteral("sources/"));
    for (const char* folder : {"Data/Images", "Data/Files", "sources"})
        QDir(root.path()).mkpath(QString::fromLatin1(folder));
    Connection connection;
    connection.open(databaseFolder + QStringLiteral("TAVIRUNE.MDB"), true);
    createSchema(connection);
    createRowIndexes(connection);
    const int id = fill(connection, databaseFolder, sources);
    if (id < 0) {
        std::fprintf(stderr, "could not build the booklet\n");
        return 1;
    }

    HtmlBookletStore store(connection);
    HtmlOutputOptions options;
    options.databaseFolder = databaseFolder;
    options.currencySymbol = QStringLiteral("€");
    options.makerName = QStringLiteral("Orvandel");
    options.webSite = QStringLiteral("https://www.orvandel.example");
    QImage silhouette(150, 150, QImage::Format_RGB888);
    silhouette.fill(Qt::lightGray);
    options.silhouette = silhouette;
    // The charts are drawn elsewhere; this stands for a finished drawing.
    options.chart = [](int, tav::MeasureKind, tav::CurveMode, QSize size) {
        QImage chart(size, QImage::Format_RGB888);
        chart.fill(Qt::white);
        QPainter painter(&chart);
        painter.drawLine(0, size.height(), size.width(), 0);
        return chart;
    };
    const QString html = prepareHtmlFolders(root.filePath(QStringLiteral("Donnees")));
    const QString floorFolder = root.filePath(QStringLiteral("floor/"));

    std::vector<double> booklet, bookletCpu, floor, floorCpu, beyond;
    qint64 written = 0;
    for (int run = 0; run < runs; ++run) {
        emptyFolder(floorFolder);
        Stopwatch copy;
        copyBytes(databaseFolder, sources, floorFolder);
        floor.push_back(copy.wallMs());
        floorCpu.push_back(copy.cpuMs());

        // The unpacked files of the last run stay, as they do for the
        // user: remove them so that each run writes everything.
        emptyFolder(html);
        Stopwatch page;
        const HtmlResult result = writeBookletPage(store.booklet(id), html, options);
        booklet.push_back(page.wallMs());
        bookletCpu.push_back(page.cpuMs());
        if (!result.ok || !result.problems.isEmpty()) {
            std::fprintf(stderr, "booklet failed: %s %s\n", qPrintable(result.error),
                         qPrintable(result.problems.join(QStringLiteral("; "))));
            return 1;
        }
        beyond.push_back(booklet.back() - floor.back());
        written = 0;
        for (const QFileInfo& f : QDir(html).entryInfoList(QDir::Files))
            written += f.size();
    }
    std::printf("booklet of 500 acts, 200 vaccinations, 2000 weights, %d image documents, "
                "%d attached files; %.1f MB written\n",
                kImages, kFiles, double(written) / (1024 * 1024));
    std::printf("writing the booklet : %s\n", qPrintable(spread(booklet)));
    std::printf("copying the bytes   : %s\n", qPrintable(spread(floor)));
    std::printf("  CPU time          : %s booklet, %s copying\n", qPrintable(spread(bookletCpu)),
                qPrintable(spread(floorCpu)));
    std::printf("beyond the copying  : %s (goal < 1000 ms)\n", qPrintable(spread(beyond)));
    std::printf("ratio booklet/copy  : %.2f\n", median(booklet) / median(floor));
    return 0;
}
