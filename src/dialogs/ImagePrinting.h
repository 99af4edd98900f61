#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;
class QWidget;

namespace tav {

// What the print dialog of the picture preview offers.
struct PrintOffer
{
    int pageCount = 1;
    bool selectionOffered = false; // the current picture alone
};

// What the user chose in it.
struct PrintChoice
{
    enum class Range { All, Selection, Pages };
    bool accepted = false;
    Range range = Range::All;
    int from = 1;
    int to = 1;
    int copies = 1;
};

// One picture sent to the printer.
struct PrintedPicture
{
    QString title;
    bool landscape = false;
    QSize size;
};

// The printing of pictures one per A4 page, in portrait or landscape. In
// the message boxes' test mode nothing reaches a printer or a dialog: the
// dialog is answered with the next queued choice (cancelled when none) and
// each page is recorded, and each job also written as a PDF file
// ("job1.pdf", ...) when a folder is set.
class ImagePrinting
{
public:
    static PrintChoice askRange(QWidget* parent, QPrinter& printer, const PrintOffer& offer);

    // One print job of pictures, one a page, sent to the printer without a
    // further dialog when the job ends; nothing when the system has no
    // printer. One job for all the pages, so that printing to a file keeps
    // every page.
    class Job
    {
    public:
        explicit Job(QPrinter& printer);
        ~Job();
        Job(const Job&) = delete;
        Job& operator=(const Job&) = delete;
        void addPage(const QImage& picture, const QString& title);

    private:
        QPrinter& m_printer;
        QPagedPaintDevice* m_device = nullptr; // the printer, or a PDF file in tests
        QPdfWriter* m_pdf = nullptr;
        QPainter* m_painter = nullptr;
        bool m_skip = false;
    };

    // The landscape page for a picture wider than high, else portrait.
    static bool landscapeFor(QSize picture);
    // Sets the A4 page in the picture's orientation; before the painter
    // begins or before a new page.
    static void preparePage(QPagedPaintDevice& device, const QImage& picture);
    // Draws the page of one picture: the title at the top, the picture
    // fitted into the rest of the printable area, never enlarged beyond its
    // size at 150 dots an inch.
    static void drawPage(QPainter& painter, QPagedPaintDevice& device, const QImage& picture,
                         const QString& title);

    static void setNextChoice(const PrintChoice& choice);
    static QList<PrintOffer> offers();
    static QList<PrintedPicture> printed();
    static void setPdfFolder(const QString& folder);
    static void clear();
};

} // namespace tav
