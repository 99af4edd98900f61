#include "dialogs/ImagePrinting.h"

#include "media/Placement.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QQueue>

namespace tav {

namespace {

struct Seam
{
    QQueue<PrintChoice> choices;
    QList<PrintOffer> offers;
    QList<PrintedPicture> printed;
    QString pdfFolder;
    int jobs = 0;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

} // namespace

PrintChoice ImagePrinting::askRange(QWidget* parent, QPrinter& printer, const PrintOffer& offer)
{
    if (MessageBox::testMode()) {
        Seam& s = seam();
        s.offers.append(offer);
        return s.choices.isEmpty() ? PrintChoice{} : s.choices.dequeue();
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, offer.selectionOffered);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, offer.pageCount);
    printer.setFromTo(1, offer.pageCount);
    printer.setPrintRange(offer.selectionOffered ? QPrinter::Selection : QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    PrintChoice choice;
    choice.accepted = true;
    choice.copies = std::max(1, printer.copyCount());
    // The copies are printed one job each: the printer makes one.
    printer.setCopyCount(1);
    switch (printer.printRange()) {
    case QPrinter::Selection:
    case QPrinter::CurrentPage:
        choice.range = PrintChoice::Range::Selection;
        break;
    case QPrinter::PageRange:
        choice.range = PrintChoice::Range::Pages;
        choice.from = printer.fromPage();
        choice.to = printer.toPage();
        break;
    case QPrinter::AllPages:
        choice.range = PrintChoice::Range::All;
        break;
    }
    return choice;
}

ImagePrinting::Job::Job(QPrinter& printer) : m_printer(printer)
{
    if (MessageBox::testMode()) {
        Seam& s = seam();
        if (!s.pdfFolder.isEmpty()) {
            ++s.jobs;
            m_pdf =
                new QPdfWriter(QDir(s.pdfFolder).filePath(QStringLiteral("job%1.pdf").arg(s.jobs)));
            m_device = m_pdf;
        }
        return;
    }
    m_skip = QPrinterInfo::availablePrinters().isEmpty() &&
             printer.outputFormat() == QPrinter::NativeFormat;
    if (!m_skip)
        m_device = &printer;
}

ImagePrinting::Job::~Job()
{
    if (m_painter) {
        m_painter->end();
        delete m_painter;
    }
    delete m_pdf;
}

void ImagePrinting::Job::addPage(const QImage& picture, const QString& title)
{
    if (MessageBox::testMode())
        seam().printed.append({title, landscapeFor(picture.size()), picture.size()});
    if (!m_device || m_skip)
        return;
    preparePage(*m_device, picture);
    if (!m_painter) {
        m_painter = new QPainter;
        if (!m_painter->begin(m_device)) {
            delete m_painter;
            m_painter = nullptr;
            m_skip = true;
            return;
        }
    } else {
        m_device->newPage();
    }
    drawPage(*m_painter, *m_device, picture, title);
}

bool ImagePrinting::landscapeFor(QSize picture)
{
    return picture.width() > picture.height();
}

void ImagePrinting::preparePage(QPagedPaintDevice& device, const QImage& picture)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(landscapeFor(picture.size()) ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

void ImagePrinting::drawPage(QPainter& painter, QPagedPaintDevice& device, const QImage& picture,
                             const QString& title)
{
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QRect page(0, 0, area.width(), area.height());
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    painter.setFont(font);
    const int titleHeight = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(page.left(), page.top(), page.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignTop, title.trimmed());
    if (picture.isNull())
        return;
    // The picture object covers the rest of the printable area; a small
    // picture keeps its size at 150 dots an inch.
    const double scale = device.logicalDpiX() / 150.0;
    const int naturalWidth = int(picture.width() * scale);
    const int naturalHeight = int(picture.height() * scale);
    const Placement p =
        fitInBox(page.width(), page.height() - titleHeight, naturalWidth, naturalHeight);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(p.left, titleHeight + p.top, p.width, p.height), picture);
}

void ImagePrinting::setNextChoice(const PrintChoice& choice)
{
    seam().choices.enqueue(choice);
}

QList<PrintOffer> ImagePrinting::offers()
{
    return seam().offers;
}

QList<PrintedPicture> ImagePrinting::printed()
{
    return seam().printed;
}

void ImagePrinting::setPdfFolder(const QString& folder)
{
    seam().pdfFolder = folder;
}

void ImagePrinting::clear()
{
    Seam& s = seam();
    s.choices.clear();
    s.offers.clear();
    s.printed.clear();
    s.pdfFolder.clear();
    s.jobs = 0;
}

} // namespace tav
