#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tav {

class DataSet;

// Edits one event of the current animal on the row of the query Event that
// the caller has put into insert or edit state. OK stores the row, or shows
// why it cannot and keeps the window open; Annuler, Escape and the close
// button cancel it.
class TEnterEvents : public QDialog
{
    Q_OBJECT
public:
    explicit TEnterEvents(DataSet& event, QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_ok; }

    void Btn_OkClick();
    void reject() override;

    // The text to store for a time typed through the mask "hh:mm": empty
    // when nothing was typed, "hh:mm" with two-digit hours so that the
    // times of one day sort as texts. Throws DbError for a time left half
    // typed or one that does not exist.
    static QString checkedTime(const QString& typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DataSet& m_row;
    QLineEdit* m_date = nullptr;
    QLineEdit* m_time = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace tav
