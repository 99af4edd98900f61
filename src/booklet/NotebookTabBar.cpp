#include "booklet/NotebookTabBar.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace tav {

namespace {

// Room on each side of a caption, and the smallest font worth reading.
constexpr int kPadding = 3;
constexpr qreal kSmallestPointSize = 6.0;

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

NotebookTabBar::NotebookTabBar(QWidget* parent) : QTabBar(parent)
{
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setExpanding(false);
    setDrawBase(false);
}

void NotebookTabBar::setFitWidth(int width)
{
    m_fitWidth = width;
    updateGeometry();
    update();
}

QFont NotebookTabBar::captionFont() const
{
    QStringList captions;
    captions.reserve(count());
    for (int i = 0; i < count(); ++i)
        captions << tabText(i);
    if (m_fitted.fitWidth != m_fitWidth || m_fitted.captions != captions ||
        m_fitted.base != font()) {
        m_fitted.base = font();
        m_fitted.fitWidth = m_fitWidth;
        m_fitted.captions = captions;
        m_fitted.font = fittedFont();
        m_fitted.sizes.clear();
    }
    return m_fitted.font;
}

QFont NotebookTabBar::fittedFont() const
{
    QFont font = this->font();
    const int available = m_fitWidth - 2 * kPadding * count() - 1;
    if (m_fitWidth <= 0 || count() == 0 || available <= 0)
        return font;
    // Measured in bold: the current tab is drawn so and must fit as well.
    const QFontMetricsF metrics(bold(font));
    qreal needed = 0;
    for (int i = 0; i < count(); ++i)
        needed += metrics.horizontalAdvance(tabText(i));
    if (needed <= available)
        return font;
    // Text widths follow the point size closely but not exactly (hinting):
    // shrink, then step down until the captions fit.
    qreal size = std::max(kSmallestPointSize, font.pointSizeF() * available / needed);
    for (;;) {
        font.setPointSizeF(size);
        const QFontMetricsF m(bold(font));
        qreal total = 0;
        for (int i = 0; i < count(); ++i)
            total += std::ceil(m.horizontalAdvance(tabText(i)));
        if (total <= available || size <= kSmallestPointSize)
            return font;
        size = std::max(kSmallestPointSize, size - 0.25);
    }
}

QSize NotebookTabBar::tabSizeHint(int index) const
{
    const QFont font = bold(captionFont());
    const QString caption = tabText(index);
    const auto known = m_fitted.sizes.constFind(caption);
    if (known != m_fitted.sizes.constEnd())
        return *known;
    const QFontMetricsF metrics(font);
    const int width = int(std::ceil(metrics.horizontalAdvance(caption))) + 2 * kPadding;
    // The design's strip is 21 pixels high; a taller font takes what it needs.
    const int height = std::max(21, int(std::ceil(metrics.height())) + 6);
    m_fitted.sizes.insert(caption, QSize(width, height));
    return {width, height};
}

QSize NotebookTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void NotebookTabBar::changeEvent(QEvent* event)
{
    QTabBar::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateGeometry();
}

void NotebookTabBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QFont captions = captionFont();
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i).adjusted(0, 0, -1, -1);
        QColor colour = tabData(i).value<QColor>();
        if (!colour.isValid())
            colour = palette().button().color();
        const bool current = i == currentIndex();
        p.fillRect(r, current ? colour.lighter(115) : colour);
        p.setPen(current ? QColor(30, 64, 121) : QColor(90, 90, 120));
        p.drawRect(r);
        p.setFont(current ? bold(captions) : captions);
        p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
    }
}

} // namespace tav
