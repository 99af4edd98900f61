#include "booklet/pages/TCustomPage.h"

#include "booklet/AppContext.h"
#include "db/CardStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TEnterStr.h"
#include "ui/MessageBox.h"
#include "ui_TCustomPage.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tav {

namespace {

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

TCustomPage::TCustomPage(AppContext& context, int index, QWidget* parent)
    : CardPage(context, index, QString::fromUtf8("Personnalisé"), parent),
      m_ui(std::make_unique<Ui::TCustomPage>())
{
    m_ui->setupUi(this);
    for (int i = 1; i <= 12; ++i) {
        const QString nn = twoDigits(i);
        const QString column = QStringLiteral("Misc") + nn;
        bind(i <= 10 ? static_cast<QWidget*>(edit(QStringLiteral("Ed_Misc") + nn))
                     : findChild<QPlainTextEdit*>(QStringLiteral("Memo_Divers") + nn),
             column);
        findChild<QLabel*>(QStringLiteral("Lab_Misc") + nn)->installEventFilter(this);
    }
    wireFields();
}

TCustomPage::~TCustomPage() = default;

bool TCustomPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* label = qobject_cast<QLabel*>(watched);
            label && label->objectName().startsWith(QLatin1String("Lab_Misc"))) {
            Lab_Misc01DblClick(label);
            return true;
        }
    }
    return CardPage::eventFilter(watched, event);
}

void TCustomPage::Btn_Misc01Click(const QString& buttonName)
{
    if (!hasAnimal() || !buttonName.startsWith(QLatin1String("Btn_Misc")))
        return;
    const QString nn = buttonName.mid(8, 2);
    openRememberedValues(QStringLiteral("Ed_Misc") + nn, QStringLiteral("Misc") + nn);
}

void TCustomPage::Ed_Misc01DblClick(const QString& fieldName)
{
    if (!hasModule() || !fieldName.startsWith(QLatin1String("Ed_Misc")))
        return;
    const QString nn = fieldName.mid(7, 2);
    // The editor is titled by the field's own caption.
    const auto* label = findChild<QLabel*>(QStringLiteral("Lab_Misc") + nn);
    editRememberedValues(label ? label->text() : QString(), QStringLiteral("Misc") + nn);
}

void TCustomPage::Lab_Misc01DblClick(QLabel* label)
{
    if (!hasModule())
        return;
    QString text = label->text();
    if (!enterString(window(), QStringLiteral("Modifiez le libellé"), text))
        return;
    try {
        CardStore(*m_context.connection).setCustomLabel(label->objectName().right(2).toInt(), text);
        label->setText(text);
    } catch (const DbError& e) {
        showError(window(), e.message());
    }
}

void TCustomPage::startPage()
{
    LoadCustomLabels();
}

void TCustomPage::LoadCustomLabels()
{
    if (!hasModule())
        return;
    try {
        const QStringList labels = CardStore(*m_context.connection).customLabels();
        for (int i = 1; i <= CardStore::CustomLabelCount; ++i) {
            if (auto* label = findChild<QLabel*>(QStringLiteral("Lab_Misc") + twoDigits(i)))
                label->setText(labels.value(i - 1));
        }
    } catch (const DbError& e) {
        showError(window(), e.message());
    }
}

} // namespace tav
