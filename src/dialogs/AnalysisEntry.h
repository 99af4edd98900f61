#pragma once

#include <QDialog>
#include <QVector>

#include <initializer_list>
#include <utility>

namespace tav {
class DataSet;
} // namespace tav

class QLineEdit;
class QPushButton;

// What the three analysis entry windows (a catalogue definition, an
// animal's followed analysis, one measured value) share: fields bound to
// the row that the caller put into insert or edit state, OK enabled while
// one field is filled, numbers shown and typed with the analysis's
// decimals and unit, and checks before the row is stored so that a number
// with letters or too many decimals, or a remark longer than its column,
// is refused with a message naming the field and keeps the window open
// with what was typed. Annuler, Escape and the close button cancel the row.
class AnalysisEntry : public QDialog
{
    Q_OBJECT

public:
    QPushButton* okButton() const { return m_ok; }

    void Btn_OkClick();
    void reject() override;

protected:
    // A number field: its edit, its column and the caption of its label.
    struct Number
    {
        const char* edit;
        const char* column;
        const char* caption;
    };
    // The remark: its memo, its column and how many characters it takes.
    struct Remark
    {
        const char* memo;
        const char* column;
        int maxLength;
    };

    AnalysisEntry(tav::DataSet& row, QWidget* parent);
    // Binds the plain fields and the numbers, and wires OK and Annuler; run
    // by each window once its form is set up.
    void setUpFields(std::initializer_list<std::pair<const char*, const char*>> plain,
                     std::initializer_list<Number> numbers, const Remark& remark,
                     const char* requiredEdit);
    // Unit and decimals fields with their pick lists; their changes rebuild
    // the number formats.
    void setUpUnitAndDecimals(tav::DataSet& comboItems);
    // Shows and edits every number with these decimals and this unit.
    void applyNumberFormat(int decimals, const QString& unit);
    // The format from the row's own Decimal and Unit.
    void applyRowFormat();
    int decimals() const { return m_decimals; }

    // Writes the row; a window adds what it must set first. Throws DbError.
    virtual void storeRow();
    void applyOkRule();
    bool eventFilter(QObject* watched, QEvent* event) override;

    tav::DataSet& row() const { return m_row; }
    QLineEdit* line(const char* name) const;

private:
    void checkTyped() const;
    void openUnitList();
    void openDecimalList();

    tav::DataSet& m_row;
    tav::DataSet* m_comboItems = nullptr;
    QVector<Number> m_numbers;
    Remark m_remark{nullptr, nullptr, 0};
    const char* m_required = nullptr;
    int m_decimals = 2;
    QString m_unit;
    QPushButton* m_ok = nullptr;
};
