#pragma once

#include <algorithm>
#include <vector>

// The median of a series of timings: steadier than the mean on a machine
// that is doing other work.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
