#include "core/Clock.h"

#include <utility>

namespace tav::Clock {

namespace {

std::function<QDateTime()>& source()
{
    static std::function<QDateTime()> s;
    return s;
}

} // namespace

QDateTime now()
{
    const auto& s = source();
    return s ? s() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setSource(std::function<QDateTime()> newSource)
{
    source() = std::move(newSource);
}

Fixed::Fixed(const QDateTime& instant) : m_previous(source())
{
    setSource([instant] { return instant; });
}

Fixed::~Fixed()
{
    setSource(std::move(m_previous));
}

} // namespace tav::Clock
