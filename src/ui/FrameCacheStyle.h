#pragma once

#include <QCache>
#include <QPixmap>
#include <QProxyStyle>

#include <functional>

namespace tav {

// The application's style with the frames of text fields kept as pictures:
// moving through the animals paints the card's fields at every step, and
// drawing their rounded, antialiased frame costs most of that painting.
// A frame is drawn once for each size, state and palette, then copied.
// (No text is kept so: text drawn into a transparent picture loses the
// screen's subpixel smoothing.)
class FrameCacheStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit FrameCacheStyle(QStyle* base = nullptr);
    // Puts it over the style the application uses now (the user's choice
    // included), once the application exists.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    static bool copyable(const QStyleOption* option, const QPainter* painter);
    // Draws the picture kept under the key at the option's place, drawing
    // it first (at 0, 0) when there is none.
    void drawCopy(const QString& key, const QStyleOption* option, QPainter* painter,
                  const std::function<void(QPainter*)>& draw) const;

    mutable QCache<QString, QPixmap> m_frames;
};

} // namespace tav
