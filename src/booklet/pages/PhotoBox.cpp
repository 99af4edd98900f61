#include "booklet/pages/PhotoBox.h"

#include "booklet/AppContext.h"
#include "core/FrenchText.h"
#include "db/AnimalPictureStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/ImagePreview.h"
#include "media/PictureStore.h"
#include "media/Thumbnail.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tav {

namespace {

QIcon deleteIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(190, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    p.end();
    return QIcon(pixmap);
}

} // namespace

PhotoBox::PhotoBox(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("Pan_Photo_Box"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("ImgDB_Photo_Mini"));
    // The 115 x 115 thumbnail inside a one-pixel frame.
    m_picture->setFixedSize(117, 117);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->setLineWidth(1);
    m_picture->setAutoFillBackground(true);
    QPalette white = m_picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(160, 160, 170));
    m_picture->setPalette(white);
    m_picture->setScaledContents(true);
    m_picture->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_picture->installEventFilter(this);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    m_select = new QPushButton(fr("Sélectionner"), this);
    m_select->setObjectName(QStringLiteral("Btn_Select_Img"));
    m_select->setAutoDefault(false);
    m_select->setFocusPolicy(Qt::NoFocus);
    m_delete = new QToolButton(this);
    m_delete->setObjectName(QStringLiteral("Btn_Delete_Img"));
    m_delete->setIcon(deleteIcon());
    m_delete->setToolTip(fr("Supprimer la photo"));
    m_delete->setFocusPolicy(Qt::NoFocus);
    const int h = m_select->sizeHint().height();
    m_delete->setFixedSize(h, h);
    m_select->setFixedWidth(117 - h - buttons->spacing());
    buttons->addStretch(1);
    buttons->addWidget(m_select);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("Popup_Img"));
    auto add = [this](const char* name, const char* text, void (PhotoBox::*handler)()) {
        QAction* a = m_popup->addAction(fr(text));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
    };
    add("Popup_Img_Select", "&Sélectionner une image", &PhotoBox::Btn_Select_ImgClick);
    add("Popup_Img_Delete", "Su&pprimer cette image", &PhotoBox::Btn_Delete_ImgClick);
    m_popup->addSeparator();
    add("Popup_Img_View", "&Visualiser la image", &PhotoBox::ImgDB_Photo_MiniDblClick);
    add("Popup_Img_Print", "&Imprimer la image", &PhotoBox::Popup_Img_PrintClick);
    m_popup->addSeparator();
    add("Popup_Img_Save", "&Enregistrer l'image sous ..", &PhotoBox::Popup_Img_SaveClick);
    connect(m_popup, &QMenu::aboutToShow, this, &PhotoBox::Popup_ImgPopup);

    connect(m_select, &QPushButton::clicked, this, &PhotoBox::Btn_Select_ImgClick);
    connect(m_delete, &QToolButton::clicked, this, &PhotoBox::Btn_Delete_ImgClick);
    if (m_context.module1)
        connect(m_context.module1, &DataModule1::currentAnimalChanged, this, [this]() {
            if (animalId() != m_shownId)
                refresh();
        });
    show(QImage());
}

void PhotoBox::setSilhouette(const QImage& silhouette)
{
    m_silhouette = silhouette;
    show(m_thumbnail);
}

int PhotoBox::animalId() const
{
    if (!m_context.module1 || !m_context.connection)
        return 0;
    const DataSet& animal = m_context.module1->animal();
    if (!animal.isOpen() || animal.isEmpty())
        return 0;
    return std::max(0, animal.asInt(QStringLiteral("Id")));
}

QString PhotoBox::photoPath() const
{
    return m_context.module1 ? m_context.module1->animalPhotoPath(animalId()) : QString();
}

void PhotoBox::refresh()
{
    const int id = animalId();
    m_shownId = id;
    QImage thumbnail;
    if (id > 0) {
        try {
            const QByteArray bytes = AnimalPictureStore(*m_context.connection).thumbnail(id);
            if (!bytes.isEmpty())
                thumbnail = decodeStoredThumbnail(bytes);
        } catch (const DbError&) {
            // An unreadable thumbnail shows as no photo; the card stays.
        }
    }
    show(thumbnail);
}

void PhotoBox::show(const QImage& thumbnail)
{
    m_thumbnail = thumbnail;
    const QImage& shown = hasPhoto() ? m_thumbnail : m_silhouette;
    m_picture->setPixmap(QPixmap::fromImage(shown));
}

