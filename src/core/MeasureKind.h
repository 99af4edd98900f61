#pragma once

namespace tav {

// Which growth curve of an animal: its weights or its sizes.
enum class MeasureKind { Weight = 1, Size = 2 };

// How the horizontal axis of a growth curve is labelled. The animal keeps
// its choice per curve as the number of the mode (WeightMode, SizeMode);
// None stands for a curve whose mode was never chosen, or a number this
// program does not know.
enum class CurveMode {
    None = 0,
    ByDate = 1,   // "dd/mm/yyyy"
    ByYears = 2,  // "2 ans": completed years since the reference date
    ByMonths = 3, // "14 mois": months since the reference date, days ignored
};

// The mode of a stored number.
constexpr CurveMode curveModeFromStored(long long stored)
{
    return stored >= 1 && stored <= 3 ? CurveMode(stored) : CurveMode::None;
}

// The number the animal stores for a mode.
constexpr int storedCurveMode(CurveMode mode)
{
    return int(mode);
}

} // namespace tav
