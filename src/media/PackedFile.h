#pragma once

#include "media/Cabinet.h"

#include <QString>

namespace tav {

// An attached file is kept as a one-entry cabinet ("Files/File12.f"): its
// bytes compressed with MSZIP under the file's bare name.
CabinetResult packFile(const QString& source, const QString& archive);

// Writes the first entry of a one-entry cabinet to target, whatever name
// the entry carries, under a temporary name then renamed, so that target
// is either whole or untouched.
CabinetResult unpackFile(const QString& archive, const QString& target);

} // namespace tav
