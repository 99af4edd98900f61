#pragma once

#include <QIcon>

namespace tav {

// The program's icon in every size that ships with it.
QIcon applicationIcon();

// Gives the application its icon and the name of its desktop entry, so that
// the window, the task bar and the desktop's menus show the same picture.
void applyApplicationIdentity();

} // namespace tav
