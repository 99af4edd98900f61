#include "booklet/pages/TDocumentPage.h"

#include "booklet/AppContext.h"
#include "booklet/pages/DocumentFileModel.h"
#include "core/FrenchText.h"
#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TEnterObjectFile.h"
#include "dialogs/TScanDialog.h"
#include "documents/DocumentLibrary.h"
#include "media/JpegFile.h"
#include "media/PictureStore.h"
#include "ui/FileDialog.h"
#include "ui/GridLook.h"
#include "ui/MessageBox.h"
#include "ui_TDocumentPage.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace tav {

namespace {

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The desktop's generic icon of a kind of file, at the e-mail window's size.
QImage genericIcon(const QWidget* widget, bool picture)
{
    QIcon icon = QIcon::fromTheme(picture ? QStringLiteral("image-x-generic")
                                          : QStringLiteral("text-x-generic"));
    if (icon.isNull())
        icon = widget->style()->standardIcon(QStyle::SP_FileIcon);
    return icon.pixmap(32, 32).toImage();
}

// A picture file as the image document window loads it.
bool isPictureFile(const QString& path)
{
    const QByteArray format = QImageReader::imageFormat(path);
    return !format.isEmpty();
}

// A phone's photo is turned the right way up before it is stored: the
// stored JPEG no longer carries the camera's orientation.
QImage readPicture(const QString& path, QString* error)
{
    ShownPicture read = readShownPicture(path);
    if (!read.ok)
        *error = read.error;
    return read.picture;
}

} // namespace

QString DocumentAttachment::entry() const
{
    return zeroPad(id, 6) + QStringLiteral("%&a%") + path + QStringLiteral("%&b%") + type +
           QStringLiteral("%&c%") + size + QStringLiteral("%&d%");
}

TDocumentPage::TDocumentPage(AppContext& context, int index, QWidget* parent)
    : BookletPage(index, QStringLiteral("Documents"), parent), m_context(context),
      m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    Ui::TDocumentPage form;
    form.setupUi(this);
    m_images = form.ListView_Document_Img;
    m_grid = form.Grid_Document_File;
    form.Splitter_Document->setSizes({150, 10000});
    form.Splitter_Document->setStretchFactor(1, 1);
    m_images->viewport()->setCursor(Qt::PointingHandCursor);
    // Room for a title of three lines under each thumbnail.
    m_images->setGridSize(QSize(120, 150));
    m_images->setTextElideMode(Qt::ElideNone);
    m_images->setSelectionMode(QAbstractItemView::SingleSelection);

    m_model = new DocumentFileModel(this);
    styleStripedGrid(m_grid);
    m_grid->setModel(m_model);
    m_grid->setIconSize(QSize(14, 14));
    // Widths in characters of the design: 2, 50, 35 and 25.
    const int unit = m_grid->fontMetrics().averageCharWidth();
    m_grid->setColumnWidth(DocumentFileModel::IconColumn, std::max(2 * unit, 20));
    m_grid->setColumnWidth(DocumentFileModel::NameColumn, 25 * unit);
    m_grid->setColumnWidth(DocumentFileModel::TypeColumn, 18 * unit);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->installEventFilter(this);

    const std::pair<QToolButton*, void (TDocumentPage::*)()> commands[] = {
        {form.Btn_Document_Img_Add, &TDocumentPage::Btn_Document_Img_AddClick},
        {form.Btn_Document_Img_Edit, &TDocumentPage::Btn_Document_Img_EditClick},
        {form.Btn_Document_Img_Delete, &TDocumentPage::Btn_Document_Img_DeleteClick},
        {form.Btn_Document_Img_Exe, &TDocumentPage::Btn_Document_Img_ExeClick},
        {form.Btn_Document_Img_Save, &TDocumentPage::Btn_Document_Img_SaveClick},
        {form.Btn_Document_Img_Email, &TDocumentPage::Btn_Document_Img_EmailClick},
        {form.Btn_Document_File_Add, &TDocumentPage::Btn_Document_File_AddClick},
        {form.Btn_Document_File_Delete, &TDocumentPage::Btn_Document_File_DeleteClick},
        {form.Btn_Document_File_Exe, &TDocumentPage::Btn_Document_File_ExeClick},
        {form.Btn_Document_File_Save, &TDocumentPage::Btn_Document_File_SaveClick},
        {form.Btn_Document_File_Email, &TDocumentPage::Btn_Document_File_EmailClick}};
    for (const auto& [b, command] : commands)
        connect(b, &QToolButton::clicked, this, command);

    connect(m_images, &QListWidget::itemSelectionChanged, this, &TDocumentPage::updateButtons);
    connect(m_images, &QListWidget::itemDoubleClicked, this, [this]() {
        if (button("Btn_Document_Img_Exe")->isEnabled())
            Btn_Document_Img_ExeClick();
    });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this]() {
        if (button("Btn_Document_File_Exe")->isEnabled())
            Btn_Document_File_ExeClick();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TDocumentPage::updateButtons);
    connect(m_images, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { imageMenu()->popup(m_images->mapToGlobal(at)); });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { fileMenu()->popup(m_grid->viewport()->mapToGlobal(at)); });

    m_scanner = [this](QWidget* owner) {
        return scanPicture(owner, m_context.settings.twainSource, m_context.settings.showTwainUI);
    };
    m_scannerAvailable = []() {
        return scannerAvailable();
    };
    setAcceptDrops(true);
    if (m_context.connection && m_context.module1) {
        m_library = std::make_unique<DocumentLibrary>(*m_context.connection,
                                                      m_context.module1->databaseFolder());
    }
    updateButtons();
}

