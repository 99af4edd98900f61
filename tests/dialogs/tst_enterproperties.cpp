#include "ModalAnswer.h"
#include "TestInput.h"

#include "core/Settings.h"
#include "dialogs/TEnterProperties.h"
#include "dialogs/TStrList.h"
#include "mail/SecretStore.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

template <typename T> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}

QLineEdit* edit(QWidget* window, const char* name)
{
    return child<QLineEdit>(window, name);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void closePickList()
{
    if (TStrList* list = TStrList::openList())
        list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestEnterProperties : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensOnGeneralWithTwoTabs();
    void wholeNumberFieldsTakeDigitsUpTo5000();
    void valuesFromTheCallerAreClamped();
    void okRaisesTheMinimumsAndCapsTheQuality_data();
    void okRaisesTheMinimumsAndCapsTheQuality();
    void sourcePickList();
    void enterInSmtpFieldsOpensNoList();
    void cancelLeavesTheSettingsFileUntouched();
    void okSavesTheSettingsAndThePasswordApart();
    void clearedUserRemovesThePassword();

private:
    QString m_iniPath;
    QTemporaryDir m_dir;
};

void TestEnterProperties::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestEnterProperties::init()
{
    m_iniPath = m_dir.filePath(QStringLiteral("tavirune.ini"));
    QFile::remove(m_iniPath);
    MessageBox::clearShownMessages();
}

void TestEnterProperties::cleanup()
{
    closePickList();
}

void TestEnterProperties::opensOnGeneralWithTwoTabs()
{
    TEnterProperties window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Propriétés"));
    QCOMPARE(window.width(), 387);
    auto* tabs = child<QTabBar>(&window, "Tabs");
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Général"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Serveur SMTP"));
    QCOMPARE(window.currentPage(), 0);
    QVERIFY(edit(&window, "Ed_ScanMaxWidth")->isVisible());
    QVERIFY(!edit(&window, "Ed_SMTP_Host")->isVisible());
    tabs->setCurrentIndex(1);
    QCOMPARE(window.currentPage(), 1);
    QVERIFY(edit(&window, "Ed_SMTP_Host")->isVisible());
    QVERIFY(!edit(&window, "Ed_ScanMaxWidth")->isVisible());
    QVERIFY(edit(&window, "Ed_TwainSource")->isReadOnly());
}

void TestEnterProperties::wholeNumberFieldsTakeDigitsUpTo5000()
{
    TEnterProperties window;
    window.show();
    child<QTabBar>(&window, "Tabs")->setCurrentIndex(1);
    QLineEdit* port = edit(&window, "Ed_SMTP_Port");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("5001"));
    QCOMPARE(port->text(), QStringLiteral("500"));
    port->clear();
    QTest::keyClicks(port, QStringLiteral("5x8-7"));
    QCOMPARE(port->text(), QStringLiteral("587"));
    port->clear();
    QTest::keyClicks(port, QStringLiteral("5000"));
    QCOMPARE(port->text(), QStringLiteral("5000"));
    // A digit put before the others counts too.
    port->setCursorPosition(0);
    QTest::keyClicks(port, QStringLiteral("1"));
    QCOMPARE(port->text(), QStringLiteral("5000"));
}

void TestEnterProperties::valuesFromTheCallerAreClamped()
{
    Settings s;
    s.maxWidth = 9000;
    s.jpegQuality = -4;
    s.smtpPort = 587;
    s.smtpSecurity = 2;
    TEnterProperties window;
    window.setValues(s, QStringLiteral("pw"));
    QCOMPARE(edit(&window, "Ed_ScanMaxWidth")->text(), QStringLiteral("5000"));
    QCOMPARE(edit(&window, "Ed_ScanJpegQuality")->text(), QStringLiteral("0"));
    QCOMPARE(edit(&window, "Ed_SMTP_Port")->text(), QStringLiteral("587"));
    QCOMPARE(child<QComboBox>(&window, "Cmb_SMTP_Security")->currentIndex(), 2);
    QCOMPARE(window.password(), QStringLiteral("pw"));
}

