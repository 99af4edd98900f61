// Builds the template database laid out beside the program at build time.
#include "core/TextFile.h"
#include "db/DbError.h"
#include "db/TemplateBuilder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: mktemplate TARGET.MDB reference_data.sql VERSION\n";
        return 2;
    }
    bool ok = false;
    const QString sql = tav::readTextFile(args.at(2), &ok);
    if (!ok) {
        err << "cannot read " << args.at(2) << "\n";
        return 1;
    }
    try {
        tav::buildTemplateDatabase(args.at(1), sql, args.at(3));
    } catch (const tav::DbError& e) {
        err << e.message() << "\n";
        return 1;
    }
    return 0;
}
