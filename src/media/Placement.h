#pragma once

namespace tav {

// Where a picture goes inside a box: its offset and size relative to the
// box, and whether it had to be scaled down to fit.
struct Placement
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool stretch = false;
};

// Fits a picture into a box keeping its proportions, never enlarging it,
// and centres it. The ratios are truncated toward zero as the stored
// thumbnails and layouts expect.
Placement fitInBox(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

} // namespace tav