TDocumentPage::~TDocumentPage() = default;

void TDocumentPage::setScanner(TEnterDocument::Scanner scanner, std::function<bool()> available)
{
    m_scanner = std::move(scanner);
    m_scannerAvailable = std::move(available);
}

QToolButton* TDocumentPage::button(const char* name) const
{
    // Asked for at every step through the animals: each is found once.
    QPointer<QToolButton>& known = m_buttons[QByteArray(name)];
    if (!known)
        known = findChild<QToolButton*>(QLatin1String(name));
    return known;
}

bool TDocumentPage::hasAnimal() const
{
    return m_library && m_context.module1->animal().isOpen() &&
           !m_context.module1->animal().isEmpty();
}

int TDocumentPage::animalId() const
{
    return hasAnimal() ? m_context.module1->animal().asInt(QStringLiteral("Id")) : -1;
}

bool TDocumentPage::sendingReady() const
{
    const Settings& s = m_context.settings;
    return !s.smtpName.isEmpty() && !s.smtpEmail.isEmpty() && !s.smtpHost.isEmpty();
}

int TDocumentPage::selectedImageId() const
{
    const QList<QListWidgetItem*> selected = m_images->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->data(Qt::UserRole).toInt();
}

int TDocumentPage::currentFileId() const
{
    const AttachedFileRow* row = m_model->fileAt(m_grid->currentIndex().row());
    return row ? row->id : -1;
}

void TDocumentPage::showFailure(const QString& message)
{
    MessageBox::error(this, message);
}

void TDocumentPage::refresh()
{
    LoadDocumentFiles();
    LoadDocumentImages();
}

void TDocumentPage::ClearDocumentImages()
{
    m_images->clear();
}

void TDocumentPage::showEvent(QShowEvent* event)
{
    // The style's icons are drawn when asked for: only a page seen pays.
    if (!m_iconsSet) {
        m_iconsSet = true;
        const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
            {"Btn_Document_File_Exe", QStyle::SP_DialogOpenButton},
            {"Btn_Document_Img_Exe", QStyle::SP_FileDialogContentsView},
            {"Btn_Document_File_Save", QStyle::SP_DialogSaveButton},
            {"Btn_Document_Img_Save", QStyle::SP_DialogSaveButton}};
        for (const auto& [name, icon] : icons)
            button(name)->setIcon(style()->standardIcon(icon));
    }
    BookletPage::showEvent(event);
}

