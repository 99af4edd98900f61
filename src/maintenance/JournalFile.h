#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

// The small record files that let an operation cut short be finished or
// undone at the next start. Each record is a list of fields; every field is
// written percent-encoded, so that no path (a tab, a line break, a "%" in a
// folder's name) can break a record or be read as another.

// Writes the records under a temporary name, then puts the file in place.
bool writeJournal(const QString& path, const QVector<QStringList>& records);

// The records of a journal. Journals written before the fields were
// encoded (raw fields between tabs) are read as well. False when the file
// cannot be read.
bool readJournal(const QString& path, QVector<QStringList>* records);

} // namespace tav
