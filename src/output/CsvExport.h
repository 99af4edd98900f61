#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tav {

class DataSet;

// A grid as columns titled by their captions and rows of stored values.
struct CsvTable
{
    QStringList headers;
    QVector<QVariantList> rows;
};

// The visible columns of an open data set, in their order, with their
// captions and the rows' values (calculated columns included).
CsvTable csvTableFromDataSet(const DataSet& dataSet);

// The table as a spreadsheet opens it in France: fields separated by ";",
// UTF-8 with a byte-order mark, lines ending in CR LF, numbers with a
// decimal comma, dates dd/mm/yyyy, every field quoted when it holds a
// separator, a quote or a line break, quotes doubled. Text that a
// spreadsheet would run as a formula gets a leading apostrophe.
QByteArray frenchCsv(const CsvTable& table);

// Writes the file under a temporary name, then puts it in place. False with
// a French reason when it cannot be written; nothing is left half-written.
bool writeCsvFile(const QString& path, const CsvTable& table, QString* error);

} // namespace tav