void TDocumentPage::hideEvent(QHideEvent* event)
{
    // A page left gives back its thumbnails; a window minimised keeps them.
    if (!event->spontaneous())
        ClearDocumentImages();
    BookletPage::hideEvent(event);
}

void TDocumentPage::appendImageItem(int id, const QString& title, const QByteArray& thumbnail)
{
    QImage picture = QImage::fromData(thumbnail, "BMP");
    if (picture.isNull()) {
        picture = QImage(90, 90, QImage::Format_RGB888);
        picture.fill(Qt::white);
    }
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), title);
    item->setData(Qt::UserRole, id);
    item->setToolTip(title);
    m_images->addItem(item);
}

void TDocumentPage::LoadDocumentImages()
{
    ClearDocumentImages();
    if (hasAnimal()) {
        try {
            for (const ImageDocumentRow& row : m_library->store().images(animalId()))
                appendImageItem(row.id, row.title, row.thumbnail);
        } catch (const DbError& e) {
            showFailure(e.message());
        }
    }
    updateButtons();
}

void TDocumentPage::LoadDocumentFiles()
{
    const int keep = currentFileId();
    QVector<AttachedFileRow> rows;
    if (hasAnimal()) {
        try {
            WaitCursor wait;
            rows = m_library->store().files(animalId());
        } catch (const DbError& e) {
            showFailure(e.message());
        }
    }
    m_model->setRows(std::move(rows));
    const int row = std::max(0, m_model->rowOf(keep));
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(row, DocumentFileModel::NameColumn));
    updateButtons();
}

void TDocumentPage::updateActions(bool)
{
    updateButtons();
}

void TDocumentPage::updateButtons()
{
    const bool animal = hasAnimal();
    const bool image = animal && selectedImageId() >= 0;
    const bool file = animal && currentFileId() >= 0;
    button("Btn_Document_Img_Add")->setEnabled(animal);
    button("Btn_Document_File_Add")->setEnabled(animal);
    for (const char* name : {"Btn_Document_Img_Edit", "Btn_Document_Img_Delete",
                             "Btn_Document_Img_Exe", "Btn_Document_Img_Save"})
        button(name)->setEnabled(image);
    button("Btn_Document_Img_Email")->setEnabled(image && sendingReady());
    for (const char* name :
         {"Btn_Document_File_Delete", "Btn_Document_File_Exe", "Btn_Document_File_Save"})
        button(name)->setEnabled(file);
    button("Btn_Document_File_Email")->setEnabled(file && sendingReady());
}

void TDocumentPage::applyPictureLimits()
{
    // Read at each store: the preferences may have changed them.
    m_library->setPictureLimits(m_context.settings.maxWidth, m_context.settings.jpegQuality);
}

bool TDocumentPage::runImageWindow(TEnterDocument& window)
{
    window.setScanner(m_scanner, m_scannerAvailable && m_scannerAvailable());
    return window.exec() == QDialog::Accepted;
}

void TDocumentPage::Btn_Document_Img_AddClick()
{
    if (!button("Btn_Document_Img_Add")->isEnabled() || !hasAnimal())
        return;
    TEnterDocument window(this);
    if (!runImageWindow(window))
        return;
    DocumentResult r;
    {
        WaitCursor wait;
        applyPictureLimits();
        r = m_library->addImage(animalId(), window.title(), window.picture());
    }
    if (!r.ok) {
        showFailure(r.error);
        return;
    }
    const std::optional<ImageDocumentRow> row = m_library->store().image(r.id);
    appendImageItem(r.id, row ? row->title : window.title(), row ? row->thumbnail : QByteArray());
    updateButtons();
    emit controlsChanged();
}

