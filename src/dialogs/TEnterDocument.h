#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

namespace Ui {
class TEnterDocument;
}

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The picture and title of an image document. The picture is chosen from a
// file, scanned, and turned by quarter turns; OK needs a title and a
// picture. imageChanged() tells whether the picture must be stored again.
class TEnterDocument : public QDialog
{
    Q_OBJECT

public:
    explicit TEnterDocument(QWidget* parent = nullptr);
    ~TEnterDocument() override;

    // Acquires one picture; null when nothing was scanned (the scanner
    // shows its own messages). Without it, or when `available` says no
    // scanner is there, the scan button stays disabled.
    using Scanner = std::function<QImage(QWidget* parent)>;
    void setScanner(Scanner scan, bool available);

    void setTitle(const QString& title);
    QString title() const;
    // Shows a picture without marking it changed (the stored one).
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    bool imageChanged() const { return m_imageChanged; }

    // The commands of the buttons.
    void Btn_ImgClick();
    void Btn_ScanClick();
    void rotate(int angle);
    // Loads a picture file: JPEG through the exact decoder, other formats
    // through Qt's readers. False with a message shown when it cannot.
    bool loadPicture(const QString& path);

    QLineEdit* titleEdit() const;
    QLabel* pictureLabel() const;
    QPushButton* okButton() const;

public slots:
    void accept() override;

private:
    void showPicture();
    void updateOk();

    std::unique_ptr<Ui::TEnterDocument> m_ui;
    QImage m_picture;
    bool m_imageChanged = false;
    Scanner m_scan;
};
