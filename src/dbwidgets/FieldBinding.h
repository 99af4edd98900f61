#pragma once

#include "db/DataSet.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <QWidget>

namespace tav {

// Binds an edit field, a memo or a check box to one column of the current
// row of a data set: the field shows the row's value whenever the row
// changes, and typing in it puts the row in edit state with the new value.
// The row is written by the window's record command or any later post.
// A number field refuses letters as they are typed, and shows its display
// format with its unit except while it has the focus.
class FieldBinding : public QObject
{
    Q_OBJECT
public:
    static FieldBinding* bind(QWidget* widget, DataSet& dataSet, const QString& field);
    // The binding of a widget, or nullptr.
    static FieldBinding* of(const QWidget* widget);
    // Names every bound field of a window after the label standing for it
    // (the label whose buddy it is), so that a refused value is reported by
    // the caption the user reads, not by the column's name.
    static void captionsFromLabels(QWidget* window);

    DataSet& dataSet() const { return *m_dataSet; }
    const QString& field() const { return m_field; }
    QWidget* widget() const { return m_widget; }

    // Shows the row's value in the widget.
    void load();
    // Writes the widget's value into the row (entering edit state).
    void store();
    // Empties the column.
    void clearValue();

    // The text a row value is edited as: dates "dd/mm/yyyy", numbers with
    // the decimals of the field's format, without its unit.
    static QString editText(const DataSet& dataSet, const QString& field);
    // The text shown while the field is not being edited: numbers through
    // their display format, with its unit ("3,500 Kg").
    static QString displayText(const DataSet& dataSet, const QString& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FieldBinding(QWidget* widget, DataSet& dataSet, const QString& field);
    void onFieldChanged(const QString& field);

    QPointer<QWidget> m_widget;
    QPointer<DataSet> m_dataSet;
    QString m_field;
    bool m_loading = false;
    bool m_storing = false;
    bool m_editing = false; // the line edit has the focus
};

} // namespace tav
