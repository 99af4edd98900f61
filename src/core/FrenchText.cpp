#include "core/FrenchText.h"

namespace tav {

QString fr(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace tav
