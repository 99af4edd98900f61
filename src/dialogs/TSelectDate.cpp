#include "dialogs/TSelectDate.h"
#include "core/Clock.h"

#include "core/DateRoutines.h"
#include "core/TextRoutines.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "ui/FramedWindow.h"
#include "ui_TSelectDate.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTableView>

namespace {

const QColor titleBand{212, 212, 212};
const QColor monthArea{255, 255, 242};

// The border is drawn over the children, so that it also frames the
// calendar, which covers the whole width of the window.
class BorderOverlay : public QWidget
{
public:
    explicit BorderOverlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void setColour(const QColor& colour)
    {
        m_colour = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        Q_UNUSED(event)
        QPainter painter(this);
        painter.setPen(m_colour);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor m_colour;
};

void setColours(QWidget* widget,
                std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    for (const auto& [role, colour] : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

TSelectDate::TSelectDate(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::TSelectDate>())
{
    m_ui->setupUi(this);
    setProperty("tag", -1);
    m_ui->Btn_Clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton, nullptr, this));

    m_border = new BorderOverlay(this);
    setColour(m_colour);
    applyCalendarLook();

    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &TSelectDate::Btn_OkClick);
    connect(m_ui->Btn_Clear, &QToolButton::clicked, this, &TSelectDate::Btn_ClearClick);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &TSelectDate::Btn_CancelClick);
    // Switching to another program takes the focus away as surely as a
    // click elsewhere, but does not always close a pop-up.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && isVisible())
                    close();
            });

    tav::prepareWindow(this, false);
    fitToCalendar();
}

TSelectDate::~TSelectDate() = default;

void TSelectDate::setDateText(const QString& text)
{
    m_dateText = text.left(10);
}

void TSelectDate::setTargetEdit(QLineEdit* edit)
{
    m_target = edit;
}

QLineEdit* TSelectDate::targetEdit() const
{
    return m_target;
}

void TSelectDate::setColour(const QColor& colour)
{
    m_colour = colour;
    m_ui->Pan_Bottom->setAutoFillBackground(true);
    setColours(m_ui->Pan_Bottom, {{QPalette::Window, colour}});
    static_cast<BorderOverlay*>(m_border)->setColour(borderColour());
    update();
}

QColor TSelectDate::borderColour() const
{
    return tav::shadeColour(m_colour, -35);
}

QCalendarWidget* TSelectDate::calendar() const
{
    return m_ui->MonthCalendar;
}

void TSelectDate::applyCalendarLook()
{
    QCalendarWidget* calendar = m_ui->MonthCalendar;
    calendar->setAutoFillBackground(true);
    setColours(calendar, {{QPalette::Window, Qt::white}});
    // Day cells are painted with Base, the day-name row and the week numbers
    // with AlternateBase; the selected day keeps the system's highlight.
    setColours(calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview")),
               {{QPalette::Base, monthArea},
                {QPalette::AlternateBase, Qt::white},
                {QPalette::Text, Qt::black}});
    // The title band is painted in Highlight, its captions in HighlightedText.
    setColours(calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar")),
               {{QPalette::Highlight, titleBand},
                {QPalette::HighlightedText, Qt::black},
                {QPalette::ButtonText, Qt::black},
                {QPalette::WindowText, Qt::black}});
}

void TSelectDate::fitToCalendar()
{
    QCalendarWidget* calendar = m_ui->MonthCalendar;
    const QSize hint = calendar->sizeHint();
    const int width = qMax(hint.width(), m_ui->Pan_Bottom->minimumSizeHint().width());
    calendar->setFixedSize(width, hint.height());
    setFixedSize(width, hint.height() + BarHeight);
}

void TSelectDate::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        const QDate date = tav::datePickerDate(m_dateText, tav::Clock::today());
        m_dateText = tav::formatDateText(date);
        m_ui->MonthCalendar->setSelectedDate(date);
        m_ui->MonthCalendar->setCurrentPage(date.year(), date.month());
        fitToCalendar();
        m_ui->MonthCalendar->setFocus(Qt::PopupFocusReason);
    }
    QWidget::showEvent(event);
}

void TSelectDate::resizeEvent(QResizeEvent* event)
{
    m_border->setGeometry(rect());
    m_border->raise();
    QWidget::resizeEvent(event);
}

void TSelectDate::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

void TSelectDate::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSelectDate::closeEvent(QCloseEvent* event)
{
    // Escape, a click elsewhere or the next picker: nothing is written.
    if (!m_finished) {
        m_finished = true;
        m_result = Result::None;
        emit finished(m_result);
    }
    QWidget::closeEvent(event);
}

void TSelectDate::Btn_OkClick()
{
    finish(Result::Ok);
}

void TSelectDate::Btn_ClearClick()
{
    m_dateText.clear();
    finish(Result::Ok);
}

void TSelectDate::Btn_CancelClick()
{
    finish(Result::Cancel);
}

void TSelectDate::finish(Result result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_result = result;
    if (result == Result::Ok && !m_dateText.isEmpty())
        m_dateText = tav::formatDateText(m_ui->MonthCalendar->selectedDate()).left(10);
    // Closed first: writing to a bound field may show an error box, which
    // must not open under a pop-up that holds the mouse. The window is only
    // deleted later, from the event loop.
    close();
    if (result == Result::Ok)
        writeTarget();
    emit finished(result);
}

void TSelectDate::writeTarget()
{
    QLineEdit* target = m_target;
    if (!target)
        return;
    if (tav::FieldBinding* binding = tav::FieldBinding::of(target)) {
        if (m_dateText.isEmpty()) {
            binding->clearValue();
        } else {
            target->setText(m_dateText);
            binding->store();
        }
    } else {
        target->setText(m_dateText);
    }
    // A refused value shows an error box, during which the field's window
    // may have gone.
    if (!m_target)
        return;
    m_target->setFocus(Qt::OtherFocusReason);
    m_target->selectAll();
}
