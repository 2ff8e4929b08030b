#pragma once

// Every item variant by name, for the probe. One line per routine.

#include <span>
#include <vector>

#include "datasetup/factors/item_context.h"
#include "datasetup/factors/probe.h"

namespace meridax {

std::span<const NamedRoutine> VariantRoutines();

// The variants as the probe knows them: each code is only shown, stored in no field.
std::vector<ProbeRoutine> VariantProbeRoutines();

}  // namespace meridax
