#pragma once

#include <QLabel>
#include <QPointer>

class QAbstractItemView;

namespace tav {

// A sentence centred in an item view while its model has no row, telling
// the user how to begin; it hides itself as soon as a row exists. It never
// takes the mouse, so a click still reaches the view.
class EmptyViewHint : public QLabel
{
    Q_OBJECT
public:
    EmptyViewHint(QAbstractItemView* view, const QString& text);

    // Follows the view's model again after setModel().
    void watchModel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();

    QAbstractItemView* m_view;
    QPointer<QObject> m_model;
};

} // namespace tav
