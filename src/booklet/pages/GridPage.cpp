#include "booklet/pages/GridPage.h"

#include "booklet/AppContext.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "ui/GridColumnWidths.h"
#include "ui/GridLook.h"
#include "ui/MessageBox.h"
#include "ui/TwoLineHeader.h"

#include <QTableView>
#include <QToolButton>

namespace tav {

GridPage::GridPage(AppContext& context, const char* displayQuery, int index, const QString& caption,
                   QWidget* parent)
    : BookletPage(index, caption, parent), m_context(context),
      m_display(QString::fromLatin1(displayQuery))
{}

DataSet& GridPage::display() const
{
    return m_context.module1->dataSet(m_display);
}

void GridPage::setUpGrid(QTableView* grid, QAbstractItemModel* model)
{
    m_grid = grid;
    // Titles on two lines: the amounts keep their whole titles at the
    // first size.
    grid->setHorizontalHeader(new TwoLineHeader(grid));
    styleStripedGrid(grid);
    if (!m_context.module1)
        return;
    m_model = model ? model : new DataSetModel(&display(), this);
    grid->setModel(m_model);
    // The columns follow the page's width: a narrower window narrows the
    // long texts first, so that dates and amounts stay in sight. Those the
    // user resized keep their width, from one session to the next.
    m_widths = new GridColumnWidths(grid, m_context.settingsPath);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                DataSet& d = display();
                if (current.isValid() && d.isOpen() && current.row() != d.recNo())
                    d.moveTo(current.row());
                emit controlsChanged();
            });
}

bool GridPage::hasAnimal() const
{
    return m_context.module1 && m_context.module1->animal().isOpen() &&
           !m_context.module1->animal().isEmpty();
}

qint64 GridPage::animalId() const
{
    return hasAnimal() ? m_context.module1->animal().value(QStringLiteral("Id")).toLongLong() : -1;
}

QString GridPage::animalName() const
{
    return hasAnimal() ? m_context.module1->animal().asString(QStringLiteral("Name")) : QString();
}

qint64 GridPage::currentId() const
{
    if (!m_context.module1)
        return -1;
    const DataSet& d = display();
    return d.isOpen() && !d.isEmpty() ? d.value(QStringLiteral("Id")).toLongLong() : -1;
}

void GridPage::refresh()
{
    load(-1);
}

void GridPage::load(qint64 selectId)
{
    if (!m_context.module1)
        return;
    DataSet& d = display();
    try {
        d.close();
        d.filterBy(filter(animalId()));
        d.open();
        if (selectId < 0 || !d.locateId(selectId))
            d.first();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    if (m_widths)
        m_widths->fit();
    if (m_model && d.isOpen() && !d.isEmpty()) {
        const QModelIndex index = m_model->index(d.recNo(), 0);
        m_grid->setCurrentIndex(index);
        m_grid->scrollTo(index);
    }
    afterLoad();
}

void GridPage::withTableRow(const QString& table, qint64 id,
                            const std::function<void(DataSet&)>& command)
{
    DataSet& rows = m_context.module1->dataSet(table);
    try {
        rows.open();
        if (id < 0 || rows.locateId(id))
            command(rows);
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    // A row left pending by a cancelled window is dropped, never written.
    if (rows.isEditing())
        rows.cancel();
    rows.close();
}

bool GridPage::hasRows() const
{
    if (!m_context.module1)
        return false;
    const DataSet& d = display();
    return d.isOpen() && !d.isEmpty();
}

void GridPage::leavePage()
{
    if (m_context.module1)
        display().close();
}

void GridPage::updateActions(bool animalPresent)
{
    if (!m_rowCommands)
        return;
    // Run at every step through the animals: the buttons are found once.
    if (!m_rowButtonsFound) {
        const QString prefix = QStringLiteral("Btn_") + QLatin1String(m_rowCommands);
        const char* suffixes[] = {"_Add", "_Edit", "_Delete"};
        for (int i = 0; i < 3; ++i)
            m_rowButtons[i] = findChild<QToolButton*>(prefix + QLatin1String(suffixes[i]));
        m_rowButtonsFound = true;
    }
    const bool rows = animalPresent && hasRows();
    const bool enabled[] = {animalPresent, rows, rows};
    for (int i = 0; i < 3; ++i) {
        if (m_rowButtons[i])
            m_rowButtons[i]->setEnabled(enabled[i]);
    }
}

CsvTable GridPage::exportTable() const
{
    if (!m_context.module1 || !display().isOpen())
        return {};
    return csvTableFromDataSet(display());
}

} // namespace tav
