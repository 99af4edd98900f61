#pragma once

#include "core/MeasureCurve.h"
#include "core/MeasureKind.h"

#include <QString>
#include <QVector>

namespace tav {

class Connection;

// The columns of one kind of measure, named here once for the pages, the
// curve window, the measure entry and the outputs that read them.
struct MeasureColumns
{
    QString table;      // WEIGHT or SIZE; also the name of its data set
    QString date;       // the measure's date
    QString value;      // the measure
    QString birthValue; // ANIMAL's value at birth
    QString mode;       // ANIMAL's stored curve mode
};
const MeasureColumns& measureColumns(MeasureKind kind);
// The key of the animal a measure belongs to, in both tables.
inline const QString kMeasureAnimalKey = QStringLiteral("Id_Ref");

// What the growth curves of one animal read outside the booklet's queries:
// its weights or sizes in date order, its birth point and its stored mode.
class MeasureStore
{
public:
    struct Animal
    {
        bool found = false;
        QString birthDate;                // as stored: "dd/mm/yyyy", possibly with blanks
        QString birthValue;               // empty when none
        CurveMode mode = CurveMode::None; // the stored mode
        QString title;                    // "Name ForeName"
    };

    explicit MeasureStore(Connection& connection);

    // Throws DbError.
    QVector<Measure> measures(qint64 animalId, MeasureKind kind) const;
    Animal animal(qint64 animalId, MeasureKind kind) const;

private:
    Connection& m_connection;
};

// The text of a stored number as the curve reads it; empty for no value.
QString measureNumberText(const QVariant& value);

} // namespace tav
