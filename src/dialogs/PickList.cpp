#include "dialogs/PickList.h"

#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/RememberedValues.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QLineEdit>

namespace tav {

namespace {

TStrList* open(QLineEdit* target, bool sorted, const QStringList& lines, bool emptyLineFirst,
               DataSet* record)
{
    if (record && !record->isEditing()) {
        try {
            record->edit();
        } catch (const DbError& e) {
            showError(target, e.message());
            return nullptr;
        }
    }

    auto* list = new TStrList(target);
    list->setListColour(paleYellow);
    list->setFitToItems(true);
    list->setSorted(sorted);
    list->setLines(lines);
    if (emptyLineFirst)
        list->insertLine(0, QString());

    const QPoint fieldTopLeft = target->mapToGlobal(QPoint(0, 0));
    list->setGeometry(fieldTopLeft.x(), fieldTopLeft.y() + target->height(), target->width(),
                      list->height());
    list->setTargetEdit(target);
    target->setFocus();
    target->selectAll();
    list->popup();
    return list;
}

} // namespace

TStrList* showPickList(QLineEdit* target, bool sorted, const QString& fixedLines, DataSet* record,
                       DataSet* comboItems, const QString& key)
{
    if (!target)
        return nullptr;
    if (key.isEmpty() || !comboItems)
        return open(target, sorted, splitLines(fixedLines), false, record);

    QStringList values;
    try {
        values = rememberedValues(*comboItems, key);
    } catch (const DbError& e) {
        showError(target, e.message());
        return nullptr;
    }
    return open(target, sorted, values, true, record);
}

TStrList* showPickList(QLineEdit* target, bool sorted, const QStringList& lines, DataSet* record)
{
    if (!target)
        return nullptr;
    return open(target, sorted, lines, false, record);
}

} // namespace tav
