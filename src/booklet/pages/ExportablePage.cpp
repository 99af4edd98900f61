#include "booklet/pages/ExportablePage.h"

namespace tav {

QString ExportablePage::fileNameFor(const QString& page, const QString& animalName)
{
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
    QString animal = animalName.trimmed();
    for (QChar& c : animal) {
        if (kForbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return page + (animal.isEmpty() ? QString() : QStringLiteral(" - ") + animal) +
           QStringLiteral(".csv");
}

} // namespace tav