void TestEnterProperties::okRaisesTheMinimumsAndCapsTheQuality_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("quality");
    QTest::addColumn<int>("storedWidth");
    QTest::addColumn<int>("storedQuality");
    QTest::newRow("low") << "120"
                         << "0" << 500 << 10;
    QTest::newRow("empty") << ""
                           << "" << 500 << 10;
    QTest::newRow("in range") << "1600"
                              << "85" << 1600 << 85;
    QTest::newRow("quality past 100") << "5000"
                                      << "4000" << 5000 << 100;
}

void TestEnterProperties::okRaisesTheMinimumsAndCapsTheQuality()
{
    QFETCH(QString, width);
    QFETCH(QString, quality);
    QFETCH(int, storedWidth);
    QFETCH(int, storedQuality);
    TEnterProperties window;
    window.show();
    edit(&window, "Ed_ScanMaxWidth")->setText(width);
    edit(&window, "Ed_ScanJpegQuality")->setText(quality);
    QTest::mouseClick(child<QPushButton>(&window, "Btn_Ok"), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    Settings s;
    window.values(s);
    QCOMPARE(s.maxWidth, storedWidth);
    QCOMPARE(s.jpegQuality, storedQuality);
}

void TestEnterProperties::sourcePickList()
{
    int calls = 0;
    TEnterProperties window;
    window.setSourceLister([&calls] {
        ++calls;
        return QStringList{QStringLiteral("test:0"), QStringLiteral("test:1")};
    });
    Settings s;
    s.twainSource = QStringLiteral("ancien");
    window.setValues(s, QString());
    window.show();
    QTest::mouseClick(child<QToolButton>(&window, "Btn_Source"), Qt::LeftButton);
    QCOMPARE(calls, 1);
    QStringList offered;
    QVERIFY(chooseLine(QStringLiteral("test:1"), &offered));
    QCOMPARE(offered, QStringList({QStringLiteral("test:0"), QStringLiteral("test:1")}));
    QCOMPARE(edit(&window, "Ed_TwainSource")->text(), QStringLiteral("test:1"));
    closePickList();

    // Enter in the field opens the list as well, and does not close the window.
    QTest::keyClick(edit(&window, "Ed_TwainSource"), Qt::Key_Return);
    QCOMPARE(calls, 2);
    QVERIFY(TStrList::openList());
    QVERIFY(window.isVisible());
    closePickList();

    // No scanner at all: the field keeps its text.
    window.setSourceLister([] { return QStringList(); });
    QTest::mouseClick(child<QToolButton>(&window, "Btn_Source"), Qt::LeftButton);
    closePickList();
    QCOMPARE(edit(&window, "Ed_TwainSource")->text(), QStringLiteral("test:1"));
}

void TestEnterProperties::enterInSmtpFieldsOpensNoList()
{
    int calls = 0;
    TEnterProperties window;
    window.setSourceLister([&calls] {
        ++calls;
        return QStringList{QStringLiteral("test:0")};
    });
    window.show();
    child<QTabBar>(&window, "Tabs")->setCurrentIndex(1);
    for (const char* name : {"Ed_SMTP_Name", "Ed_SMTP_Email", "Ed_SMTP_Host"}) {
        QTest::keyClick(edit(&window, name), Qt::Key_Return);
        QVERIFY(!TStrList::openList());
    }
    QCOMPARE(calls, 0);
}

void TestEnterProperties::cancelLeavesTheSettingsFileUntouched()
{
    Settings s;
    s.smtpHost = QStringLiteral("smtp.example.org");
    QVERIFY(s.save(m_iniPath));
    const QByteArray before = fileBytes(m_iniPath);
    mail::MemorySecretStore secrets;
    const ModalAnswer answer = ModalAnswer::when<TEnterProperties>([](TEnterProperties* w) {
        edit(w, "Ed_SMTP_Host")->setText(QStringLiteral("autre.example.org"));
        edit(w, "Ed_SMTP_User")->setText(QStringLiteral("moi"));
        edit(w, "Ed_SMTP_Password")->setText(QStringLiteral("secret"));
        QTest::mouseClick(child<QPushButton>(w, "Btn_Cancel"), Qt::LeftButton);
    });
    QVERIFY(!editProperties(nullptr, s, m_iniPath, secrets, {}));
    QVERIFY(answer.seen());
    QCOMPARE(s.smtpHost, QStringLiteral("smtp.example.org"));
    QCOMPARE(fileBytes(m_iniPath), before);
    QVERIFY(secrets.secrets().isEmpty());
}

void TestEnterProperties::okSavesTheSettingsAndThePasswordApart()
{
    Settings s;
    mail::MemorySecretStore secrets;
    const QString longName = QString(300, QLatin1Char('n'));
    const ModalAnswer answer = ModalAnswer::when<TEnterProperties>([&](TEnterProperties* w) {
        edit(w, "Ed_ScanMaxWidth")->setText(QStringLiteral("120"));
        edit(w, "Ed_ScanJpegQuality")->setText(QStringLiteral("0"));
        child<QCheckBox>(w, "Check_ShowTwainUI")->setChecked(true);
        edit(w, "Ed_SMTP_Name")->setText(longName);
        edit(w, "Ed_SMTP_Email")->setText(QStringLiteral("vet@example.org"));
        edit(w, "Ed_SMTP_Host")->setText(QStringLiteral("smtp.example.org"));
        edit(w, "Ed_SMTP_Port")->setText(QStringLiteral("587"));
        child<QComboBox>(w, "Cmb_SMTP_Security")->setCurrentIndex(1);
        edit(w, "Ed_SMTP_User")->setText(QStringLiteral("clinique"));
        edit(w, "Ed_SMTP_Password")->setText(QStringLiteral("mot de passe"));
        QTest::mouseClick(child<QPushButton>(w, "Btn_Ok"), Qt::LeftButton);
    });
    QVERIFY(editProperties(nullptr, s, m_iniPath, secrets, {}));
    QVERIFY(answer.seen());

    Settings loaded;
    loaded.load(m_iniPath);
    QCOMPARE(loaded.maxWidth, 500);
    QCOMPARE(loaded.jpegQuality, 10);
    QCOMPARE(loaded.showTwainUI, true);
    QCOMPARE(loaded.smtpName.size(), Settings::smtpTextMaxLength);
    QCOMPARE(loaded.smtpEmail, QStringLiteral("vet@example.org"));
    QCOMPARE(loaded.smtpPort, 587);
    QCOMPARE(loaded.smtpSecurity, 1);
    QCOMPARE(loaded.smtpUser, QStringLiteral("clinique"));
    QCOMPARE(s.smtpUser, QStringLiteral("clinique"));
    QCOMPARE(secrets.read(mail::smtpPasswordKey(QStringLiteral("clinique"),
                                                QStringLiteral("smtp.example.org"))),
             QStringLiteral("mot de passe"));
    QVERIFY(!fileBytes(m_iniPath).contains("mot de passe"));
}

void TestEnterProperties::clearedUserRemovesThePassword()
{
    Settings s;
    s.smtpHost = QStringLiteral("smtp.example.org");
    s.smtpUser = QStringLiteral("clinique");
    mail::MemorySecretStore secrets;
    const QString key = mail::smtpPasswordKey(s.smtpUser, s.smtpHost);
    secrets.write(key, QStringLiteral("ancien"), nullptr);
    const ModalAnswer answer = ModalAnswer::when<TEnterProperties>([](TEnterProperties* w) {
        // The stored password is shown (hidden) for the user it belongs to.
        QCOMPARE(w->password(), QStringLiteral("ancien"));
        edit(w, "Ed_SMTP_User")->clear();
        QTest::mouseClick(child<QPushButton>(w, "Btn_Ok"), Qt::LeftButton);
    });
    QVERIFY(editProperties(nullptr, s, m_iniPath, secrets, {}));
    QVERIFY(answer.seen());
    QVERIFY(s.smtpUser.isEmpty());
    QVERIFY(secrets.secrets().isEmpty());
    QVERIFY(!fileBytes(m_iniPath).contains("User="));
}

QTEST_MAIN(TestEnterProperties)
#include "tst_enterproperties.moc"
