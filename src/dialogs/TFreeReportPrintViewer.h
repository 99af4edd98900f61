#pragma once

#include "report/ReportEngine.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFreeReportPrintViewer;
}

class QPrinter;
class QPrintPreviewWidget;

// The preview of a prepared report: zoom and page commands, printing a
// range of pages, saving the whole report as a PDF file.
class TFreeReportPrintViewer : public QDialog
{
    Q_OBJECT

public:
    // What the print dialog answered.
    struct PrintChoice
    {
        enum class Range { All, Pages, Selection };
        bool accepted = false;
        Range range = Range::All;
        int from = 1;
        int to = 1;
        int copies = 1;
    };

    explicit TFreeReportPrintViewer(tav::PreparedReport report, QWidget* parent = nullptr);
    ~TFreeReportPrintViewer() override;

    QPrintPreviewWidget* preview() const { return m_preview; }
    const tav::PreparedReport& report() const { return m_report; }
    int currentPage() const;

    void Btn_PrintClick();
    void Btn_SavePdfClick();
    void Btn_OnePageClick();
    void Btn_PageWidthClick();
    void Btn_100Click();
    void Btn_FirstClick();
    void Btn_PriorClick();
    void Btn_NextClick();
    void Btn_LastClick();

    // The pages a choice prints, first and last (1-based).
    static QPair<int, int> printedPages(const PrintChoice& choice, int currentPage, int pageCount);

    // Test seam, on with the message boxes' test mode: no print dialog is
    // shown, each request is answered with the next queued choice (none
    // queued: cancelled) and the printer writes a PDF file there.
    static void setNextPrintChoice(const PrintChoice& choice);
    static void setTestPrinter(bool installed, const QString& pdfFile = QString());
    static int printRequestCount();
    static void clearPrintRequests();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void paintRequested(QPrinter* printer);
    void showPageNumber();
    static bool printerInstalled();
    PrintChoice askPrintChoice(QPrinter& printer);

    std::unique_ptr<Ui::TFreeReportPrintViewer> m_ui;
    tav::PreparedReport m_report;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget* m_preview = nullptr;
    bool m_shown = false;
};
