#include "dialogs/RememberedValues.h"

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TComboList.h"
#include "ui/MessageBox.h"

#include <QRegularExpression>

#include <algorithm>

namespace tav {

namespace {

bool lessIgnoringCase(const QString& a, const QString& b)
{
    return compareFrench(a, b) < 0;
}

// Opens the data set on fresh rows and checks that the key names one of
// its memo columns.
void openForKey(DataSet& comboItems, const QString& key)
{
    comboItems.close();
    comboItems.open();
    const int index = comboItems.fieldIndex(key);
    const bool valid = index >= 0 && comboItems.field(index).type == JetType::Memo;
    if (!valid) {
        comboItems.close();
        throw DbError(QStringLiteral("La liste de valeurs « %1 » n'existe pas.").arg(key));
    }
}

} // namespace

QStringList splitLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList sortedIgnoringCase(QStringList lines)
{
    std::stable_sort(lines.begin(), lines.end(), lessIgnoringCase);
    return lines;
}

QStringList sortedUniqueIgnoringCase(const QStringList& lines)
{
    QStringList sorted = sortedIgnoringCase(lines);
    // Equal lines are neighbours once sorted, the first one typed in front.
    const auto equal = [](const QString& a, const QString& b) {
        return compareFrench(a, b) == 0;
    };
    sorted.erase(std::unique(sorted.begin(), sorted.end(), equal), sorted.end());
    return sorted;
}

QStringList rememberedValues(DataSet& comboItems, const QString& key)
{
    openForKey(comboItems, key);
    const QString text = comboItems.isEmpty() ? QString() : comboItems.asString(key);
    comboItems.close();
    return splitLines(text);
}

void storeRememberedValues(DataSet& comboItems, const QString& key, const QString& text)
{
    openForKey(comboItems, key);
    QString stored = text;
    stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    stored.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    try {
        if (comboItems.isEmpty())
            comboItems.append();
        else
            comboItems.edit();
        comboItems.setValue(key, stored);
        comboItems.post();
    } catch (const DbError&) {
        comboItems.cancel();
        comboItems.close();
        throw;
    }
    comboItems.close();
}

bool editRememberedValues(QWidget* parent, const QString& title, const QString& key,
                          DataSet& comboItems)
{
    QStringList values;
    try {
        values = rememberedValues(comboItems, key);
    } catch (const DbError& e) {
        showError(parent, e.message());
        return false;
    }
    TComboList window(parent);
    window.setTitle(QLatin1Char(' ') + title);
    window.setValues(values);
    if (window.exec() != QDialog::Accepted)
        return false;
    try {
        storeRememberedValues(comboItems, key, window.text());
    } catch (const DbError& e) {
        showError(parent, e.message());
        return false;
    }
    return true;
}

} // namespace tav
