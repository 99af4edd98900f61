#pragma once

#include "db/FieldDef.h"

#include <QStringList>
#include <QVector>

namespace tav {

// The statement, as lines, and the fields of one named data set.
struct DataSetDefinition
{
    QString name;
    QStringList sql;
    QVector<FieldDef> fields;
};

// The data sets of the main module, the tables module and the report module,
// in the order the modules create them.
QVector<DataSetDefinition> mainModuleDataSets();
QVector<DataSetDefinition> tablesModuleDataSets();
QVector<DataSetDefinition> reportModuleDataSets();

// The default money format of the modules; the main window replaces it with
// one that carries the currency symbol.
inline QString plainMoneyFormat()
{
    return QStringLiteral("#######0.00");
}

} // namespace tav
