#include "ui/SymbolIcon.h"

#include <QAbstractButton>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

// The resource lives in a static library: it must be registered by name.
static void initSymbolResource()
{
    Q_INIT_RESOURCE(symbols);
}

namespace tav {

namespace {

struct Shape
{
    QPainterPath path;
    bool closed = true; // a line or polyline is never filled
    QColor fill = Qt::black;
    QColor stroke; // invalid: none
    double strokeWidth = 1;
};

QColor colourOf(const QStringView text, const QColor& otherwise)
{
    if (text.isNull())
        return otherwise;
    if (text == u"none")
        return QColor();
    const QColor colour = QColor::fromString(text);
    return colour.isValid() ? colour : otherwise;
}

double numberOf(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toDouble();
}

QPolygonF pointsOf(const QStringView text)
{
    QPolygonF points;
    const QList<QStringView> numbers =
        text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < numbers.size(); i += 2)
        points << QPointF(numbers.at(i).toDouble(), numbers.at(i + 1).toDouble());
    return points;
}

class SymbolEngine : public QIconEngine
{
public:
    SymbolEngine(QVector<Shape> shapes, const QRectF& viewBox)
        : m_shapes(std::move(shapes)), m_viewBox(viewBox)
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // A disabled button's symbol fades, as its text would.
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * 0.35);
        // The view box scaled into the rectangle, keeping its proportions.
        const double scale =
            std::min(rect.width() / m_viewBox.width(), rect.height() / m_viewBox.height());
        painter->translate(rect.center().x() - scale * m_viewBox.center().x(),
                           rect.center().y() - scale * m_viewBox.center().y());
        painter->scale(scale, scale);
        for (const Shape& s : m_shapes) {
            if (s.closed && s.fill.isValid())
                painter->fillPath(s.path, s.fill);
            if (s.stroke.isValid() && s.strokeWidth > 0) {
                QPen pen(s.stroke, s.strokeWidth);
                pen.setJoinStyle(Qt::MiterJoin);
                painter->strokePath(s.path, pen);
            }
        }
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

    QIconEngine* clone() const override { return new SymbolEngine(m_shapes, m_viewBox); }

private:
    QVector<Shape> m_shapes;
    QRectF m_viewBox;
};

} // namespace

QIcon symbolIcon(const QString& name)
{
    initSymbolResource();
    QFile file(QStringLiteral(":/symbols/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    QXmlStreamReader xml(&file);
    QVector<Shape> shapes;
    QRectF viewBox(0, 0, 16, 16);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView element = xml.name();
        Shape s;
        if (element == u"svg") {
            const QPolygonF box = pointsOf(a.value(QLatin1String("viewBox")));
            if (box.size() == 2 && box.at(1).x() > 0 && box.at(1).y() > 0)
                viewBox = QRectF(box.at(0), QSizeF(box.at(1).x(), box.at(1).y()));
            continue;
        } else if (element == u"rect") {
            s.path.addRect(numberOf(a, "x"), numberOf(a, "y"), numberOf(a, "width"),
                           numberOf(a, "height"));
        } else if (element == u"circle") {
            const double r = numberOf(a, "r");
            s.path.addEllipse(QPointF(numberOf(a, "cx"), numberOf(a, "cy")), r, r);
        } else if (element == u"line") {
            s.path.moveTo(numberOf(a, "x1"), numberOf(a, "y1"));
            s.path.lineTo(numberOf(a, "x2"), numberOf(a, "y2"));
            s.closed = false;
        } else if (element == u"polygon" || element == u"polyline") {
            const QPolygonF points = pointsOf(a.value(QLatin1String("points")));
            if (points.isEmpty())
                continue;
            s.path.addPolygon(points);
            s.closed = element == u"polygon";
            if (s.closed)
                s.path.closeSubpath();
        } else {
            continue;
        }
        s.fill = colourOf(a.value(QLatin1String("fill")), Qt::black);
        s.stroke = colourOf(a.value(QLatin1String("stroke")), QColor());
        if (a.hasAttribute(QLatin1String("stroke-width")))
            s.strokeWidth = numberOf(a, "stroke-width");
        shapes.append(s);
    }
    if (xml.hasError() || shapes.isEmpty())
        return QIcon();
    return QIcon(new SymbolEngine(shapes, viewBox));
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
