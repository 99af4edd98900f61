#include "dialogs/TFreeReportPrintViewer.h"

#include "core/FrenchText.h"
#include "core/TextRoutines.h"
#include "ui/FileDialog.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TFreeReportPrintViewer.h"

#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QStyle>

using namespace tav;

namespace {

struct PrintSeam
{
    QList<TFreeReportPrintViewer::PrintChoice> choices;
    bool installed = true;
    QString pdfFile;
    int requests = 0;
};

PrintSeam& seam()
{
    static PrintSeam instance;
    return instance;
}

} // namespace

TFreeReportPrintViewer::TFreeReportPrintViewer(PreparedReport report, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFreeReportPrintViewer>()),
      m_report(std::move(report)), m_previewPrinter(std::make_unique<QPrinter>())
{
    m_ui->setupUi(this);
    m_previewPrinter->setFullPage(true);
    m_previewPrinter->setPageLayout(m_report.layout);
    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), m_ui->Pan_Preview);
    m_preview->setObjectName(QStringLiteral("frPreview"));
    m_ui->Lay_Preview->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            &TFreeReportPrintViewer::paintRequested);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this,
            &TFreeReportPrintViewer::showPageNumber);

    QStyle* s = style();
    m_ui->Btn_First->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    m_ui->Btn_Prior->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    m_ui->Btn_Next->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    m_ui->Btn_Last->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    connect(m_ui->Btn_Print, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_PrintClick);
    connect(m_ui->Btn_SavePdf, &QPushButton::clicked, this,
            &TFreeReportPrintViewer::Btn_SavePdfClick);
    connect(m_ui->Btn_OnePage, &QPushButton::clicked, this,
            &TFreeReportPrintViewer::Btn_OnePageClick);
    connect(m_ui->Btn_PageWidth, &QPushButton::clicked, this,
            &TFreeReportPrintViewer::Btn_PageWidthClick);
    connect(m_ui->Btn_100, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_100Click);
    connect(m_ui->Btn_First, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_FirstClick);
    connect(m_ui->Btn_Prior, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_PriorClick);
    connect(m_ui->Btn_Next, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_NextClick);
    connect(m_ui->Btn_Last, &QPushButton::clicked, this, &TFreeReportPrintViewer::Btn_LastClick);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::reject);
    prepareWindow(this, false);
    // The caption is the report's title.
    setWindowTitle(m_report.title);
}

TFreeReportPrintViewer::~TFreeReportPrintViewer() = default;

void TFreeReportPrintViewer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_preview->fitToWidth();
    showPageNumber();
}

int TFreeReportPrintViewer::currentPage() const
{
    return m_preview->currentPage();
}

void TFreeReportPrintViewer::paintRequested(QPrinter* printer)
{
    // The preview's own printer draws the pages; it cannot fail short of
    // memory, and no window may open while the preview paints: the failure
    // goes to the log.
    if (const Result painted = m_report.paint(*printer, 1, m_report.pageCount(), 1); !painted)
        qWarning("%s", qUtf8Printable(painted.error));
}

