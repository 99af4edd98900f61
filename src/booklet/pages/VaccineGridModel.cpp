#include "booklet/pages/VaccineGridModel.h"

#include "core/Clock.h"
#include "core/VaccineReminders.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"

#include <QColor>

namespace tav {

namespace {

QDate dateAt(const DataSet& d, int row, int field)
{
    if (field < 0)
        return {};
    const QVariant v = d.valueAt(row, field);
    return v.typeId() == QMetaType::QDate ? v.toDate()
                                          : QDate::fromString(v.toString(), Qt::ISODate);
}

} // namespace

VaccineGridModel::VaccineGridModel(DataSet& vaccines, QObject* parent)
    : QIdentityProxyModel(parent), m_vaccines(vaccines), m_source(new DataSetModel(&vaccines, this))
{
    setSourceModel(m_source);
    connect(m_source, &QAbstractItemModel::modelReset, this, &VaccineGridModel::readReminders);
    connect(m_source, &QAbstractItemModel::rowsInserted, this, &VaccineGridModel::readReminders);
    connect(m_source, &QAbstractItemModel::rowsRemoved, this, &VaccineGridModel::readReminders);
    connect(m_source, &QAbstractItemModel::dataChanged, this, &VaccineGridModel::readReminders);
    readReminders();
}

const QColor& VaccineGridModel::lateColour()
{
    static const QColor c(200, 0, 0);
    return c;
}

const QColor& VaccineGridModel::soonColour()
{
    static const QColor c(230, 120, 0);
    return c;
}

void VaccineGridModel::readReminders()
{
    m_dueRows.clear();
    m_repeatColumn = m_source->columnOfField(QStringLiteral("Repeat_Date"));
    if (!m_vaccines.isOpen())
        return;
    const int id = m_vaccines.fieldIndex(QStringLiteral("Id"));
    const int vaccine = m_vaccines.fieldIndex(QStringLiteral("Id_Vaccine"));
    const int date = m_vaccines.fieldIndex(QStringLiteral("Date_Vaccine"));
    const int repeat = m_vaccines.fieldIndex(QStringLiteral("Repeat_Date"));
    if (id < 0 || vaccine < 0 || repeat < 0)
        return;
    QVector<Vaccination> shots;
    for (int r = 0; r < m_vaccines.recordCount(); ++r)
        shots.append({m_vaccines.valueAt(r, id).toLongLong(),
                      m_vaccines.valueAt(r, vaccine).toLongLong(), dateAt(m_vaccines, r, date),
                      dateAt(m_vaccines, r, repeat)});
    const QSet<qint64> due = dueReminders(shots);
    for (int r = 0; r < shots.size(); ++r)
        if (due.contains(shots.at(r).id))
            m_dueRows.insert(r);
}

QVariant VaccineGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && index.column() == m_repeatColumn && m_dueRows.contains(index.row()) &&
        (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        const int repeat = m_vaccines.fieldIndex(QStringLiteral("Repeat_Date"));
        const ReminderStatus status =
            reminderStatus(dateAt(m_vaccines, index.row(), repeat), Clock::today());
        if (role == Qt::ToolTipRole)
            return status.text().isEmpty() ? QVariant() : QVariant(status.text());
        if (status.kind == ReminderStatus::Kind::Late)
            return lateColour();
        if (status.kind == ReminderStatus::Kind::Soon)
            return soonColour();
        return QVariant();
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace tav
