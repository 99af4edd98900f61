#include "core/Result.h"

#include <QDebug>

namespace tav {

void logFailure(const Result& result)
{
    if (result.ok)
        return;
    if (result.detail.isEmpty())
        qWarning().noquote() << result.error;
    else
        qWarning().noquote() << result.error << result.detail;
}

} // namespace tav