void TFreeReportPrintViewer::showPageNumber()
{
    m_ui->Lab_Page->setText(
        QStringLiteral("%1 / %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

void TFreeReportPrintViewer::Btn_OnePageClick()
{
    m_preview->fitInView();
}

void TFreeReportPrintViewer::Btn_PageWidthClick()
{
    m_preview->fitToWidth();
}

void TFreeReportPrintViewer::Btn_100Click()
{
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(1.0);
}

void TFreeReportPrintViewer::Btn_FirstClick()
{
    m_preview->setCurrentPage(1);
    showPageNumber();
}

void TFreeReportPrintViewer::Btn_PriorClick()
{
    m_preview->setCurrentPage(std::max(1, m_preview->currentPage() - 1));
    showPageNumber();
}

void TFreeReportPrintViewer::Btn_NextClick()
{
    m_preview->setCurrentPage(std::min(m_preview->pageCount(), m_preview->currentPage() + 1));
    showPageNumber();
}

void TFreeReportPrintViewer::Btn_LastClick()
{
    m_preview->setCurrentPage(m_preview->pageCount());
    showPageNumber();
}

QPair<int, int> TFreeReportPrintViewer::printedPages(const PrintChoice& choice, int current,
                                                     int pageCount)
{
    switch (choice.range) {
    case PrintChoice::Range::Selection:
        return {current, current};
    case PrintChoice::Range::Pages: {
        const int from = std::clamp(choice.from, 1, pageCount);
        return {from, std::clamp(choice.to, from, pageCount)};
    }
    case PrintChoice::Range::All:
        break;
    }
    return {1, pageCount};
}

bool TFreeReportPrintViewer::printerInstalled()
{
    if (MessageBox::testMode())
        return seam().installed;
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

TFreeReportPrintViewer::PrintChoice TFreeReportPrintViewer::askPrintChoice(QPrinter& printer)
{
    if (MessageBox::testMode()) {
        ++seam().requests;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(seam().pdfFile);
        return seam().choices.isEmpty() ? PrintChoice() : seam().choices.takeFirst();
    }
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintSelection);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, m_report.pageCount());
    dialog.setFromTo(1, m_report.pageCount());
    PrintChoice choice;
    choice.accepted = dialog.exec() == QDialog::Accepted;
    switch (dialog.printRange()) {
    case QAbstractPrintDialog::Selection:
        choice.range = PrintChoice::Range::Selection;
        break;
    case QAbstractPrintDialog::PageRange:
        choice.range = PrintChoice::Range::Pages;
        break;
    default:
        choice.range = PrintChoice::Range::All;
        break;
    }
    choice.from = dialog.fromPage();
    choice.to = dialog.toPage();
    choice.copies = printer.copyCount();
    return choice;
}

void TFreeReportPrintViewer::Btn_PrintClick()
{
    if (!printerInstalled()) {
        // The window stays open: the report can still be saved as PDF.
        MessageBox::warning(this, fr("Aucune imprimante n'est installée : le rapport ne peut pas "
                                     "être imprimé. Il peut être enregistré en PDF."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(m_report.layout);
    printer.setDocName(m_report.title);
    const PrintChoice choice = askPrintChoice(printer);
    if (choice.accepted) {
        const auto [first, last] = printedPages(choice, currentPage(), m_report.pageCount());
        int copies = std::max(1, choice.copies);
        // A printer that makes its own copies gets the pages once.
        if (printer.supportsMultipleCopies()) {
            printer.setCopyCount(copies);
            copies = 1;
        } else {
            printer.setCopyCount(1);
        }
        if (const Result printed = m_report.paint(printer, first, last, copies); !printed)
            showError(this, printed.error);
    }
    // Printed or not, the preview has done its work.
    accept();
}

void TFreeReportPrintViewer::Btn_SavePdfClick()
{
    const QString proposed = fileNameSafe(m_report.title);
    const QString path = FileDialog::getSaveFileName(
        this, fr("Enregistrer en PDF"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/') +
            proposed + QStringLiteral(".pdf"),
        fr("Document PDF|*.pdf"));
    if (path.isEmpty())
        return;
    const QString file = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                             ? path
                             : path + QStringLiteral(".pdf");
    if (const Result written = m_report.writePdf(file); !written)
        showError(this, written.error);
}

void TFreeReportPrintViewer::setNextPrintChoice(const PrintChoice& choice)
{
    seam().choices.append(choice);
}

void TFreeReportPrintViewer::setTestPrinter(bool installed, const QString& pdfFile)
{
    seam().installed = installed;
    seam().pdfFile = pdfFile;
}

int TFreeReportPrintViewer::printRequestCount()
{
    return seam().requests;
}

void TFreeReportPrintViewer::clearPrintRequests()
{
    seam() = PrintSeam();
}
