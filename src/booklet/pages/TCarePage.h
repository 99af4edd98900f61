#pragma once

#include "booklet/pages/GridPage.h"

class QLabel;
class QMenu;
class QToolButton;

namespace tav {

// The "Actes" and "Médicaments" pages: the current animal's consultations
// (tag 1) or medicine purchases (tag 2), added, changed and deleted through
// their entry window, with the two reimbursements recorded from a menu and
// the year's totals beside the buttons.
class TCarePage : public GridPage
{
    Q_OBJECT
public:
    ~TCarePage() override;

    QString exportFileName() const override;

    QMenu* repaymentMenu() const { return m_menu; }
    // Whether the current row waits for a reimbursement of either payer.
    bool currentRowOpen() const;
    // Recording a reimbursement needs a row a payer has still to pay back.
    void updateActions(bool animalPresent) override;

    void addClick();
    void editClick();
    void deleteClick();
    void pinClick();
    void recordRepayment(int kind);

protected:
    struct Definition
    {
        int tag;
        const char* prefix;  // "Consult"
        const char* display; // "ConsultQuery"
        const char* exportName;
    };
    TCarePage(AppContext& context, const Definition& definition, int index, const QString& caption,
              QWidget* parent);
    // Finds the components once the member's form is set up.
    void setUp();
    QVector<DataSet::FilterTerm> filter(qint64 animalId) const override;
    void afterLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runEntry(DataSet& action);
    void prepareMenu();
    QString name(const char* suffix) const;

    Definition m_definition;
    QLabel* m_totals = nullptr;
    QToolButton* m_pin = nullptr;
    QMenu* m_menu = nullptr;
};

class TConsultPage : public TCarePage
{
    Q_OBJECT
public:
    TConsultPage(AppContext& context, int index, QWidget* parent = nullptr);
};

class TPharmacyPage : public TCarePage
{
    Q_OBJECT
public:
    TPharmacyPage(AppContext& context, int index, QWidget* parent = nullptr);
};

} // namespace tav
