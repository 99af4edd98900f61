#include "ui/EmptyViewHint.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QEvent>

namespace tav {

EmptyViewHint::EmptyViewHint(QAbstractItemView* view, const QString& text)
    : QLabel(text, view->viewport()), m_view(view)
{
    setObjectName(QStringLiteral("Lab_EmptyHint"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setMargin(8);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setForegroundRole(QPalette::PlaceholderText);
    view->viewport()->installEventFilter(this);
    watchModel();
}

void EmptyViewHint::watchModel()
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    QAbstractItemModel* model = m_view->model();
    m_model = model;
    if (model) {
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &EmptyViewHint::update);
        connect(model, &QAbstractItemModel::modelReset, this, &EmptyViewHint::update);
        connect(model, &QAbstractItemModel::layoutChanged, this, &EmptyViewHint::update);
    }
    update();
}

bool EmptyViewHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        setGeometry(m_view->viewport()->rect());
    return QLabel::eventFilter(watched, event);
}

void EmptyViewHint::update()
{
    const QAbstractItemModel* model = m_view->model();
    setGeometry(m_view->viewport()->rect());
    setVisible(!model || model->rowCount() == 0);
}

} // namespace tav
