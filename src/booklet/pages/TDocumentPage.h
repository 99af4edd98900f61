#pragma once

#include "booklet/pages/BookletPage.h"
#include "dialogs/TEnterDocument.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <functional>
#include <memory>

class QListWidget;
class QMenu;
class QTableView;
class QToolButton;

namespace tav {

struct AppContext;
class DocumentFileModel;
class DocumentLibrary;

// The "Documents" page: the current animal's image documents as a list of
// 90 x 90 thumbnails and its attached files as a grid. Files dropped from
// the file manager are added: pictures as image documents, anything else
// as attached files.
class TDocumentPage : public BookletPage
{
    Q_OBJECT
public:
    TDocumentPage(AppContext& context, int index, QWidget* parent = nullptr);
    ~TDocumentPage() override;

    // The image preview and the e-mail window are the window's: the page
    // asks for them with previewRequested() and emailRequested().
    // Opens a file with the desktop's program; QDesktopServices by default.
    using Opener = std::function<bool(const QUrl&)>;
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    // Acquires a scanned picture for the image document window.
    void setScanner(TEnterDocument::Scanner scanner, std::function<bool()> available);

    void refresh() override;
    // The e-mail buttons also follow the sending settings.
    void updateActions(bool animalPresent) override;
    void LoadDocumentImages();
    void LoadDocumentFiles();
    void ClearDocumentImages();
    // Enables the commands by what is selected and the sending settings.
    void updateButtons();

    void Btn_Document_Img_AddClick();
    void Btn_Document_Img_EditClick();
    void Btn_Document_Img_DeleteClick();
    void Btn_Document_Img_ExeClick();
    void Btn_Document_Img_SaveClick();
    void Btn_Document_Img_EmailClick();
    void Btn_Document_File_AddClick();
    void Btn_Document_File_DeleteClick();
    void Btn_Document_File_ExeClick();
    void Btn_Document_File_SaveClick();
    void Btn_Document_File_EmailClick();

    // Adds dropped files; returns how many were added.
    int addDroppedFiles(const QStringList& paths);

    // The context menus, their items enabled as they are when opened.
    QMenu* imageMenu();
    QMenu* fileMenu();

    DocumentLibrary* library() const { return m_library.get(); }
    QListWidget* imageList() const { return m_images; }
    QTableView* fileGrid() const { return m_grid; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasAnimal() const;
    int animalId() const;
    bool sendingReady() const;
    int selectedImageId() const;
    int currentFileId() const;
    QToolButton* button(const char* name) const;
    void appendImageItem(int id, const QString& title, const QByteArray& thumbnail);
    bool runImageWindow(TEnterDocument& window);
    void applyPictureLimits();
    void showFailure(const QString& message);

    AppContext& m_context;
    mutable QHash<QByteArray, QPointer<QToolButton>> m_buttons; // found by button()
    std::unique_ptr<DocumentLibrary> m_library;
    bool m_iconsSet = false;
    QListWidget* m_images = nullptr;
    QTableView* m_grid = nullptr;
    DocumentFileModel* m_model = nullptr;
    QMenu* m_imageMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    Opener m_opener;
    TEnterDocument::Scanner m_scanner;
    std::function<bool()> m_scannerAvailable;
};

} // namespace tav
