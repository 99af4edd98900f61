#pragma once

// The texts a grid shows, as the user reads them off the screen.

#include <QAbstractItemModel>
#include <QStringList>
#include <QTableView>

// Every cell of one row, left to right.
inline QStringList rowTexts(const QTableView* grid, int row)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->index(row, c).data().toString();
    return out;
}

// Every cell of one column, top to bottom.
inline QStringList columnTexts(const QTableView* grid, int column)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, column).data().toString();
    return out;
}
