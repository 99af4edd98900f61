#pragma once

#include "core/MeasureCurve.h"
#include "core/MeasureKind.h"

#include <QString>
#include <QVector>

namespace tav {

class Connection;

// What the growth curves of one animal read outside the booklet's queries:
// its weights or sizes in date order, its birth point and its stored mode.
class MeasureStore
{
public:
    struct Animal
    {
        bool found = false;
        QString birthDate;  // as stored: "dd/mm/yyyy", possibly with blanks
        QString birthValue; // empty when none
        int mode = 0;       // the stored mode; 0 when never chosen
        QString title;      // "Name ForeName"
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
