#pragma once

#include <QLabel>

namespace tav {

// A sentence centred over a chart that has nothing to draw yet, saying what
// to do. It covers its parent whatever size the parent takes, lets the mouse
// through to the chart and hides itself while it has no text.
class ChartHint : public QLabel
{
    Q_OBJECT
public:
    explicit ChartHint(QWidget* chart);

    void setHint(const QString& text);
    // The text while shown, else empty.
    QString shownHint() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tav
