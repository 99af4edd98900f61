#pragma once

// The entry windows of one act of the ACTION table: a consultation
// (TEnterConsult) and a medicine purchase (TEnterDrugPharmacy).

#include "db/ReferenceUsage.h"

#include <QDialog>
#include <QStringList>

namespace tav {
class DataSet;
} // namespace tav

class QLabel;
class QLineEdit;
class QPushButton;

// Edits the row of the shared Action query that the caller has put into
// insert or edit state. Two reference fields show the text of a row of a
// reference table and are chosen from a pick list; the key of the line
// chosen is written to the act only when it is stored, so that a field not
// chosen again keeps its key. OK stores the row (a refusal of the database
// is shown and the window stays open with what was typed); Annuler, Escape
// and the close button cancel it.
class TActEntry : public QDialog
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

protected:
    TActEntry(tav::DataSet& action, const Reference& first, const Reference& second,
              int requiredReference, QWidget* parent);
    // Binds the fields once the member's form is set up.
    void setUpFields();
    bool eventFilter(QObject* watched, QEvent* event) override;
    tav::DataSet& action() const { return m_action; }

private:
    void applyOkRule();
    void showNoRepayment();
    void openDatePicker(const char* edit);
    QLineEdit* line(const char* name) const;

    tav::DataSet& m_action;
    Reference m_references[2];
    int m_required;
    QStringList m_ids[2];
    int m_chosen[2] = {-1, -1};
    QPushButton* m_ok = nullptr;
    QLabel* m_noRepayment = nullptr;
};

class TEnterConsult : public TActEntry
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

class TEnterDrugPharmacy : public TActEntry
{
    Q_OBJECT
public:
    static constexpr int Pharmacy = 0;
    static constexpr int Drug = 1;

    explicit TEnterDrugPharmacy(tav::DataSet& action, QWidget* parent = nullptr);
};
