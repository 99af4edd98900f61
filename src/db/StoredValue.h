#pragma once

#include "db/FieldDef.h"

#include <QVariant>

namespace tav {

// The value written into a field's column for a value set by a window or
// a rule: texts typed by the user are checked and converted here (numbers
// with a decimal comma, dates "dd/mm/yyyy", "Oui"/"Non"). A value that
// does not fit throws DbError with a French message naming the field by
// its caption.
QVariant storedValue(const Field& field, const QVariant& value);

} // namespace tav
