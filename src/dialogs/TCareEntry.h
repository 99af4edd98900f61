#pragma once

// The entry windows of one care row: a consultation (TEnterConsult) and a
// medicine purchase (TEnterDrugPharmacy) of the ACTION table, and a
// vaccination (TEnterVaccineExe) of the VACCINE table.

#include "db/ReferenceUsage.h"

#include <QDialog>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace tav {
class DataModule1;
class DataSet;
} // namespace tav

class QLabel;
class QLineEdit;
class QPushButton;

// Edits the row of a shared query (Action, Vaccine) that the caller has put
// into insert or edit state. Two reference fields show the text of a row of a
// reference table and are chosen from a pick list; the key of the line
// chosen is written to the act only when it is stored, so that a field not
// chosen again keeps its key. OK stores the row (a refusal of the database
// is shown and the window stays open with what was typed); Annuler, Escape
// and the close button cancel it.
class TCareEntry : public QDialog
{
    Q_OBJECT

public:
    // A reference field of the window and where its key goes.
    struct Reference
    {
        tav::ReferenceKind kind;
        const char* edit;   // "Ed_Doctor"
        const char* button; // "Btn_Doctor"
        const char* column; // "Id_Org"
    };

    QPushButton* okButton() const { return m_ok; }
    // The keys of the lines of the last pick list of a reference field, and
    // the line chosen since the window opened (-1: none).
    const QStringList& ids(int reference) const { return m_ids[reference]; }
    int chosenIndex(int reference) const { return m_chosen[reference]; }
    QString noRepaymentText() const;

    void Btn_OkClick();
    void reject() override;
    // Opens the pick list of a reference field.
    void openReferenceList(int reference);
    // Lets an empty reference pick list offer to add a row in place, through
    // the table's edit window, the new row then being the one chosen.
    void offerAddingReferences(tav::DataModule1& module) { m_module = &module; }

protected:
    TCareEntry(tav::DataSet& row, const Reference& first, const Reference& second,
               int requiredReference, int listExtraWidth, QWidget* parent);
    // Binds each named field to its column and the date fields to the date
    // picker, once the member's form is set up.
    void setUpFields(std::initializer_list<std::pair<const char*, const char*>> bound,
                     std::initializer_list<const char*> dates);
    bool eventFilter(QObject* watched, QEvent* event) override;
    tav::DataSet& row() const { return m_row; }

private:
    void applyOkRule();
    void addReference(int reference);
    void showNoRepayment();
    void openDatePicker(QLineEdit* edit);
    QLineEdit* line(const char* name) const;

    tav::DataSet& m_row;
    Reference m_references[2];
    int m_required;
    int m_listExtraWidth;
    QList<QLineEdit*> m_dates;
    QStringList m_ids[2];
    int m_chosen[2] = {-1, -1};
    QPushButton* m_ok = nullptr;
    QLabel* m_okReason = nullptr;
    QLabel* m_noRepayment = nullptr;
    tav::DataModule1* m_module = nullptr;
};

class TEnterConsult : public TCareEntry
{
    Q_OBJECT
public:
    static constexpr int Doctor = 0;
    static constexpr int Illness = 1;

    TEnterConsult(tav::DataSet& action, tav::DataSet& comboItems, QWidget* parent = nullptr);

    void Btn_GravityClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tav::DataSet& m_comboItems;
};

class TEnterDrugPharmacy : public TCareEntry
{
    Q_OBJECT
public:
    static constexpr int Pharmacy = 0;
    static constexpr int Drug = 1;

    explicit TEnterDrugPharmacy(tav::DataSet& action, QWidget* parent = nullptr);
};

class TEnterVaccineExe : public TCareEntry
{
    Q_OBJECT
public:
    static constexpr int Doctor = 0;
    static constexpr int Vaccine = 1;

    explicit TEnterVaccineExe(tav::DataSet& vaccine, QWidget* parent = nullptr);
};
