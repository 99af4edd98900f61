#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// The rectangle of non-white pixels of a picture, or an empty one: where a
// thumbnail put the picture in its white box.
inline QRect nonWhite(const QImage& picture)
{
    QRect area;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) != QColor(Qt::white))
                area |= QRect(x, y, 1, 1);
    return area;
}
