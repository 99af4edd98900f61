#include "ui/AppIcon.h"

#include <QGuiApplication>

// The resource lives in a static library: it must be registered by name.
static void initIconResource()
{
    Q_INIT_RESOURCE(tavirune_icons);
}

namespace tav {

QIcon applicationIcon()
{
    initIconResource();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tavirune-%1.png").arg(size), QSize(size, size));
    return icon;
}

void applyApplicationIdentity()
{
    QGuiApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavirune.Tavirune"));
}

} // namespace tav
