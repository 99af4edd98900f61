#include "dialogs/TAbout.h"

#include "core/AppInfo.h"
#include "ui/FramedWindow.h"
#include "ui_TAbout.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString licenceName()
{
    return QStringLiteral("GNU GPL version 3 ou ultérieure (GPL-3.0-or-later)");
}

// A path shown as a link to the folder that holds it: the file manager opens
// folders, not a database file.
QString folderLink(const QString& shownPath, const QString& folder)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded).toHtmlEscaped(),
             QDir::toNativeSeparators(shownPath).toHtmlEscaped());
}

void setLink(QLabel* label, const QString& shownPath, const QString& folder)
{
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    // Through the desktop services so that the file manager opens the
    // folder; the label would otherwise try to open the address itself.
    label->setOpenExternalLinks(false);
    label->setText(folderLink(shownPath, folder));
    QObject::connect(label, &QLabel::linkActivated, label,
                     [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
}

} // namespace

TAbout::TAbout(const tav::AboutFacts& facts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAbout>()), m_facts(facts)
{
    m_ui->setupUi(this);
    m_ui->Lab_Program->setText(
        QStringLiteral("<b>%1</b> version %2")
            .arg(tav::appinfo::productName(), tav::appinfo::programVersion()));
    m_ui->Lab_Licence->setText(QString::fromUtf8("Logiciel libre distribué sous la licence ") +
                               licenceName() + QLatin1Char('.'));
    setLink(m_ui->Lab_DataFolder, facts.dataFolder, facts.dataFolder);
    setLink(m_ui->Lab_Database, facts.databaseFile, QFileInfo(facts.databaseFile).absolutePath());
    setLink(m_ui->Lab_Settings, facts.settingsFile, QFileInfo(facts.settingsFile).absolutePath());
    m_ui->Lab_SchemaVersion->setText(facts.schemaVersion);
    m_ui->Lab_Qt->setText(QString::fromLatin1(qVersion()));
    m_ui->Lab_Sqlite->setText(facts.sqliteVersion);
    connect(m_ui->Btn_Copy, &QPushButton::clicked, this, &TAbout::copySummary);
    connect(m_ui->Btn_Licence, &QPushButton::clicked, this, &TAbout::showLicence);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    tav::prepareWindow(this, false);
}

TAbout::~TAbout() = default;

QString TAbout::summary() const
{
    const QString nl = QStringLiteral("\n");
    return tav::appinfo::productName() + QStringLiteral(" version ") +
           tav::appinfo::programVersion() + nl + QStringLiteral("Licence : ") + licenceName() + nl +
           QString::fromUtf8("Dossier des données : ") +
           QDir::toNativeSeparators(m_facts.dataFolder) + nl +
           QString::fromUtf8("Base de données : ") +
           QDir::toNativeSeparators(m_facts.databaseFile) + nl +
           QString::fromUtf8("Version de la base : ") + m_facts.schemaVersion + nl +
           QString::fromUtf8("Fichier de réglages : ") +
           QDir::toNativeSeparators(m_facts.settingsFile) + nl +
           QStringLiteral("Version de Qt : ") + QString::fromLatin1(qVersion()) + nl +
           QStringLiteral("Version de SQLite : ") + m_facts.sqliteVersion + nl;
}

QString TAbout::licenceText()
{
    Q_INIT_RESOURCE(licence);
    QFile file(QStringLiteral(":/licence/LICENSE"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TAbout::copySummary()
{
    QApplication::clipboard()->setText(summary());
}

void TAbout::showLicence()
{
    QDialog window(this);
    window.setObjectName(QStringLiteral("TLicence"));
    window.setWindowTitle(QStringLiteral("Licence de Tavirune"));
    auto* layout = new QVBoxLayout(&window);
    auto* text = new QPlainTextEdit(&window);
    text->setObjectName(QStringLiteral("Memo_Licence"));
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setPlainText(licenceText());
    layout->addWidget(text);
    auto* close = new QPushButton(QStringLiteral("&Fermer"), &window);
    close->setObjectName(QStringLiteral("Btn_Close"));
    connect(close, &QPushButton::clicked, &window, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    window.resize(640, 480);
    window.exec();
}
