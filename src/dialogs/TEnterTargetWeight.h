#pragma once

#include "core/WeightBand.h"

#include <QDialog>

class QLineEdit;

namespace tav {

class Connection;

// The target weight band of one animal, typed in the card's weight format.
// OK stores it, or shows why it cannot and keeps the window open with what
// was typed, nothing stored; Annuler leaves the band as it was.
class TEnterTargetWeight : public QDialog
{
    Q_OBJECT
public:
    TEnterTargetWeight(Connection& connection, qint64 animalId, QWidget* parent = nullptr);

    void Btn_OkClick();

private:
    Connection& m_connection;
    qint64 m_animal;
    QLineEdit* m_min = nullptr;
    QLineEdit* m_max = nullptr;
};

// Opens the window for the animal; true when a band was stored.
bool editTargetWeight(QWidget* parent, Connection& connection, qint64 animalId);

} // namespace tav
