// Makes a booklet for the benchmarks: make_booklet FILE [ANIMALS]. FILE is
// a booklet database (a copy of the template); 1,000 animals by default.
#include "BenchBooklet.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: make_booklet FILE [ANIMALS]\n";
        return 2;
    }
    const int animals = args.size() > 2 ? args.at(2).toInt() : 1000;
    try {
        tav::Connection c;
        c.open(args.at(1));
        const int photo = fillBooklet(c, animals);
        if (photo < 0) {
            out << "writing the animals failed\n";
            return 1;
        }
        out << animals << " animals written, photos of " << photo / 1024 << " KB\n";
    } catch (const tav::DbError& e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
