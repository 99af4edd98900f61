#include "charts/ChartFileName.h"

#include "core/DateRoutines.h"
#include "core/TextRoutines.h"

namespace tav {

QString chartFileName(const QString& dataFolder, const QString& chartTitle, const QString& subtitle,
                      const QDate& day)
{
    QString title = chartTitle.section(QLatin1Char('\n'), 0, 0);
    title.replace(QLatin1Char(' '), QLatin1Char('_'));
    QString date = formatDateText(day);
    date.replace(QLatin1Char('/'), QLatin1Char('_'));
    return dataFolder + fileNameSafe(title + QStringLiteral("_(") + subtitle +
                                     QStringLiteral(")_") + date + QStringLiteral(".jpg"));
}

} // namespace tav
