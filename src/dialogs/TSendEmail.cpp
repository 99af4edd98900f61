#include "dialogs/TSendEmail.h"

#include "core/Settings.h"
#include "core/TextLookup.h"
#include "dialogs/PickList.h"
#include "mail/MailDraft.h"
#include "mail/MessageSource.h"
#include "mail/SecretStore.h"
#include "mail/SendJob.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui/TNewGauge.h"
#include "ui_TSendEmail.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kRowHeight = 45;
constexpr int kEntryRole = Qt::UserRole + 1;
constexpr QColor kCurrentBorder{167, 192, 233};
constexpr QColor kCurrentFill{231, 235, 248};
constexpr QColor kIconFrame{230, 229, 225};

// One attachment per row: an icon in a framed box with its shadow, the
// file name in bold and, under it, its type and size in italics.
class AttachmentDelegate : public QStyledItemDelegate
{
public:
    explicit AttachmentDelegate(QTableWidget* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QRect cell = option.rect;
        const QString entry = index.data(kEntryRole).toString();
        painter->save();
        painter->fillRect(cell, Qt::white);
        if (entry.isEmpty()) {
            painter->restore();
            return;
        }
        const bool current = m_grid->currentRow() == index.row();
        const QColor ground = current ? kCurrentFill : QColor(Qt::white);
        if (current) {
            const QRect inset = cell.adjusted(2, 2, -3, -3);
            painter->fillRect(inset, kCurrentFill);
            painter->setPen(kCurrentBorder);
            painter->drawRect(inset);
        }

        const QRect box(cell.left() + (current ? 6 : 4), cell.top() + 5, 34, 34);
        // Shadow: three lines darkening the ground outwards from the box.
        for (int i = 0; i < 3; ++i) {
            painter->setPen(ground.darker(130 - i * 10));
            painter->drawLine(box.right() + 1 + i, box.top() + 3 + i, box.right() + 1 + i,
                              box.bottom() + 1 + i);
            painter->drawLine(box.left() + 3 + i, box.bottom() + 1 + i, box.right() + 1 + i,
                              box.bottom() + 1 + i);
        }
        painter->fillRect(box, Qt::white);
        painter->setPen(kIconFrame);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        const QPixmap icon = index.data(Qt::DecorationRole).value<QPixmap>();
        if (!icon.isNull()) {
            const QPixmap scaled =
                icon.size() == QSize(32, 32) ? icon : icon.scaled(32, 32, Qt::KeepAspectRatio);
            painter->drawPixmap(box.left() + (34 - scaled.width()) / 2,
                                box.top() + (34 - scaled.height()) / 2, scaled);
        }

        const int right = m_grid->viewport()->width() - 4;
        const QRect line1(cell.left() + 45, cell.top() + 8, right - cell.left() - 45, 15);
        const QRect line2 = line1.translated(0, 15).adjusted(0, 0, 0, -3);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setBackground(ground);
        QFont bold(QStringLiteral("Arial"), 9);
        bold.setBold(true);
        painter->setFont(bold);
        const QString name = QFileInfo(tav::mail::attachmentField(entry, 1)).fileName();
        painter->drawText(line1, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(name, Qt::ElideMiddle, line1.width()));
        QFont italic(QStringLiteral("Arial"), 8);
        italic.setItalic(true);
        painter->setFont(italic);
        const QString detail = tav::mail::attachmentField(entry, 2) + QStringLiteral(" - ") +
                               tav::mail::attachmentField(entry, 3);
        painter->drawText(line2, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(detail, Qt::ElideRight, line2.width()));
        painter->restore();
    }

private:
    QTableWidget* m_grid;
};

void setPaleYellow(QLineEdit* edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, tav::paleYellow);
    edit->setPalette(palette);
}

} // namespace

TSendEmail::TSendEmail(const tav::Settings& settings, tav::mail::SecretStore& secrets,
                       QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TSendEmail>()), m_settings(settings),
      m_secrets(secrets)
{
    m_ui->setupUi(this);
    for (QLineEdit* edit : {m_ui->Ed_To, m_ui->Ed_CC, m_ui->Ed_Subject})
        setPaleYellow(edit);
    m_ui->Img_Priority->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));

    QTableWidget* grid = m_ui->Grid_AttachmentsList;
    grid->setColumnCount(1);
    grid->setRowCount(2);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setShowGrid(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setItemDelegate(new AttachmentDelegate(grid));
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, Qt::white);
    grid->setPalette(palette);
    connect(grid, &QTableWidget::currentCellChanged, grid->viewport(),
            qOverload<>(&QWidget::update));

    connect(m_ui->Ed_To, &QLineEdit::textChanged, this, &TSendEmail::Ed_ToChange);
    connect(m_ui->Ed_Subject, &QLineEdit::textChanged, this, &TSendEmail::Ed_ToChange);
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &TSendEmail::Btn_OkClick);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &TSendEmail::Btn_CancelClick);
    tav::prepareWindow(this, false);
    Ed_ToChange();
}

