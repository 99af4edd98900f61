#include "ui/AppIcon.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

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
    // Read as PNG, told so: a reader left to guess the format from the
    // content first loads every image plugin, a tenth of the start-up.
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImageReader reader(QStringLiteral(":/icons/tavirune-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

void applyApplicationIdentity()
{
    QGuiApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavirune.Tavirune"));
}

} // namespace tav
