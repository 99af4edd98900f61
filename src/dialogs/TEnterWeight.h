#pragma once

#include "core/MeasureKind.h"

#include <QDate>
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tav {

class DataSet;

// Edits one measure of the current animal, a weight (query Weight) or a
// size (query Size), on the row the caller has put into insert
// or edit state. OK stores the row, or shows why it cannot and keeps the
// window open with what was typed; Annuler, Escape and the close button
// cancel it.
class TEnterWeight : public QDialog
{
    Q_OBJECT
public:
    static constexpr MeasureKind Weight = MeasureKind::Weight;
    static constexpr MeasureKind Size = MeasureKind::Size;

    TEnterWeight(DataSet& measures, MeasureKind measureKind, QWidget* parent = nullptr);

    MeasureKind measureKind() const { return m_kind; }
    // A measure cannot be dated before the animal was born.
    void setBirthDate(const QDate& birth) { m_birth = birth; }

    QPushButton* okButton() const { return m_ok; }

    void Btn_OkClick();
    void reject() override;

    // Why a typed measure value cannot be stored with the given number of
    // decimals, or an empty text when it can. The value is read as typed:
    // "12,4567" has four decimals whatever it rounds to.
    static QString decimalsProblem(const QString& typed, int decimals, const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString dateColumn() const;
    QString valueColumn() const;
    // Checks the row can be stored; the French reason when it cannot.
    QString problem() const;

    DataSet& m_row;
    MeasureKind m_kind;
    QDate m_birth;
    QLineEdit* m_date = nullptr;
    QLineEdit* m_value = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace tav
