#include "dialogs/TEnterStr.h"

#include "ui/FramedWindow.h"
#include "ui_TEnterStr.h"

TEnterStr::TEnterStr(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TEnterStr>())
{
    m_ui->setupUi(this);
    connect(m_ui->Ed_Str, &QLineEdit::textChanged, this, &TEnterStr::updateOk);
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    tav::prepareWindow(this, false);
    updateOk();
    m_ui->Ed_Str->setFocus();
}

TEnterStr::~TEnterStr() = default;

void TEnterStr::setLabel(const QString& label)
{
    m_ui->Lab_Title->setText(label);
}

QString TEnterStr::label() const
{
    return m_ui->Lab_Title->text();
}

void TEnterStr::setText(const QString& text)
{
    m_ui->Ed_Str->setText(text);
    m_ui->Ed_Str->selectAll();
}

QString TEnterStr::text() const
{
    return m_ui->Ed_Str->text();
}

QLineEdit* TEnterStr::edit() const
{
    return m_ui->Ed_Str;
}

QPushButton* TEnterStr::okButton() const
{
    return m_ui->Btn_Ok;
}

QPushButton* TEnterStr::cancelButton() const
{
    return m_ui->Btn_Cancel;
}

void TEnterStr::accept()
{
    // Whatever asks for it, an empty text is never confirmed.
    if (!m_ui->Ed_Str->text().isEmpty())
        QDialog::accept();
}

void TEnterStr::updateOk()
{
    m_ui->Btn_Ok->setEnabled(!m_ui->Ed_Str->text().isEmpty());
}

namespace tav {

bool enterString(QWidget* parent, const QString& label, QString& text)
{
    TEnterStr window(parent);
    window.setLabel(label);
    window.setText(text);
    if (window.exec() != QDialog::Accepted)
        return false;
    text = window.text();
    return true;
}

} // namespace tav
