#include "booklet/AnimalListView.h"

#include "booklet/AnimalListModel.h"

namespace tav {

void AnimalListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                 const QList<int>& roles)
{
    if (roles == QList<int>{AnimalListModel::CurrentRole}) {
        // The item view's own handling: the changed rows are painted again.
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QListView::dataChanged(topLeft, bottomRight, roles);
}

} // namespace tav