void TDocumentPage::Btn_Document_Img_EditClick()
{
    const int id = selectedImageId();
    if (!button("Btn_Document_Img_Edit")->isEnabled() || id < 0)
        return;
    std::optional<ImageDocumentRow> row;
    try {
        row = m_library->store().image(id);
    } catch (const DbError& e) {
        showFailure(e.message());
        return;
    }
    if (!row)
        return;
    TEnterDocument window(this);
    // A picture removed by hand leaves the window without one: a new one
    // must then be chosen.
    if (QFileInfo::exists(m_library->store().imagePath(id))) {
        const ShownPicture read = readShownPicture(m_library->store().imagePath(id));
        if (read.ok)
            window.setPicture(read.picture);
    }
    window.setTitle(row->title);
    if (!runImageWindow(window))
        return;
    DocumentResult r;
    {
        WaitCursor wait;
        applyPictureLimits();
        r = m_library->updateImage(id, window.title(),
                                   window.imageChanged() ? window.picture() : QImage());
    }
    if (!r.ok) {
        showFailure(r.error);
        return;
    }
    if (QListWidgetItem* item = m_images->selectedItems().value(0)) {
        const std::optional<ImageDocumentRow> now = m_library->store().image(id);
        item->setText(now ? now->title : window.title());
        item->setToolTip(item->text());
        if (now && window.imageChanged())
            item->setIcon(QIcon(QPixmap::fromImage(QImage::fromData(now->thumbnail, "BMP"))));
    }
    updateButtons();
    emit controlsChanged();
}

void TDocumentPage::Btn_Document_Img_DeleteClick()
{
    const int id = selectedImageId();
    if (!button("Btn_Document_Img_Delete")->isEnabled() || id < 0)
        return;
    if (!MessageBox::question(this, fr("Confirmez-vous la suppression de ce document ?")))
        return;
    const DocumentResult r = m_library->removeImage(id);
    if (!r.ok)
        showFailure(r.error);
    LoadDocumentImages();
    emit controlsChanged();
}

void TDocumentPage::Btn_Document_Img_ExeClick()
{
    const int id = selectedImageId();
    if (!button("Btn_Document_Img_Exe")->isEnabled() || id < 0)
        return;
    DocumentPreview preview;
    preview.title = QStringLiteral("Document - Image");
    for (int i = 0; i < m_images->count(); ++i) {
        const int docId = m_images->item(i)->data(Qt::UserRole).toInt();
        if (docId == id)
            preview.current = i;
        preview.files << m_library->store().imagePath(docId);
        preview.titles << m_images->item(i)->text();
    }
    emit previewRequested(preview);
}

void TDocumentPage::Btn_Document_Img_SaveClick()
{
    const int id = selectedImageId();
    if (!button("Btn_Document_Img_Save")->isEnabled() || id < 0)
        return;
    const QString source = m_library->store().imagePath(id);
    if (!QFileInfo::exists(source)) {
        showFailure(texts::pictureMissing(QDir::toNativeSeparators(source)));
        return;
    }
    const QString caption = m_images->selectedItems().first()->text();
    QString target = FileDialog::getSaveFileName(this, texts::pictureSaveTitle(),
                                                 fileNameSafe(caption), texts::pictureSaveFilter());
    if (target.isEmpty())
        return;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".jpg");
    const DocumentResult r = m_library->saveImageAs(id, target);
    if (!r.ok)
        showFailure(r.error);
}

void TDocumentPage::Btn_Document_Img_EmailClick()
{
    const int id = selectedImageId();
    if (!button("Btn_Document_Img_Exe")->isEnabled() || id < 0)
        return;
    const DocumentResult r =
        m_library->copyImageForSending(id, m_images->selectedItems().first()->text());
    if (!r.ok) {
        showFailure(r.error);
        return;
    }
    DocumentAttachment a;
    a.id = id;
    a.path = r.path;
    a.type = QStringLiteral("Image JPEG");
    a.size = sizeInKo(QFileInfo(r.path).size());
    a.icon = genericIcon(this, true);
    emit emailRequested({a});
}

void TDocumentPage::Btn_Document_File_AddClick()
{
    if (!button("Btn_Document_File_Add")->isEnabled() || !hasAnimal())
        return;
    TEnterObjectFile window(this);
    window.selectFile();
    const QString path = window.selectedFileName();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    DocumentResult r;
    {
        WaitCursor wait;
        r = m_library->attachFile(animalId(), path);
    }
    if (!r.ok)
        showFailure(r.error);
    LoadDocumentFiles();
    if (r.ok)
        m_grid->setCurrentIndex(m_model->index(m_model->rowOf(r.id), 1));
    emit controlsChanged();
}

