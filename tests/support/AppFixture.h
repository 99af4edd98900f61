#pragma once

#include "startup/Startup.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>

// A whole start-up in this process, against a temporary program folder
// (with the built template) and a temporary documents folder, with every
// message box answered through the test seam.
class AppFixture
{
public:
    AppFixture();
    ~AppFixture();

    QString programFolder() const;
    QString documentsFolder() const;
    QString lockFolder() const;
    QString dataFolder() const; // the default one, in the documents folder
    tav::StartupEnvironment environment() const;

    // The template data of the build, as an installation delivers it.
    void installTemplate();
    // The report templates of the build, for the printing commands.
    void installReports();
    void writeProgramFile(const QString& relativePath, const QByteArray& content);

    bool start();
    // The whole run as main() does it; its exit status.
    int run(const std::function<void()>& whenShown = {});
    // Closes the main window as the user would, then ends the run.
    void stop();
    tav::Startup* startup() const { return m_startup.get(); }
    // Stops the program, runs the statements on its closed database, and
    // starts it again: rows a test needs without going through windows.
    bool restartWith(const QStringList& statements);

    static QWidget* findWindow(const char* className);
    template <typename T> T* component(const QString& name) const
    {
        QWidget* w = findWindow("TMainForm");
        return w ? w->findChild<T*>(name) : nullptr;
    }

private:
    QTemporaryDir m_root;
    std::unique_ptr<tav::Startup> m_startup;
};
