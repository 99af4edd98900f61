#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class TStrList;
}

class QListWidget;

// A borderless drop-down list that writes the line chosen into an edit
// field. It is not modal and deletes itself when it closes; only one is
// open at a time. The opener places it (left, top, width) and calls
// popup(), which sizes it, turns it above the field when it would pass the
// bottom of the screen, and highlights the line matching the field.
//
// Choosing sets the dynamic property "chosenIndex" of the field to the
// line's index before the field's text changes, so that a rule watching
// the text can read it. A list given no field only tells which line was
// chosen.
class TStrList : public QWidget
{
    Q_OBJECT

public:
    static constexpr int VisibleLines = 8;
    // The longest field text that decides the highlighted line.
    static constexpr int CurrentTextLimit = 255;

    explicit TStrList(QWidget* parent = nullptr);
    ~TStrList() override;

    void setTargetEdit(QLineEdit* target);
    QLineEdit* targetEdit() const { return m_target; }
    void setFitToItems(bool fit) { m_fitToItems = fit; }
    bool fitToItems() const { return m_fitToItems; }
    // Sorting, when set, ignores case and keeps the order of equal lines.
    void setSorted(bool sorted);
    bool isSorted() const { return m_sorted; }
    void setLines(const QStringList& lines);
    // Puts one line at that place, even in a sorted list.
    void insertLine(int index, const QString& line);
    QStringList lines() const;

    void setListColour(const QColor& colour);
    QColor listColour() const { return m_colour; }
    QColor borderColour() const;

    const QString& currentText() const { return m_currentText; }
    int lineHeight() const;
    int highlightedIndex() const;
    QListWidget* list() const;

    // Shows the list at the place the opener gave it.
    void popup();
    // Writes the highlighted line into the field, if any, and closes.
    void choose();

    // The list open now, or nullptr.
    static TStrList* openList();

signals:
    void lineChosen(int index, const QString& line);
    // The list closed without writing a line: Escape, a click outside, the
    // focus taken away, or Enter with nothing highlighted.
    void dismissed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void highlightCurrentText();

    std::unique_ptr<Ui::TStrList> m_ui;
    QPointer<QLineEdit> m_target;
    QString m_currentText;
    QColor m_colour;
    bool m_fitToItems = false;
    bool m_sorted = false;
    bool m_pressed = false;
    bool m_chosen = false;
    bool m_hadTarget = false; // a field that went away chooses nothing
};
