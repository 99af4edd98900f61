#include "dialogs/TComboList.h"

#include "core/TextRoutines.h"
#include "dialogs/PickList.h"
#include "dialogs/RememberedValues.h"
#include "ui/FramedWindow.h"
#include "ui_TComboList.h"

TComboList::TComboList(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TComboList>())
{
    m_ui->setupUi(this);
    QPalette palette = m_ui->Memo->palette();
    palette.setColor(QPalette::Base, tav::paleYellow);
    m_ui->Memo->setPalette(palette);
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    tav::prepareWindow(this, false);
    m_ui->Memo->setFocus();
}

TComboList::~TComboList() = default;

void TComboList::setTitle(const QString& title)
{
    m_ui->Title->setText(title);
    setWindowTitle(tav::windowCaption(tav::trim(title)));
}

QString TComboList::title() const
{
    return m_ui->Title->text();
}

void TComboList::setValues(const QStringList& values)
{
    m_values = tav::sortedUniqueIgnoringCase(values);
    m_ui->Memo->setPlainText(m_values.join(QLatin1Char('\n')));
}

QString TComboList::text() const
{
    return m_ui->Memo->toPlainText();
}

QPlainTextEdit* TComboList::memo() const
{
    return m_ui->Memo;
}
