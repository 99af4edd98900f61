#pragma once

#include "booklet/pages/BookletPage.h"
#include "booklet/pages/ExportablePage.h"
#include "db/DataSet.h"

#include <QPointer>

#include <functional>

class QAbstractItemModel;
class QTableView;
class QToolButton;

namespace tav {

struct AppContext;
class GridColumnWidths;

// A page that lists the current animal's rows of one display query in a
// striped grid, and changes them through a table query: the grid and the
// query share one current row, and the page reads its query again after
// every command.
class GridPage : public BookletPage, public ExportablePage
{
    Q_OBJECT
public:
    DataSet& display() const;
    QTableView* grid() const { return m_grid; }

    void refresh() override;
    // Reads the display query again for the current animal and makes the
    // row of that key current (-1: the first row).
    void load(qint64 selectId);

    CsvTable exportTable() const override;

    // Left, the page closes its display query: a page's rows are read
    // again whenever it is shown, and another page may need the memory.
    void leavePage() override;
    // Adding needs an animal; changing and deleting a row of the grid.
    void updateActions(bool animalPresent) override;

protected:
    GridPage(AppContext& context, const char* displayQuery, int index, const QString& caption,
             QWidget* parent);
    // Styles the grid and shows the display query in it, through the given
    // model or a plain one over the query.
    void setUpGrid(QTableView* grid, QAbstractItemModel* model = nullptr);
    // The filter of the display query for an animal's key (-1: none).
    virtual QVector<DataSet::FilterTerm> filter(qint64 animalId) const = 0;
    virtual void afterLoad() {}
    // The page's add, edit and delete buttons are "Btn_<prefix>_Add" and so
    // on; without a prefix the page enables its buttons itself.
    void setRowCommands(const char* prefix)
    {
        m_rowCommands = prefix;
        m_rowButtonsFound = false;
    }
    bool hasRows() const;

    bool hasAnimal() const;
    qint64 animalId() const;
    QString animalName() const;
    // Key of the display query's current row; -1 when it has none.
    qint64 currentId() const;
    // Opens a table query, runs the command on the row of that key when it
    // is there (every key when id is -1: the command appends), and leaves
    // the query closed with no row pending, whatever happens. A failure of
    // the data layer is shown.
    void withTableRow(const QString& table, qint64 id,
                      const std::function<void(DataSet&)>& command);

    AppContext& m_context;

private:
    QString m_display;
    const char* m_rowCommands = nullptr;
    QPointer<QToolButton> m_rowButtons[3]; // add, edit, delete
    bool m_rowButtonsFound = false;
    QTableView* m_grid = nullptr;
    QAbstractItemModel* m_model = nullptr;
    GridColumnWidths* m_widths = nullptr;
};

} // namespace tav
