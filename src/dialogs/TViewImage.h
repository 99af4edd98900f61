#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <memory>

namespace Ui {
class TViewImage;
}

class QLabel;

// The simple viewer: one picture file fitted into a resizable window,
// never enlarged, centred with a margin of ten pixels.
class TViewImage : public QDialog
{
    Q_OBJECT

public:
    explicit TViewImage(QWidget* parent = nullptr);
    ~TViewImage() override;

    // Loads the picture (the right way up); false when it cannot be read.
    bool loadFile(const QString& path);
    const QImage& picture() const { return m_picture; }
    QLabel* pictureControl() const;
    // Places the picture in the window.
    void layoutPicture();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TViewImage> m_ui;
    QImage m_picture;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_windowStart;
};
