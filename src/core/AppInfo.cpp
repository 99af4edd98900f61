#include "core/AppInfo.h"

namespace tav::appinfo {

QString productName()
{
    return QStringLiteral("Tavirune");
}

QString programVersion()
{
    return QStringLiteral("1.14");
}

QString makerName()
{
    return QStringLiteral("Orvandel");
}

QString contactEmail()
{
    return QStringLiteral("contact@tavirune.org");
}

QString supportEmail()
{
    return QStringLiteral("support@tavirune.org");
}

QString webSite()
{
    return QStringLiteral("https://www.tavirune.org/");
}

QString updateScriptName(const QString& version)
{
    return QLatin1String("BD_") + version.mid(0, 1) + version.mid(2, 2) + QLatin1String(".maj");
}

} // namespace tav::appinfo
