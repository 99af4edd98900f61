#pragma once

#include <QImage>

namespace tav {

// A plain paw print, 150 x 150: the picture of an animal that has no photo
// yet, in the list, on the card and in the HTML booklet.
QImage animalSilhouette();

} // namespace tav
