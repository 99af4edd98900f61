#pragma once

#include <QFont>
#include <QHash>
#include <QStringList>
#include <QTabBar>

namespace tav {

// The tab strip under the booklet's pages: each tab in its own colour,
// carried as the tab's data. Every tab stays in sight: the captions share
// the width the strip is given to fit in, in a font made smaller when the
// captions at the strip's own size would not fit.
class NotebookTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit NotebookTabBar(QWidget* parent = nullptr);

    // The width all the tabs must fit in, whatever the strip's own width.
    void setFitWidth(int width);
    int fitWidth() const { return m_fitWidth; }
    // The font the captions are drawn in (bold for the current tab).
    QFont captionFont() const;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont fittedFont() const;

    int m_fitWidth = 0;
    // Fitting shapes every caption at several sizes, and each tab's size
    // asks for it: the result is kept for the font, width and captions it
    // was found for.
    struct Fitted
    {
        QFont base;
        int fitWidth = -1;
        QStringList captions;
        QFont font;
        // Each caption's tab size in that font: the strip asks for every
        // tab's size each time one is added or changed.
        QHash<QString, QSize> sizes;
    };
    mutable Fitted m_fitted;
};

} // namespace tav
