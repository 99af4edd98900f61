#pragma once

#include "core/MeasureKind.h"
#include "db/HtmlBookletStore.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace tav {

// The weight or size chart of an animal drawn in the given display mode
// (dates, years, months) at the given size; a null picture when it cannot
// be drawn.
using ChartPicture =
    std::function<QImage(int animalId, MeasureKind kind, CurveMode mode, QSize size)>;

inline constexpr QSize kChartPictureSize{680, 400};

struct HtmlOutputOptions
{
    QString databaseFolder; // holding Images/ and Files/
    QString currencySymbol; // written right after amounts
    QImage silhouette;      // the photo of an animal that has none
    ChartPicture chart;     // may be empty: the charts then say so
    QString makerName;
    QString webSite;
};

// The outcome of writing a page: success, or a French reason ready to show.
// `problems` lists, in French, what could not be shown on a page that was
// written all the same (a missing picture, a damaged file...).
struct HtmlResult
{
    bool ok = true;
    QString error;
    QStringList problems;
    QString pagePath; // index.htm, when written
};

// "Html" and "Html/Temp" under the data folder, created when missing. The
// working folder, with a trailing "/", or an empty text and the reason.
QString prepareHtmlFolders(const QString& dataFolder, QString* error = nullptr);

// Deletes the *.jpg, *.bmp and *.htm files of the folder, and nothing else:
// sub-folders and other files stay.
void clearHtmlFolder(const QString& folder);

// The name an attached file is unpacked under in the working folder: the
// stored name without any folder part, with the characters no file name
// may hold replaced, and prefixed by "File<id>_" when it would otherwise
// replace a page, a picture of the booklet or a name already used.
QString attachedFileName(const QString& storedName, int id, const QStringList& taken);

// The whole booklet of one animal into the working folder `htmlFolder`
// (emptied of its pictures and pages first): index.htm, its pictures, the
// pages of the image documents and the attached files.
HtmlResult writeBookletPage(const BookletData& data, const QString& htmlFolder,
                            const HtmlOutputOptions& options);

// The consultations, medicines and reminders tables; a section is written
// only when its title is not empty.
struct TablesPageData
{
    QString consultTitle;
    QString medicineTitle;
    QString reminderTitle;
    QVector<BookletAct> consultations;
    QVector<BookletAct> medicines;
    QVector<BookletVaccination> reminders;
};
HtmlResult writeTablesPage(const TablesPageData& data, const QString& htmlFolder,
                           const HtmlOutputOptions& options);

} // namespace tav
