#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace tav {

// The open and save dialogs of the program. Filters are written in the
// "Description|*.a;*.b|Other|*.c" form used throughout the texts and are
// converted here. In the message boxes' test mode no dialog is shown: each
// request is recorded and answered with the next queued file name, an empty
// queue meaning that the user cancelled. A dialog given no folder, or only a
// proposed file name, starts in the user's documents folder.
class FileDialog
{
public:
    enum class Mode { Open, Save };
    struct Request
    {
        Mode mode;
        QString title;
        QString dir;    // where the dialog starts, always an absolute path
        QString filter; // as given by the caller
    };

    // The chosen file, or an empty string when the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& title, const QString& dir,
                                   const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& title, const QString& dir,
                                   const QString& filter);

    // "Description|*.a;*.b|Other|*.c" -> "Description (*.a *.b);;Other (*.c)".
    // A text without "|" is taken to be in Qt's form already.
    static QString qtFilter(const QString& barFilter);

    // Same switch as MessageBox::setTestMode().
    static void setTestMode(bool on);
    static bool testMode();
    static void setNextFileName(const QString& fileName);
    static void clearNextFileNames();
    static QList<Request> requests();
    static void clearRequests();
};

} // namespace tav
