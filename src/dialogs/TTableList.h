#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TTableList;
}

namespace tav {
class DataModule2;
class DataSet;
struct TableFilter;
} // namespace tav

class QTableView;

// A read-only table of one of the current animal's display queries, in a
// window that a corner grip resizes. The query is opened with the window's
// filter and closed when the window closes, so that it is open only while
// it is shown.
class TTableList : public QDialog
{
    Q_OBJECT

public:
    ~TTableList() override;

    QTableView* grid() const;

protected:
    // Opens `query` with `filter` in place of its filter line. Throws
    // DbError, the query then staying closed.
    TTableList(tav::DataSet& query, const tav::TableFilter& filter, const QString& title,
               const QString& gridName, QWidget* parent);

    void done(int result) override;

private:
    // Widens the window so that every column shows, within the screen.
    void openWideEnough();

    std::unique_ptr<Ui::TTableList> m_ui;
    tav::DataSet& m_query;
};
