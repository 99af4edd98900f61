#include "ui/SymbolIcon.h"

#include <QAbstractButton>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <memory>

// The resource lives in a static library: it must be registered by name.
static void initSymbolResource()
{
    Q_INIT_RESOURCE(symbols);
}

namespace tav {

namespace {

// Draws the symbol through Qt's SVG renderer at the size asked, without
// depending on an icon-engine plugin being installed.
class SymbolEngine : public QIconEngine
{
public:
    explicit SymbolEngine(QByteArray svg) : m_svg(std::move(svg)), m_renderer(m_svg) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // A disabled button's symbol fades, as its text would.
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.35);
        // The view box scaled into the rectangle, keeping its proportions.
        QSizeF size = m_renderer.viewBoxF().size();
        size.scale(rect.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(), size);
        target.moveCenter(QRectF(rect).center());
        m_renderer.render(painter, target);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QIconEngine* clone() const override { return new SymbolEngine(m_svg); }

    bool isValid() const { return m_renderer.isValid(); }

private:
    QByteArray m_svg;
    QSvgRenderer m_renderer;
};

} // namespace

QIcon symbolIcon(const QString& name)
{
    initSymbolResource();
    QFile file(QStringLiteral(":/symbols/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    auto engine = std::make_unique<SymbolEngine>(file.readAll());
    if (!engine->isValid())
        return QIcon();
    return QIcon(engine.release());
}

void setSymbol(QAbstractButton* button, const QString& name)
{
    const QIcon icon = symbolIcon(name);
    if (icon.isNull())
        return; // the text stays: better a glyph than an empty button
    button->setIcon(icon);
    button->setText(QString());
}

} // namespace tav
