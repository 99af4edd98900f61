#include "booklet/pages/CardPage.h"

#include "booklet/AppContext.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/PickList.h"
#include "dialogs/RememberedValues.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace tav {

CardPage::CardPage(AppContext& context, int index, const QString& caption, QWidget* parent)
    : BookletPage(index, caption, parent), m_context(context)
{}

bool CardPage::hasModule() const
{
    return m_context.module1 != nullptr;
}

bool CardPage::hasAnimal() const
{
    return hasModule() && animal().isOpen() && !animal().isEmpty();
}

void CardPage::updateActions(bool animalPresent)
{
    // The fields write into the current animal's row: with none they would
    // look editable and silently keep nothing.
    setEnabled(animalPresent);
}

DataModule1& CardPage::module() const
{
    return *m_context.module1;
}

DataSet& CardPage::animal() const
{
    return module().animal();
}

QLineEdit* CardPage::edit(const QString& name) const
{
    return findChild<QLineEdit*>(name);
}

void CardPage::bind(QWidget* field, const QString& column)
{
    if (hasModule() && field)
        FieldBinding::bind(field, animal(), column);
}

void CardPage::wireFields()
{
    for (QToolButton* b : findChildren<QToolButton*>()) {
        if (!b->objectName().startsWith(QLatin1String("Btn_")))
            continue;
        connect(b, &QToolButton::clicked, this, [this, b]() { Btn_Misc01Click(b->objectName()); });
    }
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (e->objectName().startsWith(QLatin1String("Ed_")))
            e->installEventFilter(this);
    }
}

bool CardPage::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of every field passes here, paints included: only the
    // two that may open a list are looked at.
    if (event->type() != QEvent::MouseButtonDblClick && event->type() != QEvent::KeyPress)
        return BookletPage::eventFilter(watched, event);
    auto* e = qobject_cast<QLineEdit*>(watched);
    if (!e)
        return BookletPage::eventFilter(watched, event);
    const QString button = QStringLiteral("Btn_") + e->objectName().mid(3);
    // Only fields with a list or a picker react; elsewhere a double-click
    // selects a word and Enter does what it does in any field.
    if (!findChild<QToolButton*>(button))
        return BookletPage::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        Ed_Misc01DblClick(e->objectName());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Btn_Misc01Click(button);
            return true;
        }
    }
    return BookletPage::eventFilter(watched, event);
}

void CardPage::openRememberedValues(const QString& fieldName, const QString& key)
{
    showPickList(edit(fieldName), true, QString(), &animal(),
                 &module().dataSet(QStringLiteral("ComboItems")), key);
}

void CardPage::editRememberedValues(const QString& title, const QString& key)
{
    tav::editRememberedValues(window(), title, key, module().dataSet(QStringLiteral("ComboItems")));
}

} // namespace tav
