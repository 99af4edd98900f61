#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class THtmlView;
}

class QPrinter;
class QTextBrowser;

// The viewer of a generated page: shows it with its pictures, prints it on
// the chosen printer without asking, saves it with the pictures and pages
// it refers to into another folder, or as a PDF file.
class THtmlView : public QDialog
{
    Q_OBJECT

public:
    // `title` is the caption; the page is shown once the window is.
    THtmlView(const QString& pagePath, const QString& title, QWidget* parent = nullptr);
    ~THtmlView() override;

    QTextBrowser* browser() const { return m_browser; }
    // The printer of the print button; a default one when none is given.
    void setPrinter(QPrinter* printer) { m_printer = printer; }
    // Where the save dialogs start; the data folder.
    void setSaveFolder(const QString& folder) { m_saveFolder = folder; }

    void Btn_PrintClick();
    void Btn_SaveClick();
    void Btn_PdfClick();
    // The maximise image: maximised and back.
    void SysMaxiBtnClick();

    // The files a page refers to by relative name (pictures, the pages its
    // thumbnails open and their pictures, attached files), without the
    // page itself, as names inside its folder.
    static QStringList referencedFiles(const QString& pagePath);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showPage();
    void followLink(const QUrl& url);
    void applyWindowState();

    std::unique_ptr<Ui::THtmlView> m_ui;
    QTextBrowser* m_browser = nullptr;
    QString m_pagePath;
    QString m_title;
    QString m_saveFolder;
    QPrinter* m_printer = nullptr;
    bool m_shown = false;
};
