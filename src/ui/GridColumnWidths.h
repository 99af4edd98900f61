#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class QTableView;
class QTimer;

namespace tav {

// The column widths of one grid: the design's widths fitted to the grid's
// width, again whenever the grid changes size, except the columns the user
// resized, which keep the width they
// were given whatever the grid's size. Those widths are kept in the
// settings file under the grid's object name, and come back the next time
// the grid is made.
class GridColumnWidths : public QObject
{
    Q_OBJECT
public:
    // settingsPath empty: widths are kept for this run only.
    GridColumnWidths(QTableView* grid, const QString& settingsPath);
    // Writes what the user changed and is not yet in the file.
    ~GridColumnWidths() override;

    // Design widths, then the user's, then the rest fitted to the grid.
    void fit();
    // Writes the user's widths into the settings file now.
    void save();

    // The width the user gave a column; 0 when it was never resized.
    int userWidth(int column) const { return m_userWidths.value(column, 0); }

    // The settings file's section holding every grid's widths.
    static QString sectionName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sectionResized(int column, int oldWidth, int newWidth);
    void load();

    QTableView* m_grid;
    QWidget* m_viewport;
    QString m_name; // the grid's object name, the key of its widths
    QString m_settingsPath;
    QMap<int, int> m_userWidths;
    // True between a press on the titles and its release: only then does a
    // column change width by the user's hand.
    bool m_userResizing = false;
    bool m_dirty = false;
    QTimer* m_saveTimer = nullptr;
};

} // namespace tav