TSendEmail::~TSendEmail() = default;

void TSendEmail::addAttachment(const QString& entry, const QPixmap& icon)
{
    m_entries.append(entry);
    m_icons.append(icon);
    QTableWidget* grid = m_ui->Grid_AttachmentsList;
    const int row = static_cast<int>(m_entries.size()) - 1;
    if (grid->rowCount() <= row)
        grid->setRowCount(row + 1);
    auto* item = new QTableWidgetItem(QFileInfo(tav::mail::attachmentField(entry, 1)).fileName());
    item->setData(kEntryRole, entry);
    item->setData(Qt::DecorationRole, icon);
    item->setToolTip(tav::mail::attachmentField(entry, 1));
    grid->setItem(row, 0, item);
    if (row == 0)
        grid->setCurrentCell(0, 0);
}

bool TSendEmail::isSending() const
{
    return m_job && m_job->isRunning();
}

void TSendEmail::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Ed_ToChange();
}

void TSendEmail::Ed_ToChange()
{
    m_ui->Btn_Ok->setEnabled(
        !isSending() && (!m_ui->Ed_To->text().isEmpty() || !m_ui->Ed_Subject->text().isEmpty()));
}

void TSendEmail::Btn_OkClick()
{
    if (!isSending())
        SendEmailMessage();
}

void TSendEmail::Btn_CancelClick()
{
    reject();
}

void TSendEmail::reject()
{
    // While sending, "Annuler" stops the sending and keeps what was typed;
    // the window closes only when nothing is going on.
    if (m_job) {
        m_job->cancel();
        return;
    }
    QDialog::reject();
}

void TSendEmail::SendEmailMessage()
{
    tav::mail::Draft draft;
    draft.to = m_ui->Ed_To->text();
    draft.copy = m_ui->Ed_CC->text();
    draft.subject = m_ui->Ed_Subject->text();
    draft.body = m_ui->Memo_Body->toPlainText();
    draft.highPriority = m_ui->Check_Priority->isChecked();
    draft.readReceipt = m_ui->Check_Confirm->isChecked();
    draft.entries = m_entries;

    tav::mail::MailMessage message;
    QString error;
    if (!tav::mail::buildMessage(m_settings, draft, &message, &error)) {
        tav::MessageBox::error(this, error);
        return;
    }
    tav::mail::ComposeResult composed = tav::mail::compose(message);
    if (!composed.source) {
        tav::MessageBox::error(this, composed.error);
        return;
    }

    m_gauge = new TNewGauge(this);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setTitle(tav::texts::sendingMessage());
    m_estimate = tav::mail::sizeEstimate(m_entries);
    // The bar holds an int: a message of several gigabytes is shown in
    // larger steps instead of wrapping.
    m_divisor = tav::mail::progressDivisor(m_estimate + 1);
    if (m_estimate > 0) {
        m_gauge->setMaximum(static_cast<int>((m_estimate + 1) / m_divisor));
        m_gauge->setPosition(1);
        m_gauge->show();
    }

    m_job =
        new tav::mail::SendJob(tav::mail::smtpServer(m_settings, m_secrets), message.from.address,
                               message.envelopeRecipients(), std::move(composed.source), this);
    connect(m_job, &tav::mail::SendJob::progressed, this, &TSendEmail::sendingProgressed);
    connect(m_job, &tav::mail::SendJob::finished, this, &TSendEmail::sendingFinished);
    m_job->start();
    Ed_ToChange();
}

void TSendEmail::sendingProgressed(qint64 sent)
{
    if (m_gauge && m_estimate > 0)
        m_gauge->setPosition(static_cast<int>(std::min(sent, m_estimate + 1) / m_divisor));
}

void TSendEmail::sendingFinished(const tav::mail::SendOutcome& outcome)
{
    endSending();
    if (outcome.ok) {
        tav::MessageBox::information(
            this, tav::lookupText(QStringLiteral("SendEmail"), QStringLiteral("Message1"),
                                  QStringLiteral("Le message a bien été expédié.")));
        accept();
        return;
    }
    // A cancel asked by the user needs no message; anything else is shown
    // with its own text and the window stays as it was.
    if (!outcome.cancelled)
        tav::MessageBox::error(this, outcome.message);
}

void TSendEmail::endSending()
{
    if (m_gauge) {
        m_gauge->hide();
        delete m_gauge;
    }
    if (m_job)
        m_job->deleteLater();
    m_job = nullptr;
    Ed_ToChange();
}

namespace tav {

bool sendEntriesByEmail(QWidget* parent, const Settings& settings, const QStringList& entries,
                        const QList<QPixmap>& icons, mail::SecretStore* secrets)
{
    TSendEmail window(settings, secrets ? *secrets : mail::secretStore(), parent);
    for (qsizetype i = 0; i < entries.size(); ++i)
        window.addAttachment(entries.at(i), icons.value(i));
    return window.exec() == QDialog::Accepted;
}

} // namespace tav
