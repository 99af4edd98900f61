#include "AppFixture.h"

#include "booklet/TMainForm.h"
#include "db/Connection.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

AppFixture::AppFixture()
{
    tav::MessageBox::setTestMode(true);
    tav::MessageBox::clearShownMessages();
    tav::MessageBox::clearNextAnswers();
    QDir().mkpath(programFolder());
    QDir().mkpath(documentsFolder());
}

AppFixture::~AppFixture()
{
    stop();
}

QString AppFixture::programFolder() const
{
    return m_root.filePath(QStringLiteral("program"));
}

QString AppFixture::documentsFolder() const
{
    return m_root.filePath(QStringLiteral("home/Documents"));
}

QString AppFixture::lockFolder() const
{
    return m_root.filePath(QStringLiteral("run"));
}

QString AppFixture::dataFolder() const
{
    return documentsFolder() + QStringLiteral("/Orvandel/Tavirune/");
}

tav::StartupEnvironment AppFixture::environment() const
{
    tav::StartupEnvironment env;
    env.programFolder = programFolder();
    env.documentsFolder = documentsFolder();
    env.lockFolder = lockFolder();
    env.removableDrive = false;
    return env;
}

void AppFixture::installTemplate()
{
    const QString source =
        qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Ressources");
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target =
            programFolder() + QStringLiteral("/Ressources") + file.mid(source.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
    }
    for (const char* sub : {"Ressources/DB/Data/Images", "Ressources/DB/Data/Files"})
        QDir().mkpath(programFolder() + QLatin1Char('/') + QString::fromLatin1(sub));
}

void AppFixture::installReports()
{
    const QDir reports(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Reports"));
    for (const QString& name : reports.entryList(QDir::Files)) {
        QFile source(reports.filePath(name));
        if (source.open(QIODevice::ReadOnly))
            writeProgramFile(QStringLiteral("Reports/") + name, source.readAll());
    }
}

bool AppFixture::restartWith(const QStringList& statements)
{
    stop();
    {
        tav::Connection c;
        c.open(dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"), false);
        for (const QString& s : statements)
            c.exec(s);
    }
    return start();
}

void AppFixture::writeProgramFile(const QString& relativePath, const QByteArray& content)
{
    const QString path = programFolder() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

bool AppFixture::start()
{
    m_startup = std::make_unique<tav::Startup>(environment());
    return m_startup->start();
}

int AppFixture::run(const std::function<void()>& whenShown)
{
    m_startup = std::make_unique<tav::Startup>(environment());
    return m_startup->run(whenShown);
}

void AppFixture::stop()
{
    if (!m_startup)
        return;
    if (TMainForm* form = m_startup->mainForm())
        form->close();
    m_startup.reset();
}

QWidget* AppFixture::findWindow(const char* className)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qstrcmp(w->metaObject()->className(), className) == 0)
            return w;
    }
    return nullptr;
}
