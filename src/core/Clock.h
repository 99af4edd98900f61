#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

namespace tav {

// The one place the program asks for the date and time. Tests replace the
// source with a fixed instant so that no result depends on the real hour.
namespace Clock {

QDateTime now();
QDate today();

// Replaces the source of now(); an empty function restores the system clock.
void setSource(std::function<QDateTime()> source);

// A fixed instant for the lifetime of the object, then the previous source.
class Fixed
{
public:
    explicit Fixed(const QDateTime& instant);
    ~Fixed();
    Fixed(const Fixed&) = delete;
    Fixed& operator=(const Fixed&) = delete;

private:
    std::function<QDateTime()> m_previous;
};

} // namespace Clock

} // namespace tav
