#pragma once

#include "migration/JetReader.h"

#include <QString>
#include <QVariant>
#include <QVector>

namespace tav::test {

// A small writer of Jet 4 (Access 2000) database files, for tests only: the
// program itself never writes Jet. It writes what the readers need and no
// more: the header page, the catalog of tables, one definition page per
// table without indexes, data pages with their usage maps, and long values
// kept in the row, on one long-value page, or on a chain of them.
struct JetWriteColumn
{
    QString name;
    JetColumnType type = JetColumnType::Text;
    int size = 255;          // characters, for Text
    bool autoNumber = false; // Long only
    bool compressed = false; // Text and Memo: Jet's Unicode compression where it applies
};

// Values: an invalid QVariant for NULL, bool, integers, double, qint64
// ten-thousandths for Money, QDate or QDateTime, QString, QByteArray.
struct JetWriteTable
{
    QString name;
    QVector<JetWriteColumn> columns;
    QVector<QVariantList> rows;
};

// Writes the file; false with a reason in error.
bool writeJetFile(const QString& path, const QVector<JetWriteTable>& tables, QString* error);

// The same bytes, for tests that damage them.
QByteArray jetFileBytes(const QVector<JetWriteTable>& tables, QString* error);

} // namespace tav::test
