#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace tav {

struct AppContext;

// The animal's photo on the identity card: its 115 x 115 thumbnail (or
// the silhouette), the buttons to choose and delete it, and the context
// menu that also shows, prints and saves the picture.
class PhotoBox : public QWidget
{
    Q_OBJECT
public:
    PhotoBox(AppContext& context, QWidget* parent);

    void setSilhouette(const QImage& silhouette);
    // Shows the current animal's thumbnail again.
    void refresh();
    // The current animal has a photo: its thumbnail has a width.
    bool hasPhoto() const { return !m_thumbnail.isNull() && m_thumbnail.width() > 0; }
    // The current animal's Id, 0 when there is none.
    int animalId() const;
    QString photoPath() const;
    QMenu* popup() const { return m_popup; }

    void Btn_Select_ImgClick();
    void Btn_Delete_ImgClick();
    void ImgDB_Photo_MiniDblClick();
    void Popup_Img_PrintClick();
    void Popup_Img_SaveClick();
    // The context menu's items follow the delete button.
    void Popup_ImgPopup();

    // The picture dialog's filter: JPEG and BMP first, then the other
    // formats the installed readers take.
    static QString pictureFilter();

signals:
    // The photo of this animal was stored or deleted: its thumbnail in the
    // list follows.
    void photoChanged(int animalId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(const QImage& thumbnail);

    AppContext& m_context;
    QLabel* m_picture = nullptr;
    QPushButton* m_select = nullptr;
    QToolButton* m_delete = nullptr;
    QMenu* m_popup = nullptr;
    QImage m_silhouette;
    QImage m_thumbnail;
    int m_shownId = -1;
};

} // namespace tav
