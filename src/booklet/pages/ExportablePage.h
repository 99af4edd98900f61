#pragma once

#include "output/CsvExport.h"

#include <QString>

namespace tav {

// A page whose grid can be written as a spreadsheet file.
class ExportablePage
{
public:
    virtual ~ExportablePage() = default;
    // The file name offered, without folder: "Actes - Médor.csv".
    virtual QString exportFileName() const = 0;
    // The grid as shown: visible columns, in order, every row.
    virtual CsvTable exportTable() const = 0;

protected:
    // "Actes - Médor.csv": the page's name, then the animal's name with the
    // characters that no file system takes replaced.
    static QString fileNameFor(const QString& page, const QString& animalName);
};

} // namespace tav
