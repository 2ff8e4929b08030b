#pragma once

// Every item variant by name, for the probe. One line per routine.

#include <span>

#include "datasetup/factors/item_context.h"

namespace meridax {

std::span<const NamedRoutine> VariantRoutines();

}  // namespace meridax
