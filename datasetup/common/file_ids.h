#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace meridax {

// Whether a code or id of a record can name a per-entity file ("KYOSOBA\<HorseId>.dat").
// Not when it holds a path separator (a backslash byte even as the second byte of a double-
// byte character, as the drive mapping splits on it), "..", a NUL or control byte or a
// double quote. Blanks are fine: ten blanks is a valid id.
bool IsSafeFileId(std::string_view id);

// The note a step adds to the end of its status when it skipped the records of ids that
// would not make safe file names; empty when it skipped none.
std::string SkippedIdsNote(std::int64_t skipped);

}  // namespace meridax
