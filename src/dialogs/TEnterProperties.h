#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TEnterProperties;
}

namespace tav {
struct Settings;
namespace mail {
class SecretStore;
}
} // namespace tav

class QLineEdit;

// The preferences: scanner on the "Général" page, e-mail sending on the
// "Serveur SMTP" page. The window only edits its controls; the caller
// fills them, and copies them back after OK (see tav::editProperties).
class TEnterProperties : public QDialog
{
    Q_OBJECT

public:
    // Lists the names of the scanners that can be chosen as source.
    using SourceLister = std::function<QStringList()>;

    // The range of the whole-number fields.
    static constexpr int fieldMaximum = 5000;
    static constexpr int minimumMaxWidth = 500;
    static constexpr int minimumJpegQuality = 10;
    // A JPEG quality means nothing past 100, whatever the field accepts.
    static constexpr int maximumJpegQuality = 100;

    explicit TEnterProperties(QWidget* parent = nullptr);
    ~TEnterProperties() override;

    void setSourceLister(SourceLister lister) { m_listSources = std::move(lister); }

    // Fills the controls; numbers are clamped to the fields' range.
    void setValues(const tav::Settings& settings, const QString& password);
    // Copies the controls into settings, the texts cut to the settings'
    // length.
    void values(tav::Settings& settings) const;
    QString password() const;

    // The page shown: 0 "Général", 1 "Serveur SMTP".
    int currentPage() const;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Btn_SourceClick();
    void showPage(int page);

    std::unique_ptr<Ui::TEnterProperties> m_ui;
    SourceLister m_listSources;
};

namespace tav {

// Opens the preferences over the settings. On OK the password goes to the
// secret store (removed when the user name or password is cleared), the
// values to settings and the settings file; true then. On Cancel, or when
// the password or the file cannot be written (a message says so), the
// settings are left as they were and the result is false.
bool editProperties(QWidget* parent, Settings& settings, const QString& settingsPath,
                    mail::SecretStore& secrets, const TEnterProperties::SourceLister& listSources);

} // namespace tav
