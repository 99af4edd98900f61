#pragma once

namespace tav {

// Which growth curve of an animal: its weights or its sizes. The numbers
// are those the curve window and the measure entry window are given.
enum class MeasureKind { Weight = 1, Size = 2 };

} // namespace tav
