#include "dialogs/TEnterProperties.h"

#include "core/Settings.h"
#include "dialogs/PickList.h"
#include "mail/SecretStore.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterProperties.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// Digits only, up to a maximum: a keystroke that would pass it is refused,
// which leaves the field as it was.
class DigitRangeValidator : public QValidator
{
public:
    DigitRangeValidator(int maximum, QObject* parent) : QValidator(parent), m_maximum(maximum) {}

    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Acceptable;
        if (input.size() > 9)
            return Invalid;
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        return input.toInt() <= m_maximum ? Acceptable : Invalid;
    }

private:
    int m_maximum;
};

int fieldValue(const QLineEdit* edit)
{
    return edit->text().toInt();
}

void setFieldValue(QLineEdit* edit, int value)
{
    edit->setText(QString::number(std::clamp(value, 0, TEnterProperties::fieldMaximum)));
}

QString cut(const QString& text)
{
    return text.left(tav::Settings::smtpTextMaxLength);
}

} // namespace

TEnterProperties::TEnterProperties(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEnterProperties>())
{
    m_ui->setupUi(this);
    m_ui->Tabs->setShape(QTabBar::RoundedSouth);
    m_ui->Tabs->addTab(QStringLiteral("Général"));
    m_ui->Tabs->addTab(QStringLiteral("Serveur SMTP"));
    m_ui->Tabs->setExpanding(false);
    connect(m_ui->Tabs, &QTabBar::currentChanged, this, &TEnterProperties::showPage);

    for (QLineEdit* edit : {m_ui->Ed_ScanMaxWidth, m_ui->Ed_ScanJpegQuality, m_ui->Ed_SMTP_Port})
        edit->setValidator(new DigitRangeValidator(fieldMaximum, edit));
    for (QLineEdit* edit : {m_ui->Ed_SMTP_Name, m_ui->Ed_SMTP_Email, m_ui->Ed_SMTP_Host,
                            m_ui->Ed_SMTP_User, m_ui->Ed_SMTP_Password})
        edit->setMaxLength(tav::Settings::smtpTextMaxLength);

    m_ui->Ed_TwainSource->installEventFilter(this);
    connect(m_ui->Btn_Source, &QToolButton::clicked, this, &TEnterProperties::Btn_SourceClick);
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &TEnterProperties::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &TEnterProperties::reject);
    tav::prepareWindow(this, false);
    showPage(0);
}

TEnterProperties::~TEnterProperties() = default;

void TEnterProperties::setValues(const tav::Settings& settings, const QString& password)
{
    m_ui->Ed_TwainSource->setText(settings.twainSource);
    m_ui->Check_ShowTwainUI->setChecked(settings.showTwainUI);
    setFieldValue(m_ui->Ed_ScanMaxWidth, settings.maxWidth);
    setFieldValue(m_ui->Ed_ScanJpegQuality, settings.jpegQuality);
    m_ui->Ed_SMTP_Name->setText(settings.smtpName);
    m_ui->Ed_SMTP_Email->setText(settings.smtpEmail);
    m_ui->Ed_SMTP_Host->setText(settings.smtpHost);
    setFieldValue(m_ui->Ed_SMTP_Port, settings.smtpPort);
    m_ui->Cmb_SMTP_Security->setCurrentIndex(std::clamp(settings.smtpSecurity, 0, 2));
    m_ui->Ed_SMTP_User->setText(settings.smtpUser);
    m_ui->Ed_SMTP_Password->setText(password);
}

void TEnterProperties::values(tav::Settings& settings) const
{
    settings.twainSource = m_ui->Ed_TwainSource->text();
    settings.showTwainUI = m_ui->Check_ShowTwainUI->isChecked();
    settings.maxWidth = fieldValue(m_ui->Ed_ScanMaxWidth);
    settings.jpegQuality = fieldValue(m_ui->Ed_ScanJpegQuality);
    settings.smtpName = cut(m_ui->Ed_SMTP_Name->text());
    settings.smtpEmail = cut(m_ui->Ed_SMTP_Email->text().trimmed());
    settings.smtpHost = cut(m_ui->Ed_SMTP_Host->text().trimmed());
    settings.smtpPort = fieldValue(m_ui->Ed_SMTP_Port);
    settings.smtpSecurity = m_ui->Cmb_SMTP_Security->currentIndex();
    settings.smtpUser = cut(m_ui->Ed_SMTP_User->text().trimmed());
}

QString TEnterProperties::password() const
{
    return m_ui->Ed_SMTP_Password->text();
}

int TEnterProperties::currentPage() const
{
    return m_ui->NoteBook->currentIndex();
}

void TEnterProperties::showPage(int page)
{
    m_ui->NoteBook->setCurrentIndex(page);
    if (m_ui->Tabs->currentIndex() != page)
        m_ui->Tabs->setCurrentIndex(page);
}

void TEnterProperties::accept()
{
    if (fieldValue(m_ui->Ed_ScanMaxWidth) < minimumMaxWidth)
        setFieldValue(m_ui->Ed_ScanMaxWidth, minimumMaxWidth);
    setFieldValue(m_ui->Ed_ScanJpegQuality, std::clamp(fieldValue(m_ui->Ed_ScanJpegQuality),
                                                       minimumJpegQuality, maximumJpegQuality));
    QDialog::accept();
}

bool TEnterProperties::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Ed_TwainSource && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Btn_SourceClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEnterProperties::Btn_SourceClick()
{
    const QStringList sources = m_listSources ? m_listSources() : QStringList();
    tav::showPickList(m_ui->Ed_TwainSource, false, sources);
}

namespace tav {

bool editProperties(QWidget* parent, Settings& settings, const QString& settingsPath,
                    mail::SecretStore& secrets, const TEnterProperties::SourceLister& listSources)
{
    const QString oldKey = settings.smtpUser.isEmpty()
                               ? QString()
                               : mail::smtpPasswordKey(settings.smtpUser, settings.smtpHost);
    TEnterProperties window(parent);
    window.setSourceLister(listSources);
    window.setValues(settings, oldKey.isEmpty() ? QString() : secrets.read(oldKey));
    if (window.exec() != QDialog::Accepted)
        return false;

    Settings edited = settings;
    window.values(edited);
    const QString password = window.password();
    const QString newKey = edited.smtpUser.isEmpty()
                               ? QString()
                               : mail::smtpPasswordKey(edited.smtpUser, edited.smtpHost);
    QString error;
    // The password lives in the secret store only, under the user and
    // server it belongs to.
    if (!newKey.isEmpty()) {
        const bool stored = password.isEmpty() ? secrets.remove(newKey, &error)
                                               : secrets.write(newKey, password, &error);
        if (!stored) {
            MessageBox::error(parent, error);
            return false;
        }
    }
    if (!oldKey.isEmpty() && oldKey != newKey)
        secrets.remove(oldKey, nullptr);

    if (!edited.save(settingsPath)) {
        MessageBox::error(parent, QStringLiteral("Les préférences n'ont pas pu être enregistrées "
                                                 "dans le fichier « %1 ».")
                                      .arg(settingsPath));
        return false;
    }
    settings = edited;
    return true;
}

} // namespace tav
