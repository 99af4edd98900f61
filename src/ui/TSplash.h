#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TSplash;
}

// The start-up window: picture, product title, notice, version and the
// loading progress. When the user turned the splash off it stays hidden but
// still holds the progress texts of the start-up.
class TSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TSplash(QWidget* parent = nullptr);
    ~TSplash() override;

    void setProgressText(const QString& text);
    QString progressText() const;
    void setBarMaximum(int maximum);
    int barMaximum() const;
    void setBarPosition(int position);
    int barPosition() const;

    // "© <year> <maker> — <product>".
    static QString noticeText(int year);
    // The pictures, drawn rather than shipped as files.
    static QPixmap drawPicture(QSize size, qreal devicePixelRatio = 1.0);
    static QPixmap drawTitle(QSize size, qreal devicePixelRatio = 1.0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void repaintIfShown();

    std::unique_ptr<Ui::TSplash> m_ui;
};