void TDocumentPage::Btn_Document_File_DeleteClick()
{
    const int id = currentFileId();
    if (!button("Btn_Document_File_Delete")->isEnabled() || id < 0)
        return;
    if (!MessageBox::question(this, fr("Confirmez-vous la suppression de ce fichier ?")))
        return;
    const DocumentResult r = m_library->removeFile(id);
    if (!r.ok)
        showFailure(r.error);
    LoadDocumentFiles();
    emit controlsChanged();
}

void TDocumentPage::Btn_Document_File_ExeClick()
{
    const int id = currentFileId();
    if (!button("Btn_Document_File_Exe")->isEnabled() || id < 0)
        return;
    DocumentResult r;
    {
        WaitCursor wait;
        r = m_library->copyFileForOpening(id);
    }
    if (!r.ok) {
        showFailure(r.error);
        return;
    }
    if (!m_opener(QUrl::fromLocalFile(r.path)))
        showFailure(fr("Aucun programme ne peut ouvrir le fichier « %1 ».")
                        .arg(QFileInfo(r.path).fileName()));
}

void TDocumentPage::Btn_Document_File_SaveClick()
{
    const int id = currentFileId();
    if (!button("Btn_Document_File_Save")->isEnabled() || id < 0)
        return;
    const AttachedFileRow row = *m_model->fileAt(m_grid->currentIndex().row());
    const QString stored = m_library->store().filePath(id);
    if (!QFileInfo::exists(stored)) {
        showFailure(fr("IMPOSSIBLE DE TROUVER CE FICHIER !\r\rLe fichier \"") +
                    QDir::toNativeSeparators(stored) +
                    fr("\" a sans doute été supprimé manuellement et n'est plus accessible."));
        return;
    }
    const QString ext = QFileInfo(row.fileName).suffix();
    const QString filter =
        row.fileType + QStringLiteral("|*") + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
    QString target = FileDialog::getSaveFileName(this, QStringLiteral("Enregistrer sous ..."),
                                                 safeFileName(row.fileName), filter);
    if (target.isEmpty())
        return;
    if (QFileInfo(target).suffix().isEmpty() && !ext.isEmpty())
        target += QLatin1Char('.') + ext;
    if (QFileInfo::exists(target) &&
        !MessageBox::question(this, fr("Souhaitez-vous remplacer le fichier ") + target +
                                        fr(" existant.")))
        return;
    DocumentResult r;
    {
        WaitCursor wait;
        r = m_library->saveFileAs(id, target);
    }
    if (!r.ok)
        showFailure(r.error);
}

void TDocumentPage::Btn_Document_File_EmailClick()
{
    const int id = currentFileId();
    if (!button("Btn_Document_File_Exe")->isEnabled() || id < 0)
        return;
    const AttachedFileRow row = *m_model->fileAt(m_grid->currentIndex().row());
    DocumentResult r;
    {
        WaitCursor wait;
        r = m_library->copyFileForSending(id);
    }
    if (!r.ok) {
        showFailure(r.error);
        return;
    }
    DocumentAttachment a;
    a.id = id;
    a.path = r.path;
    a.type = row.fileType;
    a.size = row.fileSize;
    a.icon = QImage::fromData(row.icon, "BMP");
    if (a.icon.width() == 0)
        a.icon = genericIcon(this, false);
    emit emailRequested({a});
}

int TDocumentPage::addDroppedFiles(const QStringList& paths)
{
    if (!hasAnimal())
        return 0;
    int added = 0;
    bool filesAdded = false;
    QStringList failures;
    WaitCursor wait;
    applyPictureLimits();
    for (const QString& path : paths) {
        DocumentResult r;
        if (QFileInfo(path).isFile() && isPictureFile(path)) {
            QString error;
            const QImage picture = readPicture(path, &error);
            if (picture.isNull()) {
                failures << error;
                continue;
            }
            r = m_library->addImage(animalId(), QFileInfo(path).completeBaseName(), picture);
            if (r.ok) {
                const std::optional<ImageDocumentRow> row = m_library->store().image(r.id);
                appendImageItem(r.id, row->title, row->thumbnail);
            }
        } else {
            r = m_library->attachFile(animalId(), path);
            filesAdded = filesAdded || r.ok;
        }
        if (r.ok)
            ++added;
        else
            failures << r.error;
    }
    if (filesAdded)
        LoadDocumentFiles();
    updateButtons();
    emit controlsChanged();
    if (!failures.isEmpty())
        showFailure(failures.join(QStringLiteral("\r\r")));
    return added;
}

