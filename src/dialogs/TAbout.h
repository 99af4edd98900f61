#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TAbout;
}

namespace tav {

// What the "À propos" window tells about the running program; the caller
// fills it from the booklet that is open, so that the paths are the real
// ones.
struct AboutFacts
{
    QString dataFolder;
    QString databaseFile;
    QString schemaVersion;
    QString settingsFile;
    QString sqliteVersion;
};

} // namespace tav

// Program name and version, licence, where the booklet's data lies and the
// versions of the libraries in use. The folder paths are links opened by the
// desktop's file manager; the whole text can be copied for a support request.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(const tav::AboutFacts& facts, QWidget* parent = nullptr);
    ~TAbout() override;

    // The window's facts as plain text, one per line.
    QString summary() const;
    // The licence text delivered with the program.
    static QString licenceText();

private:
    void copySummary();
    void showLicence();

    std::unique_ptr<Ui::TAbout> m_ui;
    tav::AboutFacts m_facts;
};
