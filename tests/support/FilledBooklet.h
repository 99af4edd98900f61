#pragma once

// A booklet filled the way its owner fills it: every row typed into the
// program's own entry windows, found by their object names, from a fresh
// installation with a fixed clock. The journeys then start from a menu and
// read what comes out the way a peer reads it.

#include "AppFixture.h"
#include "SaneTestConfig.h"

#include "core/Clock.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QAction;
class QWidget;

namespace tav::test {

class FilledBooklet
{
public:
    // What the owner types; the journeys look for it in the outputs.
    struct Facts
    {
        static constexpr const char* animal = "Médor";
        static constexpr const char* vet = "Dr Lefèvre";
        static constexpr const char* illness = "Otite externe";
        static constexpr const char* consultDate = "02/03/2026";
        static constexpr const char* consultRemark = "Oreille droite & gauche";
        static constexpr const char* vaccine = "Rage (R)";
        static constexpr const char* vaccineDate = "15/01/2026";
        static constexpr const char* reminderDate = "15/01/2027";
        static constexpr const char* analysis = "Hématocrite (chien)";
        static constexpr const char* event = "Vermifuge au fenbendazole";
        static constexpr const char* eventDate = "20/11/2026";
        static constexpr const char* documentFile = "résultats.qqzz";
        static constexpr const char* imageTitle = "Radio de l'épaule";
    };

    FilledBooklet();
    ~FilledBooklet();
    FilledBooklet(const FilledBooklet&) = delete;
    FilledBooklet& operator=(const FilledBooklet&) = delete;

    // Starts the program on a fresh data folder and fills the booklet. A
    // failed step fails the running test: check QTest::currentTestFailed().
    void startAndFill();

    AppFixture& app() { return *m_app; }
    QWidget* mainWindow() const;
    // A menu item of the main window by its object name; null when absent.
    QAction* action(const char* name) const;
    template <typename T> T* component(const char* name) const
    {
        return m_app->component<T>(QString::fromLatin1(name));
    }
    // Brings the notebook page of this tab caption to the front.
    bool showPage(const QString& caption) const;
    // A folder of the user's own files, outside the program's.
    QString userFolder() const { return m_user.path(); }
    // The bytes of the attached file, as the owner had them.
    static QByteArray documentBytes();

    // Each step of the filling, usable alone.
    void addVet();
    void addAnimal();
    void addConsultation();
    void addMedicine();
    void addVaccination();
    void addWeights();
    void addSizes();
    void addAnalysis();
    void addEvent();
    void addDocuments();
    // "Poids cible…" on the weight curve's menu; true once accepted.
    bool enterTargetWeight(const QString& min, const QString& max);

private:
    // No scanner: asking the system's SANE backends for theirs would cost
    // seconds at each picture document.
    SaneTestConfig m_sane{QByteArray(), false};
    std::unique_ptr<Clock::Fixed> m_clock;
    std::unique_ptr<AppFixture> m_app;
    QTemporaryDir m_user;
};

} // namespace tav::test
