#pragma once

#include "db/DataSet.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tav {

class Connection;

// The simple viewer on one picture file, modal; a missing file is
// reported instead ("IMPOSSIBLE DE VISUALISER L'IMAGE").
void viewImageFile(QWidget* parent, const QString& file);

// Asks where to save a copy of the picture file, proposing the name (made a
// valid file name), and copies it there. A missing picture is reported.
// True when a copy was made.
bool saveImageAs(QWidget* parent, const QString& file, const QString& proposedName);

// The picture preview on a list given by a query returning Id and Title,
// one row per picture: the file of a row is folder + prefix + Id + ".jpg".
// The query's lines hold a WHERE line that the filter replaces, its values
// bound.
struct ImageListPreview
{
    QString title;
    int zoomMode = 1;      // 1 whole picture, 2 window's width, 3 actual size
    QString folder;        // with its trailing separator
    QString prefix;        // "Doc" or "Animal"
    QStringList listQuery; // SELECT ... AS [Id], ... AS [Title] ...
    QVector<DataSet::FilterTerm> listFilter;
    int rowId = -1;    // the row shown first; -1 for the first row
    int placement = 2; // 2 covers the work area, else 800 x 600 centred
};
void showImagePreview(QWidget* parent, Connection& connection, const ImageListPreview& list);

// The same on picture files given directly, the current one first shown;
// each page is titled with its title, or its file's name without one.
void showImagePreview(QWidget* parent, const QStringList& files, int current,
                      const QString& title = QString(), const QStringList& titles = QStringList());

} // namespace tav
