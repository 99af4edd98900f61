#pragma once

#include <QFile>
#include <QString>

#include <algorithm>
#include <ctime>
#include <vector>

// The median of a series of timings: steadier than the mean on a machine
// that is doing other work.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// "12.3 ms (11.9-14.0, 9 runs)": the median with the spread of the runs.
inline QString spread(const std::vector<double>& v, const char* unit = "ms", int decimals = 1)
{
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return QString::number(median(v), 'f', decimals) + QLatin1Char(' ') +
           QString::fromLatin1(unit) + QStringLiteral(" (") + QString::number(*lo, 'f', decimals) +
           QLatin1Char('-') + QString::number(*hi, 'f', decimals) + QStringLiteral(", ") +
           QString::number(v.size()) + QStringLiteral(" runs)");
}

// Wall-clock and CPU time of this thread since start(), in ms. On a
// machine shared with other work the CPU time shows what the program
// itself spent when the wall-clock time waited for a processor.
class Stopwatch
{
public:
    Stopwatch() { start(); }
    void start()
    {
        m_wall = now(CLOCK_MONOTONIC);
        m_cpu = now(CLOCK_THREAD_CPUTIME_ID);
    }
    double wallMs() const { return (now(CLOCK_MONOTONIC) - m_wall) / 1e6; }
    double cpuMs() const { return (now(CLOCK_THREAD_CPUTIME_ID) - m_cpu) / 1e6; }

private:
    static double now(clockid_t clock)
    {
        timespec ts{};
        clock_gettime(clock, &ts);
        return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
    }
    double m_wall = 0;
    double m_cpu = 0;
};

// Resident memory of this process now and at its peak, in MB, from
// /proc/self/status.
struct Memory
{
    double rss = 0;
    double hwm = 0;
};

inline Memory processMemory()
{
    Memory m;
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2 && parts.at(0) == "VmRSS:")
            m.rss = parts.at(1).toDouble() / 1024;
        else if (parts.size() >= 2 && parts.at(0) == "VmHWM:")
            m.hwm = parts.at(1).toDouble() / 1024;
    }
    return m;
}
