#include "ui/FileDialog.h"

#include "ui/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QMutex>
#include <QMutexLocker>
#include <QQueue>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tav {

namespace {

struct Seam
{
    QMutex mutex;
    QQueue<QString> fileNames;
    QList<FileDialog::Request> requests;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

QStringList splitPatterns(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

// One "Description" and "*.a;*.b" pair in Qt's "Description (*.a *.b)" form.
QString qtFilterEntry(const QString& description, const QString& patternText)
{
    QStringList patterns = splitPatterns(patternText);
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    const QString qtPatterns = patterns.join(QLatin1Char(' '));

    QString label = description.trimmed();
    // Descriptions often quote their own patterns, "Tout (*.jpg;*.bmp)";
    // repeating them would show the list twice.
    if (label.endsWith(QLatin1Char(')'))) {
        const qsizetype open = label.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && splitPatterns(label.mid(open + 1, label.size() - open - 2)) == patterns)
            label = label.left(open).trimmed();
    }
    if (label.isEmpty())
        return qtPatterns;
    return label % QStringLiteral(" (") % qtPatterns % QLatin1Char(')');
}

// Without a folder, a dialog opens in the working directory, which is the
// program folder: the user's files are never there. A missing folder or a
// bare proposed name starts in the user's documents instead.
QString startingPlace(const QString& dir)
{
    if (!dir.isEmpty() && QDir::isAbsolutePath(dir))
        return dir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return dir.isEmpty() ? documents : QDir(documents).filePath(dir);
}

QString ask(FileDialog::Mode mode, QWidget* parent, const QString& title, const QString& given,
            const QString& filter)
{
    const QString dir = startingPlace(given);
    if (FileDialog::testMode()) {
        Seam& s = seam();
        QMutexLocker lock(&s.mutex);
        s.requests.append(FileDialog::Request{mode, title, dir, filter});
        return s.fileNames.isEmpty() ? QString() : s.fileNames.dequeue();
    }
    const QString qtFilter = FileDialog::qtFilter(filter);
    if (mode == FileDialog::Mode::Open)
        return QFileDialog::getOpenFileName(parent, title, dir, qtFilter);
    return QFileDialog::getSaveFileName(parent, title, dir, qtFilter);
}

} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter)
{
    return ask(Mode::Open, parent, title, dir, filter);
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter)
{
    return ask(Mode::Save, parent, title, dir, filter);
}

QString FileDialog::qtFilter(const QString& barFilter)
{
    if (!barFilter.contains(QLatin1Char('|')))
        return barFilter;

    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        // A trailing "|" leaves an empty pair behind.
        if (description.trimmed().isEmpty() && patterns.trimmed().isEmpty())
            continue;
        entries.append(qtFilterEntry(description, patterns));
    }
    return entries.join(QLatin1String(";;"));
}

void FileDialog::setTestMode(bool on)
{
    MessageBox::setTestMode(on);
}

bool FileDialog::testMode()
{
    return MessageBox::testMode();
}

void FileDialog::setNextFileName(const QString& fileName)
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.fileNames.enqueue(fileName);
}

void FileDialog::clearNextFileNames()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.fileNames.clear();
}

QList<FileDialog::Request> FileDialog::requests()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    return s.requests;
}

void FileDialog::clearRequests()
{
    Seam& s = seam();
    QMutexLocker lock(&s.mutex);
    s.requests.clear();
}

} // namespace tav
