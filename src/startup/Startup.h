#pragma once

#include "booklet/AppContext.h"
#include "startup/StartupEnvironment.h"

#include <QLockFile>

#include <functional>
#include <memory>

class TMainForm;
class TSplash;

namespace tav {

// The start-up sequence: one instance, the data folders, the first-run
// transfer, the settings, the database and the main window. Every failure
// shows its message and leaves start() false; nothing is written before the
// single-instance lock is held.
class Startup
{
public:
    explicit Startup(StartupEnvironment env);
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Runs the sequence up to the main window shown; false when the
    // application must end (the reason was shown).
    bool start();
    // The whole run: the start, then the event loop until the main window
    // closes (whenShown is called once it is shown). Gives the process's
    // exit status, kFailedStartStatus when the start failed.
    int run(const std::function<void()>& whenShown = {});
    static constexpr int kFailedStartStatus = 1;

    TMainForm* mainForm() const { return m_mainForm.get(); }
    AppContext& context() { return m_context; }

private:
    // Opens the database and creates the data modules; the French reason
    // when the file cannot serve as a booklet, empty on success.
    QString openDatabase();
    void showWriteTestFailure();
    // The reason, then the design's message of a failed connection.
    void showConnectionFailure(const QString& reason);
    // Schema updates of an older database run here once the update scripts
    // exist; the place is kept so that the order of the steps stays right.
    void applySchemaUpdates();
    void updateTemplateDatabase();
    void setProgress(int position, const QString& text = QString());

    StartupEnvironment m_env;
    AppContext m_context;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<DataModule1> m_module1;
    std::unique_ptr<DataModule2> m_module2;
    std::unique_ptr<DataModuleReport> m_moduleReport;
    std::unique_ptr<TSplash> m_splash;
    std::unique_ptr<TMainForm> m_mainForm;
};

} // namespace tav
