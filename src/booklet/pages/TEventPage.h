#pragma once

#include "booklet/pages/GridPage.h"

namespace tav {

// The "Evénements" page: the current animal's dated journal. The grid and
// the entry window work on one and the same query, so that a row written
// shows at once, in its sorted place from the next load on.
class TEventPage : public GridPage
{
    Q_OBJECT
public:
    TEventPage(AppContext& context, int index, QWidget* parent = nullptr);

    QString exportFileName() const override;

    void Btn_Event_AddClick();
    void Btn_Event_EditClick();
    void Btn_Event_DeleteClick();

protected:
    QVector<DataSet::FilterTerm> filter(qint64 animalId) const override;

private:
    // Runs the entry window on the row the query holds in insert or edit
    // state; whatever the window does, no row is left pending.
    void enter();
    void showCurrentRow();
};

} // namespace tav
