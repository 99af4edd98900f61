#include "ui/GridColumnWidths.h"

#include "core/IniFile.h"
#include "ui/GridLook.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

namespace tav {

GridColumnWidths::GridColumnWidths(QTableView* grid, const QString& settingsPath)
    : QObject(grid), m_grid(grid), m_viewport(grid->viewport()), m_name(grid->objectName()),
      m_settingsPath(settingsPath)
{
    QHeaderView* header = grid->horizontalHeader();
    header->viewport()->installEventFilter(this);
    m_viewport->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, &GridColumnWidths::sectionResized);
    // A drag resizes a column many times a second: the file is written once
    // the hand rests.
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(1000);
    connect(m_saveTimer, &QTimer::timeout, this, &GridColumnWidths::save);
    load();
}

GridColumnWidths::~GridColumnWidths()
{
    if (m_dirty)
        save();
}

QString GridColumnWidths::sectionName()
{
    return QStringLiteral("Grids");
}

void GridColumnWidths::fit()
{
    const QAbstractItemModel* model = m_grid->model();
    if (!model)
        return;
    applyDesignWidths(m_grid);
    QSet<int> fixed;
    for (auto it = m_userWidths.cbegin(); it != m_userWidths.cend(); ++it) {
        if (it.key() >= model->columnCount())
            continue;
        m_grid->setColumnWidth(it.key(), it.value());
        fixed.insert(it.key());
    }
    fitColumnsToWidth(m_grid, fixed);
}

bool GridColumnWidths::eventFilter(QObject* watched, QEvent* event)
{
    // Compared, never called: the grid may be half destroyed when its
    // viewport goes.
    if (watched == m_viewport) {
        // The fitted columns follow the grid's width.
        if (event->type() == QEvent::Resize)
            fit();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A double click on a column's edge fits it to its texts: the
        // user's choice as well.
        m_userResizing = true;
        break;
    case QEvent::MouseButtonRelease:
        m_userResizing = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void GridColumnWidths::sectionResized(int column, int, int newWidth)
{
    if (!m_userResizing || newWidth <= 0)
        return;
    m_userWidths.insert(column, newWidth);
    m_dirty = true;
    m_saveTimer->start();
}

// Stored as "column:width" pairs, "2:180,5:95", under the grid's name.
void GridColumnWidths::load()
{
    if (m_settingsPath.isEmpty() || m_name.isEmpty())
        return;
    const IniFile ini(m_settingsPath);
    const QString text = ini.readString(sectionName(), m_name, QString());
    for (const QString& pair : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool columnOk = false;
        bool widthOk = false;
        const int column = pair.section(QLatin1Char(':'), 0, 0).toInt(&columnOk);
        const int width = pair.section(QLatin1Char(':'), 1, 1).toInt(&widthOk);
        // A hand-edited or damaged value is ignored, never applied.
        if (columnOk && widthOk && column >= 0 && column < 1000 && width > 0 && width <= 10000)
            m_userWidths.insert(column, width);
    }
}

void GridColumnWidths::save()
{
    m_saveTimer->stop();
    m_dirty = false;
    if (m_settingsPath.isEmpty() || m_name.isEmpty())
        return;
    QStringList pairs;
    for (auto it = m_userWidths.cbegin(); it != m_userWidths.cend(); ++it)
        pairs << QString::number(it.key()) + QLatin1Char(':') + QString::number(it.value());
    // Read again just before writing: the file holds every other setting,
    // which may have changed since.
    IniFile ini(m_settingsPath);
    ini.writeString(sectionName(), m_name, pairs.join(QLatin1Char(',')));
    // A settings file that cannot be written only loses the widths.
    if (!ini.save())
        qWarning("Largeurs de colonnes non enregistrées dans %s", qPrintable(m_settingsPath));
}

} // namespace tav
