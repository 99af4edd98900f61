#include "dialogs/ImagePreview.h"

#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "dialogs/TPreviewImage.h"
#include "dialogs/TViewImage.h"
#include "media/PictureStore.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

namespace tav {

void viewImageFile(QWidget* parent, const QString& file)
{
    if (const QString problem = pictureViewProblem(file); !problem.isEmpty()) {
        MessageBox::error(parent, problem);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TViewImage viewer(parent);
    const bool loaded = viewer.loadFile(file);
    QApplication::restoreOverrideCursor();
    if (!loaded) {
        // The file is there but is no readable picture: say so rather than
        // show an empty window.
        MessageBox::error(parent, readShownPicture(file).error);
        return;
    }
    viewer.exec();
}

bool saveImageAs(QWidget* parent, const QString& file, const QString& proposedName)
{
    if (!QFileInfo(file).isFile()) {
        MessageBox::error(parent, texts::pictureMissing(file));
        return false;
    }
    // "*.jpg" stands for a name still to be typed, with the dialog's filter.
    const QString name =
        proposedName == QLatin1String("*.jpg") ? proposedName : fileNameSafe(proposedName);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString chosen = FileDialog::getSaveFileName(
        parent, texts::pictureSaveTitle(), QDir(folder).filePath(name), texts::pictureSaveFilter());
    if (chosen.isEmpty())
        return false;
    const PictureResult copied = saveImageCopy(file, chosen);
    if (!copied.ok) {
        showError(parent, copied.error);
        return false;
    }
    return true;
}

void showImagePreview(QWidget* parent, Connection& connection, const ImageListPreview& list)
{
    TPreviewImage preview(&connection, parent);
    preview.setTitle(list.title);
    preview.setZoomMode(list.zoomMode);
    preview.setPictureFolder(list.folder);
    preview.setFilePrefix(list.prefix);
    preview.setListQuery(list.listQuery, list.listFilter);
    preview.openAt(list.rowId, list.placement);
    preview.exec();
}

void showImagePreview(QWidget* parent, const QStringList& files, int current, const QString& title,
                      const QStringList& titles)
{
    TPreviewImage preview(nullptr, parent);
    preview.setTitle(title.isEmpty() ? QStringLiteral("Image") : title);
    preview.setFiles(files, titles);
    preview.openAt(current, 2);
    preview.exec();
}

} // namespace tav
