#pragma once

#include "JetWriter.h"

#include <QVariantMap>

namespace tav::test {

// The booklet's tables as the Windows versions declared them in Jet: the
// columns of the schema, with the owner keys (Id_Ref) as short integers
// except in L_ANALYSIS, and texts kept with Jet's Unicode compression.
QVector<JetWriteTable> jetBookletTables();

// Adds a row by column names; columns not named are NULL.
void addJetRow(QVector<JetWriteTable>& tables, const QString& table, const QVariantMap& values);

// The BMP picture of a plain coloured square.
QByteArray bmpSquare(int side, Qt::GlobalColor colour);

// A picture wrapped as Access wraps a pasted "Paint.Picture" object.
QByteArray oleWrapped(const QByteArray& bmp);

// A booklet of three animals with every kind of record, written into
// folder as "TAVIRUNE.MDB" with its "Images" and "Files" folders, names of
// files in other cases than the program's. Returns the database path.
QString writeSampleBooklet(const QString& folder);

// The memo of Médor: longer than the library's default bind size.
QString longMemo();

} // namespace tav::test
