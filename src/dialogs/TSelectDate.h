#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QCalendarWidget;

namespace Ui {
class TSelectDate;
}

// The month calendar that drops down under a date field: a frameless
// pop-up that closes on its buttons, on Escape or as soon as the user
// clicks elsewhere. Only " &Ok" and "Effacer la date" change the field;
// picking a day merely moves the calendar. Open it with
// tav::showDatePicker(), which places it and deletes it once closed.
class TSelectDate : public QWidget
{
    Q_OBJECT

public:
    enum class Result { None, Ok, Cancel };
    Q_ENUM(Result)

    static constexpr int BarHeight = 20;
    static constexpr QColor defaultColour{255, 255, 242};

    explicit TSelectDate(QWidget* parent = nullptr);
    ~TSelectDate() override;

    // "dd/mm/yyyy", or empty for no date. A text that is not a valid date
    // is replaced by today's date when the picker shows.
    void setDateText(const QString& text);
    const QString& dateText() const { return m_dateText; }

    // The field that receives the date; it may be deleted while the picker
    // is open.
    void setTargetEdit(QLineEdit* edit);
    QLineEdit* targetEdit() const;

    // The colour of the bar; the border is drawn a shade darker.
    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QColor borderColour() const;

    QCalendarWidget* calendar() const;
    Result result() const { return m_result; }

signals:
    // Emitted once, when the picker closes, whatever closed it.
    void finished(TSelectDate::Result result);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Btn_OkClick();
    void Btn_ClearClick();
    void Btn_CancelClick();
    void finish(Result result);
    void writeTarget();
    void applyCalendarLook();
    void fitToCalendar();

    std::unique_ptr<Ui::TSelectDate> m_ui;
    QWidget* m_border = nullptr;
    QString m_dateText;
    QPointer<QLineEdit> m_target;
    QColor m_colour = defaultColour;
    Result m_result = Result::None;
    bool m_finished = false;
};
