#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TEnterRepayment;
}

namespace tav {
class DataSet;
} // namespace tav

// Confirms one of the two reimbursements of an act: 1 the primary
// insurer, 2 the complementary one. Its fields are bound to the act the
// caller has put into edit state. OK marks the act reimbursed and stores
// it; a refused date or amount is shown and the window stays open with what
// was typed, like every entry window. Annuler leaves the row to the caller.
class TEnterRepayment : public QDialog
{
    Q_OBJECT

public:
    TEnterRepayment(tav::DataSet& action, int repaymentKind, QWidget* parent = nullptr);
    ~TEnterRepayment() override;

    int repaymentKind() const { return m_kind; }
    void Btn_OkClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TEnterRepayment> m_ui;
    tav::DataSet& m_action;
    int m_kind;
};

namespace tav {

// Confirms a reimbursement of the act of key actId through TEnterRepayment:
// the act's date of that reimbursement is set to today before the window
// shows; the window marks the act reimbursed and stores it on OK, otherwise
// nothing changes. Opens and closes the Action query. True when stored; a failure
// is shown and gives false.
bool confirmRepayment(QWidget* parent, DataSet& action, qint64 actId, int repaymentKind);

} // namespace tav