void TDocumentPage::dragEnterEvent(QDragEnterEvent* event)
{
    if (hasAnimal() && event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    event->ignore();
}

void TDocumentPage::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    addDroppedFiles(paths);
}

bool TDocumentPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        button("Btn_Document_File_Delete")->isEnabled()) {
        Btn_Document_File_DeleteClick();
        return true;
    }
    return BookletPage::eventFilter(watched, event);
}

QMenu* TDocumentPage::imageMenu()
{
    updateButtons();
    if (!m_imageMenu) {
        m_imageMenu = new QMenu(this);
        m_imageMenu->setObjectName(QStringLiteral("PopupMenu_Document_Img"));
        const std::pair<const char*, void (TDocumentPage::*)()> items[] = {
            {"&Ajouter un document", &TDocumentPage::Btn_Document_Img_AddClick},
            {"&Modifier ce document", &TDocumentPage::Btn_Document_Img_EditClick},
            {"&Supprimer ce document", &TDocumentPage::Btn_Document_Img_DeleteClick},
            {"&Visualiser  et imprimer", &TDocumentPage::Btn_Document_Img_ExeClick},
            {"&Enregistrer le document sous ..", &TDocumentPage::Btn_Document_Img_SaveClick},
            {"Envoyer par e&mail", &TDocumentPage::Btn_Document_Img_EmailClick}};
        for (const auto& [text, command] : items)
            connect(m_imageMenu->addAction(fr(text)), &QAction::triggered, this, command);
    }
    const QList<QAction*> a = m_imageMenu->actions();
    const bool deletable = button("Btn_Document_Img_Delete")->isEnabled();
    a[0]->setEnabled(button("Btn_Document_Img_Add")->isEnabled());
    a[1]->setEnabled(button("Btn_Document_Img_Edit")->isEnabled());
    a[2]->setEnabled(deletable);
    a[3]->setEnabled(button("Btn_Document_Img_Exe")->isEnabled());
    a[4]->setEnabled(deletable);
    a[5]->setEnabled(deletable && sendingReady());
    return m_imageMenu;
}

QMenu* TDocumentPage::fileMenu()
{
    updateButtons();
    if (!m_fileMenu) {
        m_fileMenu = new QMenu(this);
        m_fileMenu->setObjectName(QStringLiteral("PopupMenu_Document_File"));
        const std::pair<const char*, void (TDocumentPage::*)()> items[] = {
            {"&Ajouter un fichier", &TDocumentPage::Btn_Document_File_AddClick},
            {"&Supprimer ce fichier", &TDocumentPage::Btn_Document_File_DeleteClick},
            {"&Exécuter", &TDocumentPage::Btn_Document_File_ExeClick},
            {"&Enregistrer le document sous ..", &TDocumentPage::Btn_Document_File_SaveClick},
            {"Envoyer par e&mail", &TDocumentPage::Btn_Document_File_EmailClick}};
        for (const auto& [text, command] : items)
            connect(m_fileMenu->addAction(fr(text)), &QAction::triggered, this, command);
    }
    const QList<QAction*> a = m_fileMenu->actions();
    const bool row = button("Btn_Document_File_Delete")->isEnabled();
    a[0]->setEnabled(button("Btn_Document_File_Add")->isEnabled());
    a[1]->setEnabled(row);
    a[2]->setEnabled(row);
    a[3]->setEnabled(row);
    a[4]->setEnabled(row && sendingReady());
    return m_fileMenu;
}

} // namespace tav
