#include "charts/ChartHint.h"

#include <QEvent>

namespace tav {

ChartHint::ChartHint(QWidget* chart) : QLabel(chart)
{
    setObjectName(QStringLiteral("Lab_ChartHint"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    QPalette dark = palette();
    dark.setColor(QPalette::WindowText, QColor(0, 0, 128));
    setPalette(dark);
    setGeometry(chart->rect());
    chart->installEventFilter(this);
    hide();
}

void ChartHint::setHint(const QString& text)
{
    setText(text);
    setGeometry(parentWidget()->rect());
    setVisible(!text.isEmpty());
    if (!text.isEmpty())
        raise();
}

QString ChartHint::shownHint() const
{
    return isHidden() ? QString() : text();
}

bool ChartHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QLabel::eventFilter(watched, event);
}

} // namespace tav
