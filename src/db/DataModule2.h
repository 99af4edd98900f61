#pragma once

#include "db/DataModule.h"

namespace tav {

// The data sets of the reimbursement and reminder tables.
class DataModule2 : public DataModule
{
    Q_OBJECT
public:
    explicit DataModule2(Connection& connection, QObject* parent = nullptr);
};

// The data sets handed to the report engine.
class DataModuleReport : public DataModule
{
    Q_OBJECT
public:
    explicit DataModuleReport(Connection& connection, QObject* parent = nullptr);
};

} // namespace tav
