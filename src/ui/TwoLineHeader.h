#pragma once

#include <QHeaderView>

namespace tav {

// Column titles on up to two lines: "Montant remboursé" over a column of
// amounts needs only the width of "remboursé", so that at the first size
// the amounts and their whole titles fit side by side. The header is as
// high as two lines.
class TwoLineHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit TwoLineHeader(QWidget* parent = nullptr);

    // The narrowest width in which the title shows whole on two lines at
    // most, margins included.
    int titleWidth(int logicalIndex) const;
    // The title as it is shown: whole, or broken at the space that makes
    // the narrower two lines.
    QStringList titleLines(int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    int margins() const;
};

} // namespace tav
