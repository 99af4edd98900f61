#include "AppFixture.h"
#include "ModalAnswer.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "core/Settings.h"
#include "dialogs/TEnterProperties.h"
#include "dialogs/TStrList.h"
#include "mail/MailDraft.h"
#include "mail/SecretStore.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestPreferencesCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void preferencesChangeTheSendingSettings();

private:
    std::unique_ptr<AppFixture> m_app;
    mail::MemorySecretStore m_secrets;
};

void TestPreferencesCommand::init()
{
    MessageBox::clearShownMessages();
    mail::setSecretStore(&m_secrets);
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
}

void TestPreferencesCommand::cleanup()
{
    m_app.reset();
    mail::setSecretStore(nullptr);
}

void TestPreferencesCommand::preferencesChangeTheSendingSettings()
{
    QVERIFY(m_app->start());
    TMainForm* form = m_app->startup()->mainForm();
    form->setScanSourceLister([] { return QStringList{QStringLiteral("test:0")}; });
    AppContext& context = form->context();
    QVERIFY(!mail::sendingSettingsComplete(context.settings));

    QAction* item = form->findChild<QAction*>(QStringLiteral("Item_Proprietes"));
    QVERIFY(item);
    QVERIFY(item->isEnabled());
    QStringList offered;
    const ModalAnswer answer = ModalAnswer::when<TEnterProperties>([&](TEnterProperties* w) {
        QTest::mouseClick(w->findChild<QToolButton*>(QStringLiteral("Btn_Source")), Qt::LeftButton);
        if (TStrList* list = TStrList::openList()) {
            offered = list->lines();
            list->close();
        }
        const auto set = [w](const char* name, const char* text) {
            w->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromUtf8(text));
        };
        set("Ed_SMTP_Name", "Clinique");
        set("Ed_SMTP_Email", "vet@example.org");
        set("Ed_SMTP_Host", "smtp.example.org");
        set("Ed_SMTP_User", "clinique");
        set("Ed_SMTP_Password", "secret");
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Btn_Ok")), Qt::LeftButton);
    });
    item->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(offered, QStringList{QStringLiteral("test:0")});
    QVERIFY(mail::sendingSettingsComplete(context.settings));

    Settings saved;
    saved.load(context.settingsPath);
    QCOMPARE(saved.smtpHost, QStringLiteral("smtp.example.org"));
    QCOMPARE(saved.smtpUser, QStringLiteral("clinique"));
    QCOMPARE(m_secrets.read(mail::smtpPasswordKey(QStringLiteral("clinique"),
                                                  QStringLiteral("smtp.example.org"))),
             QStringLiteral("secret"));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

QTEST_MAIN(TestPreferencesCommand)
#include "tst_preferencescommand.moc"
