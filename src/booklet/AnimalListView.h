#pragma once

#include <QListView>

namespace tav {

// The animal list's view. Moving the highlight to another animal changes
// two rows' look but no row's size: those two rows are painted again, where
// a plain list view would lay out every row of the booklet and paint the
// whole view at each step through the list.
class AnimalListView : public QListView
{
    Q_OBJECT
public:
    using QListView::QListView;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
};

} // namespace tav
