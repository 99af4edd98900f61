#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class TComboList;
}

class QPlainTextEdit;

// The editor of one list of remembered values: the values as plain text,
// one per line, in a pale yellow memo.
class TComboList : public QDialog
{
    Q_OBJECT

public:
    explicit TComboList(QWidget* parent = nullptr);
    ~TComboList() override;

    // The title line; the caption shows it without surrounding blanks.
    void setTitle(const QString& title);
    QString title() const;
    // Shows the values sorted ignoring case, without case duplicates.
    void setValues(const QStringList& values);
    const QStringList& values() const { return m_values; }
    // The memo's text exactly as typed.
    QString text() const;
    QPlainTextEdit* memo() const;

private:
    std::unique_ptr<Ui::TComboList> m_ui;
    QStringList m_values;
};
