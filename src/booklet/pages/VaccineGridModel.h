#pragma once

#include <QDate>
#include <QIdentityProxyModel>
#include <QSet>

namespace tav {

class DataSet;
class DataSetModel;

// The vaccinations grid with the state of each due reminder: its date in
// red once past, in orange within thirty days, and a tooltip that says how
// many days are left or gone. Today comes from the program's clock.
class VaccineGridModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    VaccineGridModel(DataSet& vaccines, QObject* parent);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    static const QColor& lateColour();
    static const QColor& soonColour();

private:
    void readReminders();

    DataSet& m_vaccines;
    DataSetModel* m_source;
    QSet<int> m_dueRows;
    int m_repeatColumn = -1;
};

} // namespace tav
