#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TEnterStr;
}

class QLineEdit;
class QPushButton;

// One-line text entry under a label. OK stays disabled while the text is
// empty, so that the window never confirms an empty text.
class TEnterStr : public QDialog
{
    Q_OBJECT

public:
    explicit TEnterStr(QWidget* parent = nullptr);
    ~TEnterStr() override;

    void setLabel(const QString& label);
    QString label() const;
    void setText(const QString& text);
    QString text() const;

    QLineEdit* edit() const;
    QPushButton* okButton() const;
    QPushButton* cancelButton() const;

public slots:
    void accept() override;

private:
    void updateOk();

    std::unique_ptr<Ui::TEnterStr> m_ui;
};

namespace tav {

// Asks for one line of text under the label, starting from text. On OK the
// text typed is written into text and the result is true; otherwise text
// is left as it was.
bool enterString(QWidget* parent, const QString& label, QString& text);

} // namespace tav
