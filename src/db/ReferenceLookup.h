#pragma once

#include "db/ReferenceUsage.h"

#include <QString>
#include <QVector>

namespace tav {

class Connection;

// One line of a reference pick list and the key it stands for.
struct ReferenceLine
{
    qint64 id = 0;
    QString text;
};

// Every row of a reference table in the order of its name or title, each
// shown as "Name (Category)" — for pathologies "Title (Gravity)" — or the
// name alone when the second part is empty. Throws DbError.
QVector<ReferenceLine> referenceLines(Connection& connection, ReferenceKind kind);

// The text of one row as the pick list shows it; empty when no row has
// that key (a new act, or a row deleted since). Throws DbError.
QString referenceText(Connection& connection, ReferenceKind kind, qint64 id);

} // namespace tav
