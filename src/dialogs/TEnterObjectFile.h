#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TEnterObjectFile;
}

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The choice of a file to attach, with what the desktop says of it: name,
// type, size and icon, and a remark. The page runs selectFile() alone; the
// window itself can be shown to choose and comment a file.
class TEnterObjectFile : public QDialog
{
    Q_OBJECT

public:
    explicit TEnterObjectFile(QWidget* parent = nullptr);
    ~TEnterObjectFile() override;

    // Asks for a file. On cancel nothing changes; otherwise the chosen path
    // is kept and, when the file exists, its description is shown (a
    // missing file gives a message).
    void selectFile();
    // Describes the file as selectFile() does once a path is chosen.
    void setSelectedFile(const QString& path);

    const QString& selectedFileName() const { return m_selected; }
    QString remark() const;

    QLabel* nameLabel() const;
    QLabel* typeLabel() const;
    QLabel* sizeLabel() const;
    QLabel* iconLabel() const;
    QPushButton* okButton() const;

private:
    void limitRemark();

    std::unique_ptr<Ui::TEnterObjectFile> m_ui;
    QString m_selected;
};