QString PhotoBox::pictureFilter()
{
    const QStringList others = otherPicturePatterns();
    const QString otherList = others.join(QLatin1Char(';'));
    QString all = QStringLiteral("*.jpg;*.jpeg;*.bmp");
    if (!others.isEmpty())
        all += QLatin1Char(';') + otherList;
    QString filter = fr("Tout (") + all + QStringLiteral(")|") + all +
                     fr("|Fichier image JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp");
    if (!others.isEmpty())
        filter += fr("|Autres images (") + otherList + QStringLiteral(")|") + otherList;
    return filter;
}

void PhotoBox::Btn_Select_ImgClick()
{
    const int id = animalId();
    if (id <= 0)
        return;
    const QString source = FileDialog::getOpenFileName(window(), fr("Sélectionnez une image"),
                                                       QString(), pictureFilter());
    if (!source.isEmpty()) {
        DataModule1& module = *m_context.module1;
        Connection& connection = *m_context.connection;
        QString error;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            // What the user typed on the card is written first.
            if (module.animal().isEditing())
                module.animal().post();
        } catch (const DbError& e) {
            error = e.message();
        }
        if (error.isEmpty()) {
            PictureLimits limits;
            limits.maxWidth = m_context.settings.maxWidth;
            limits.jpegQuality = m_context.settings.jpegQuality;
            const PictureResult stored = storePhotoAndThumbnail(
                source, module.animalPhotoPath(id), limits,
                [&connection, id](const QByteArray& bmp) {
                    try {
                        Transaction transaction(connection);
                        AnimalPictureStore(connection)
                            .setPicture(id, AnimalPictureStore::Picture::Thumbnail1, bmp);
                        transaction.commit();
                    } catch (const DbError& e) {
                        return e.message();
                    }
                    return QString();
                });
            error = stored.error;
        }
        QApplication::restoreOverrideCursor();
        if (!error.isEmpty())
            showError(window(), error);
    }
    // In every case, as the list is rebuilt after the dialog.
    refresh();
    emit photoChanged(id);
}

void PhotoBox::Btn_Delete_ImgClick()
{
    const int id = animalId();
    if (id <= 0)
        return;
    if (MessageBox::question(window(), fr("Désirez-vous supprimer cette photo ?"))) {
        Connection& connection = *m_context.connection;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const PictureResult cleared = clearImageColumns(photoPath(), [&connection, id]() {
            try {
                Transaction transaction(connection);
                AnimalPictureStore store(connection);
                store.setPicture(id, AnimalPictureStore::Picture::Photo1, QByteArray());
                store.setPicture(id, AnimalPictureStore::Picture::Thumbnail1, QByteArray());
                transaction.commit();
            } catch (const DbError& e) {
                return e.message();
            }
            return QString();
        });
        QApplication::restoreOverrideCursor();
        if (!cleared.ok)
            showError(window(), cleared.error);
    }
    refresh();
    emit photoChanged(id);
}

void PhotoBox::ImgDB_Photo_MiniDblClick()
{
    if (!hasPhoto() || animalId() <= 0)
        return;
    viewImageFile(window(), photoPath());
}

void PhotoBox::Popup_Img_PrintClick()
{
    const int id = animalId();
    if (id <= 0 || !m_context.connection)
        return;
    ImageListPreview list;
    list.title = QStringLiteral("Photo");
    list.zoomMode = 1;
    list.folder = m_context.module1->databaseFolder() + QStringLiteral("Images/");
    list.prefix = QStringLiteral("Animal");
    list.listQuery = AnimalPictureStore::photoListQuery();
    list.listFilter = {{AnimalPictureStore::kPhotoListKey, id}};
    list.rowId = -1;
    list.placement = 2;
    try {
        showImagePreview(window(), *m_context.connection, list);
    } catch (const DbError& e) {
        showError(window(), e.message());
    }
}

void PhotoBox::Popup_Img_SaveClick()
{
    if (animalId() <= 0)
        return;
    const QString name = m_context.module1->animal().asString(QStringLiteral("Name"));
    saveImageAs(window(), photoPath(), proposedPictureName(name));
}

void PhotoBox::Popup_ImgPopup()
{
    const bool enabled = m_delete->isEnabled();
    for (const char* name :
         {"Popup_Img_Delete", "Popup_Img_View", "Popup_Img_Print", "Popup_Img_Save"})
        if (auto* a = m_popup->findChild<QAction*>(QString::fromLatin1(name)))
            a->setEnabled(enabled);
}

bool PhotoBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picture) {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ImgDB_Photo_MiniDblClick();
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            m_popup->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tav
