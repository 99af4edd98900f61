#include "booklet/ReminderNotice.h"

#include "booklet/ReminderNoticeModel.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "output/ReminderTexts.h"
#include "ui/FramedWindow.h"
#include "ui_ReminderNotice.h"

#include <QPointer>
#include <QThread>

#include <atomic>

namespace tav {

namespace {

// Reads the reminders on a thread of its own; owned by the window the
// notice opens over, so that closing the program stops and waits for it.
class ReminderLoader : public QObject
{
public:
    explicit ReminderLoader(QObject* parent) : QObject(parent)
    {
        setObjectName(QString::fromLatin1(kLoaderName));
    }
    static constexpr const char* kLoaderName = "ReminderLoader";
    ~ReminderLoader() override
    {
        m_stop = true;
        if (m_thread) {
            m_thread->wait();
            delete m_thread;
        }
    }

    void start(const QString& file, const QDate& today, std::function<void()> whenRead)
    {
        m_thread = QThread::create([this, file, today]() {
            try {
                Connection connection;
                connection.open(file);
                m_reminders =
                    ReminderStore(connection).noticedReminders(today, kNoticeDays, &m_stop);
                ReminderNoticeModel::arrange(m_reminders);
            } catch (const DbError&) {
                // The notice is a courtesy: a booklet that cannot be read
                // says so through the commands the user runs, not at every
                // start.
                m_reminders = NoticedReminders();
            }
        });
        connect(m_thread, &QThread::finished, this, std::move(whenRead));
        m_thread->start(QThread::LowPriority);
    }

    NoticedReminders takeReminders() { return std::move(m_reminders); }
    // The booklet read is being replaced: the read stops where it is and
    // what it read is never shown.
    void cancel()
    {
        m_cancelled = true;
        m_stop = true;
    }
    bool cancelled() const { return m_cancelled; }

private:
    std::atomic<bool> m_stop{false};
    bool m_cancelled = false;
    QThread* m_thread = nullptr;
    NoticedReminders m_reminders;
};

} // namespace

void ReminderNotice::showIfDue(QWidget* owner, Connection& connection, Settings& settings)
{
    // A closed booklet is being replaced (restore, import): what its file
    // holds now may be neither the old booklet nor the new one.
    if (!settings.reminderNotice || connection.filePath().isEmpty() || !connection.isOpen())
        return;
    const QDate today = Clock::today();
    auto* loader = new ReminderLoader(owner);
    const QPointer<QWidget> over(owner);
    loader->start(connection.filePath(), today, [loader, over, today, &settings]() {
        NoticedReminders reminders = loader->takeReminders();
        loader->deleteLater();
        // Turned off in the meantime, the booklet replaced since, or nothing
        // worth a notice.
        if (!over || !settings.reminderNotice || loader->cancelled() || reminders.rows.isEmpty())
            return;
        auto* notice = new ReminderNotice(std::move(reminders), today, settings, over);
        notice->setAttribute(Qt::WA_DeleteOnClose);
        // The notice takes the keyboard as it opens, so that Escape or Enter
        // closes it without reaching for the mouse.
        notice->show();
        notice->raise();
        notice->activateWindow();
        notice->m_ui->Btn_Close->setFocus(Qt::ActiveWindowFocusReason);
    });
}

void ReminderNotice::cancelPendingRead(QWidget* owner)
{
    if (!owner)
        return;
    const QList<QObject*> loaders = owner->findChildren<QObject*>(
        QString::fromLatin1(ReminderLoader::kLoaderName), Qt::FindDirectChildrenOnly);
    for (QObject* loader : loaders)
        static_cast<ReminderLoader*>(loader)->cancel();
}

ReminderNotice::ReminderNotice(NoticedReminders reminders, const QDate& today, Settings& settings,
                               QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReminderNotice>()),
      m_model(new ReminderNoticeModel(this))
{
    m_ui->setupUi(this);
    setModal(false);
    m_model->setReminders(std::move(reminders), today);
    m_ui->List_Reminders->setModel(m_model);
    m_ui->Lab_Notice->setText(m_model->summary());
    m_ui->Chk_NoNotice->setChecked(!settings.reminderNotice);
    connect(m_ui->Chk_NoNotice, &QCheckBox::toggled, this,
            [&settings](bool off) { settings.reminderNotice = !off; });
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    prepareWindow(this, false);
}

namespace {

NoticedReminders compact(const QVector<DueReminder>& due)
{
    NoticedReminders out;
    QHash<qint64, qint32> animals;
    QHash<QString, qint32> titles;
    for (const DueReminder& r : due) {
        if (!r.reminderDate.isValid())
            continue;
        auto animal = animals.constFind(r.animalId);
        if (animal == animals.cend() || r.animalId == 0) {
            animal = animals.insert(r.animalId, qint32(out.animalNames.size()));
            out.animalNames.append(r.animalName);
            out.animalIds.append(r.animalId);
        }
        auto title = titles.constFind(r.vaccineTitle);
        if (title == titles.cend()) {
            title = titles.insert(r.vaccineTitle, qint32(out.vaccineTitles.size()));
            out.vaccineTitles.append(r.vaccineTitle);
        }
        out.rows.append(
            {r.vaccinationId, r.reminderDate.toJulianDay(), animal.value(), title.value()});
    }
    ReminderNoticeModel::arrange(out);
    return out;
}

} // namespace

ReminderNotice::ReminderNotice(const QVector<DueReminder>& reminders, const QDate& today,
                               Settings& settings, QWidget* parent)
    : ReminderNotice(compact(reminders), today, settings, parent)
{}

ReminderNotice::~ReminderNotice() = default;

QStringList ReminderNotice::lines() const
{
    QStringList out;
    const QAbstractItemModel* model = m_ui->List_Reminders->model();
    for (int i = 0; i < model->rowCount(); ++i)
        out << model->index(i, 0).data().toString();
    return out;
}

} // namespace tav
