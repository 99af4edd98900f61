#pragma once

#include <QDate>
#include <QString>

namespace tav {

// The file offered when a chart is saved as a picture: in the data folder,
// the chart's title with its blanks as "_", the subtitle (the animal) in
// brackets and the day, made safe as a file name:
// "Evolution_du_poids_(Médor)_09_12_2026.jpg".
QString chartFileName(const QString& dataFolder, const QString& chartTitle, const QString& subtitle,
                      const QDate& day);

} // namespace tav
