#pragma once

// "計算" written the way the system first stated it, statement by statement: tables of
// text columns scanned from row 1 for the last match, every horse record opening its dam's
// file, and the extended record assembled field by field in one buffer. Slow, but plainly
// right; the step must write the same bytes.

#include <filesystem>

namespace meridax::testing {

// The window's load and "計算" on the data folder `data`.
void LiteralBuildExtendedRuns(const std::filesystem::path& data);

}  // namespace meridax::testing
