#include "dialogs/TStrList.h"

#include "core/TextRoutines.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/RememberedValues.h"
#include "ui/FramedWindow.h"
#include "ui_TStrList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>

#include <climits>

namespace {

QPointer<TStrList> s_openList;

} // namespace

TStrList::TStrList(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::TStrList>()),
      m_colour(Qt::white)
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty("tag", -1);
    setListColour(m_colour);
    // The window decides the height in lines; the list keeps no minimum.
    m_ui->List->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_ui->List->installEventFilter(this);
    m_ui->List->viewport()->installEventFilter(this);
    // Switching to another application takes the focus away as well.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && isVisible())
                    close();
            });
    tav::prepareWindow(this, false);
}

TStrList::~TStrList()
{
    // The list outlives this object's members while QWidget deletes it.
    m_ui->List->viewport()->removeEventFilter(this);
    m_ui->List->removeEventFilter(this);
}

void TStrList::setTargetEdit(QLineEdit* target)
{
    m_target = target;
    m_hadTarget = target != nullptr;
}

void TStrList::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted)
        setLines(lines());
}

void TStrList::setLines(const QStringList& lines)
{
    m_ui->List->clear();
    m_ui->List->addItems(m_sorted ? tav::sortedIgnoringCase(lines) : lines);
}

void TStrList::insertLine(int index, const QString& line)
{
    m_ui->List->insertItem(index, line);
}

QStringList TStrList::lines() const
{
    QStringList result;
    result.reserve(m_ui->List->count());
    for (int i = 0; i < m_ui->List->count(); ++i)
        result.append(m_ui->List->item(i)->text());
    return result;
}

void TStrList::setListColour(const QColor& colour)
{
    m_colour = colour;
    QPalette listPalette = m_ui->List->palette();
    listPalette.setColor(QPalette::Base, colour);
    m_ui->List->setPalette(listPalette);
    QPalette borderPalette = m_ui->Shape_Border->palette();
    borderPalette.setColor(QPalette::Window, borderColour());
    m_ui->Shape_Border->setPalette(borderPalette);
}

QColor TStrList::borderColour() const
{
    // A darker shade of the list, never quite black.
    return tav::shadeColour(m_colour, -35);
}

int TStrList::lineHeight() const
{
    if (m_ui->List->count() > 0) {
        const int height = m_ui->List->sizeHintForRow(0);
        if (height > 0)
            return height;
    }
    return m_ui->List->fontMetrics().height() + 2;
}

int TStrList::highlightedIndex() const
{
    const QList<QListWidgetItem*> selected = m_ui->List->selectedItems();
    return selected.isEmpty() ? -1 : m_ui->List->row(selected.constFirst());
}

QListWidget* TStrList::list() const
{
    return m_ui->List;
}

TStrList* TStrList::openList()
{
    return s_openList;
}

void TStrList::popup()
{
    if (m_target)
        m_currentText = m_target->text().left(CurrentTextLimit);

    // Eight lines tall; a short list shrinks to its lines (one at least)
    // before deciding whether it still fits under the field, so that a list
    // turned above the field ends right against it.
    const int lines = m_ui->List->count();
    int height = VisibleLines * lineHeight() + 3;
    if (m_fitToItems && lines < VisibleLines)
        height = qMax(lines, 1) * lineHeight() + 3;

    QRect place = geometry();
    const QScreen* screen = m_target ? m_target->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::screenAt(place.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const int screenBottom = screen ? screen->availableGeometry().bottom() + 1 : INT_MAX;
    if (m_target && place.top() + height > screenBottom)
        place.moveTop(place.top() - m_target->height() - height - 1);
    place.setHeight(height);
    // Long names (a vaccine, a pathology) show whole: the list widens past
    // its field, within the screen.
    int widest = 0;
    const QFontMetrics metrics(m_ui->List->font());
    for (int i = 0; i < lines; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(m_ui->List->item(i)->text()));
    const int needed =
        widest + 2 * m_ui->List->frameWidth() + 12 +
        (lines > VisibleLines ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0);
    if (needed > place.width()) {
        const QRect area = screen ? screen->availableGeometry() : QRect(place.left(), 0, needed, 1);
        place.setWidth(std::min(needed, area.width()));
        if (place.right() > area.right())
            place.moveRight(area.right());
    }

    if (s_openList && s_openList != this)
        s_openList->close();
    s_openList = this;

    setGeometry(place);
    highlightCurrentText();
    show();
    raise();
    m_ui->List->setFocus(Qt::PopupFocusReason);
}

void TStrList::highlightCurrentText()
{
    QListWidget* list = m_ui->List;
    list->clearSelection();
    list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    // One line alone is never highlighted: Enter must not pick it blindly.
    if (list->count() < 2)
        return;
    int row = 0;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == m_currentText)
            row = i;
    }
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(row));
}

void TStrList::choose()
{
    const int row = highlightedIndex();
    const QString line = row >= 0 ? m_ui->List->item(row)->text() : QString();
    const QPointer<QLineEdit> target = m_target;
    // A list without a field offers actions: its opener acts on the line.
    const bool hasTarget = !target.isNull();
    m_chosen = row >= 0 && (target || !m_hadTarget);
    // Closed first, so that the focus given to the field stays there; the
    // window itself goes only when control is back in the event loop.
    close();
    if (!m_chosen)
        return;
    if (hasTarget) {
        target->setProperty("chosenIndex", row);
        target->setText(line);
        if (tav::FieldBinding* binding = tav::FieldBinding::of(target))
            binding->store();
        if (target) {
            target->setFocus(Qt::PopupFocusReason);
            target->selectAll();
        }
    }
    emit lineChosen(row, line);
}

void TStrList::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // An opener waiting for a choice must learn that none is coming, or it
    // would take the next change of the field for one.
    if (!m_chosen)
        emit dismissed();
}

bool TStrList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->List && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            choose();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        // With nothing highlighted (one line alone), the arrow keys would
        // only move an invisible cursor onto the line it already is on: the
        // line could then never be chosen from the keyboard.
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            key->modifiers() == Qt::NoModifier && highlightedIndex() < 0 &&
            m_ui->List->count() > 0) {
            const int row = key->key() == Qt::Key_Down ? 0 : m_ui->List->count() - 1;
            m_ui->List->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            m_ui->List->scrollToItem(m_ui->List->item(row));
            return true;
        }
    } else if (watched == m_ui->List->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                                     event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return QWidget::eventFilter(watched, event);
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressed = true;
        } else if (m_pressed) {
            // Only a press begun on the list chooses: the release of the click
            // that opened the list must not.
            m_pressed = false;
            const QPoint at = mouse->position().toPoint();
            if (m_ui->List->viewport()->rect().contains(at)) {
                if (QListWidgetItem* item = m_ui->List->itemAt(at))
                    m_ui->List->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
                choose();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
