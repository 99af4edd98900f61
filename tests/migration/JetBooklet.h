#pragma once

#include "JetWriter.h"

namespace tav::test {} // namespace tav::test
