#pragma once

#include <QString>

namespace tav {

// The program's texts are French and written in the source as UTF-8
// literals; this makes one a QString. Nothing is translated: a text read
// through here is shown as written.
QString fr(const char* text);

} // namespace tav
