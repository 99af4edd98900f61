#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TWait;
}

// The wait window of long copies (first-run transfer, backup, restore,
// compaction): a task, a message and a progress bar, repainted at every
// change because the work runs on the user-interface thread.
class TWait : public QWidget
{
    Q_OBJECT

public:
    static constexpr int GaugeWidth = 251;

    explicit TWait(QWidget* parent = nullptr);
    ~TWait() override;

    void setTask(const QString& text);
    QString task() const;
    void setMessage(const QString& text);
    QString message() const;
    void setGaugeVisible(bool visible);
    void setMaximum(int maximum);
    int maximum() const { return m_maximum; }
    void setCount(int count);
    int count() const { return m_count; }
    // One more unit of work done.
    void step();

    // count / maximum x 251, fraction dropped, kept within the bar; 0 for
    // a maximum of 0.
    static int cursorWidth(int count, int maximum);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    std::unique_ptr<Ui::TWait> m_ui;
    int m_maximum = 0;
    int m_count = 0;
};
