#pragma once

#include "booklet/pages/BookletPage.h"
#include "booklet/pages/ExportablePage.h"

class QLabel;
class QMenu;
class QTableView;
class QToolButton;

namespace tav {

struct AppContext;
class DataSet;
class DataSetModel;

// The "Actes" and "Médicaments" pages: the current animal's consultations
// (tag 1) or medicine purchases (tag 2), added, changed and deleted through
// their entry window, with the two reimbursements recorded from a menu and
// the year's totals beside the buttons.
class TCarePage : public BookletPage, public ExportablePage
{
    Q_OBJECT
public:
    ~TCarePage() override;

    void refresh() override;
    // Reads the display query again for the current animal and makes the
    // row of that key current (-1: the first row).
    void load(qint64 selectId);

    QString exportFileName() const override;
    CsvTable exportTable() const override;

    DataSet& display() const;
    QTableView* grid() const { return m_grid; }
    QMenu* repaymentMenu() const { return m_menu; }
    // Whether the current row waits for a reimbursement of either payer.
    bool currentRowOpen() const;

    void addClick();
    void editClick();
    void deleteClick();
    void pinClick();
    void recordRepayment(int kind);

signals:
    // A command changed what the main window's commands depend on.
    void controlsChanged();

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasAnimal() const;
    qint64 animalId() const;
    qint64 currentId() const;
    bool runEntry(DataSet& action);
    void showTotals();
    void prepareMenu();
    QString name(const char* suffix) const;

    AppContext& m_context;
    Definition m_definition;
    QTableView* m_grid = nullptr;
    QLabel* m_totals = nullptr;
    QToolButton* m_pin = nullptr;
    QMenu* m_menu = nullptr;
    DataSetModel* m_model = nullptr;
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
