#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include "mail/SendJob.h"
#include "ui/TNewGauge.h"

#include <memory>

namespace Ui {
class TSendEmail;
}

namespace tav {
struct Settings;
namespace mail {
class SecretStore;
} // namespace mail
} // namespace tav

class QLineEdit;
class QPushButton;

// Sends documents by e-mail: recipients, subject and message typed here,
// the files listed in the attachments grid. The sending runs off the
// user-interface thread; "Annuler" stops it, and a failure leaves every
// field as it was so that OK can try again.
class TSendEmail : public QDialog
{
    Q_OBJECT

public:
    TSendEmail(const tav::Settings& settings, tav::mail::SecretStore& secrets,
               QWidget* parent = nullptr);
    ~TSendEmail() override;

    // An attachment line (see tav::mail::attachmentEntry) and its 32 x 32
    // icon, given before the window is shown.
    void addAttachment(const QString& entry, const QPixmap& icon);
    QStringList attachments() const { return m_entries; }

    bool isSending() const;
    TNewGauge* gauge() const { return m_gauge; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Ed_ToChange();
    void Btn_OkClick();
    void Btn_CancelClick();
    void SendEmailMessage();
    void sendingProgressed(qint64 sent);
    void sendingFinished(const tav::mail::SendOutcome& outcome);
    void endSending();

    std::unique_ptr<Ui::TSendEmail> m_ui;
    const tav::Settings& m_settings;
    tav::mail::SecretStore& m_secrets;
    QStringList m_entries;
    QList<QPixmap> m_icons;
    QPointer<tav::mail::SendJob> m_job;
    QPointer<TNewGauge> m_gauge;
    qint64 m_estimate = 0;
    qint64 m_divisor = 1;
};

namespace tav {

// Opens the sending window for attachments their caller described: one
// entry line each (see tav::mail::attachmentEntry) with its 32 x 32 icon,
// in the same order, shown and sent as they are. Returns true once the
// message was sent. Uses the desktop's secret store unless secrets is given.
bool sendEntriesByEmail(QWidget* parent, const Settings& settings, const QStringList& entries,
                        const QList<QPixmap>& icons, mail::SecretStore* secrets = nullptr);

} // namespace tav
