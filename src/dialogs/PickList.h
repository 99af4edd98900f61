#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QLineEdit;
class TStrList;

namespace tav {

class DataSet;

// Background of the pick lists and of the remembered-values editor.
inline constexpr QColor paleYellow{255, 255, 242};

// Opens a pick list under the field, as wide as it, shrunk to its lines
// when it has fewer than eight. With a key the lines are the remembered
// values of that key (sorted when asked) after one empty line; without a
// key they are the fixed lines, separated by carriage returns. When record
// is given and not being edited or inserted, it is put into edit state
// first, so that the chosen line lands in the row.
//
// Returns the list, which deletes itself when it closes; a failure (no
// row to edit, an unknown key) is shown to the user and gives nullptr.
TStrList* showPickList(QLineEdit* target, bool sorted, const QString& fixedLines,
                       DataSet* record = nullptr, DataSet* comboItems = nullptr,
                       const QString& key = QString());
// The same with lines already split.
TStrList* showPickList(QLineEdit* target, bool sorted, const QStringList& lines,
                       DataSet* record = nullptr);

} // namespace tav
