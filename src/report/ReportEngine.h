#pragma once

#include "core/Result.h"

#include "report/ReportTemplate.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace tav {

class ReportDataSet;

// What a template is prepared with: its data sets and pictures by name
// (names compared without regard to case) and the answer to variables.
struct ReportInput
{
    void addDataSet(const QString& name, const ReportDataSet* dataSet);
    void addPicture(const QString& name, const QImage& picture);
    const ReportDataSet* dataSet(const QString& name) const;

    // True, with the value, for a variable the program answers.
    std::function<bool(const QString& name, QString* value)> variable;

    QHash<QString, const ReportDataSet*> dataSets;
    QHash<QString, QImage> pictures;
};

// One thing drawn on a prepared page, in hundredths of a millimetre from
// the paper's top-left corner.
struct PreparedItem
{
    enum class Kind { Text, Line, Frame, Picture };
    Kind kind = Kind::Text;
    QRectF rect;
    QStringList lines; // Text, already broken to fit its width
    int font = -1;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    QColor color = Qt::black;
    QColor fill;
    bool border = false;
    double pen = 20;
    int picture = -1;
    bool pageNumbers = false; // lines hold the page markers
    bool clip = false;        // the text is larger than its box
    QVector<double> widths;   // of each line when measured, else -1
};

// A report computed once into its pages, then drawn on any paged device:
// the preview, a printer, a PDF file or a picture.
class PreparedReport
{
public:
    static constexpr double unitsPerMm = 100;

    QString title;
    QPageLayout layout; // paper and orientation, no margins
    QVector<QVector<PreparedItem>> pages;
    QVector<QFont> fonts;
    QVector<QImage> pictures;

    int pageCount() const { return int(pages.size()); }
    QSizeF pageSizeUnits() const;
    // The texts of a page in drawing order, page numbers filled in.
    QStringList pageTexts(int page) const;

    // Draws one page on a painter whose device shows exactly one page.
    void paintPage(QPainter& painter, int page) const;
    // Draws pages first..last (1-based, inclusive) copies times, a new
    // device page between any two. Fails with a French message when the
    // device cannot be drawn on.
    Result paint(QPagedPaintDevice& device, int first, int last, int copies) const;
    // Writes every page as a PDF file, under a temporary name first.
    Result writePdf(const QString& path) const;
    // One page as a white picture at that resolution.
    QImage renderPage(int page, int dotsPerInch) const;
};

// Lays out the bands of a template over the rows of its data sets. False,
// with a French message, when the template names a data set, a field or a
// variable that the input does not have.
bool prepareReport(const ReportTemplate& report, const ReportInput& input, PreparedReport* out,
                   QString* error);

} // namespace tav
