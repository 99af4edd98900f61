#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TNewGauge;
}

// Progress of a long task that blocks the program (schema updates, sending
// an e-mail): a small borderless window kept above the others.
class TNewGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TNewGauge(QWidget* parent = nullptr);
    ~TNewGauge() override;

    void setTitle(const QString& text);
    QString title() const;
    void setMaximum(int maximum);
    int maximum() const { return m_maximum; }
    void setPosition(int position);
    int position() const { return m_position; }

    // Width of the filled part for a bar of the given width: (width - 5) x
    // position / maximum, fraction dropped, kept within the bar.
    static int cursorWidth(int barWidth, int position, int maximum);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateCursor();

    std::unique_ptr<Ui::TNewGauge> m_ui;
    int m_maximum = 100;
    int m_position = 0;
};
