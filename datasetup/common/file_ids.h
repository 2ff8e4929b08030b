#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace meridax {

// The longest ending a per-entity file name puts after its id (".dat", "EX.dat").
inline constexpr std::size_t kIdFileEndingBytes = 8;

// The name of the file that a code or id of a record names in its folder
// ("KYOSOBA\<HorseId>.dat"): the id's code page 932 text in UTF-8, as every text that
// reaches the host, followed by `ending` (at most kIdFileEndingBytes). Nothing when the id
// cannot name a file:
// - it is empty, or holds a path separator (a backslash byte even as the second byte of a
//   double-byte character, as the drive mapping splits on it), "..", a NUL or control byte
//   or a double quote;
// - it is not valid code page 932, or its text would come back as other bytes (two ids
//   would then share a file);
// - the name with the longest ending and a staged file's temporary tail would pass the
//   file system's 255-byte name limit.
// Blanks are fine: ten blanks is a valid id. Every step of every window names its
// per-entity files through this one rule.
std::optional<std::string> FileNameOfId(std::string_view id, std::string_view ending = ".dat");

// Whether FileNameOfId gives the id a name.
bool IsSafeFileId(std::string_view id);

// The note a step adds to the end of its status when it skipped the records of ids that
// would not make safe file names; empty when it skipped none.
std::string SkippedIdsNote(std::int64_t skipped);

// The ids a step skipped because they name no file, each counted once however often the
// step meets it, for the note at the end of its status.
class SkippedIds {
 public:
  void Add(std::string_view id) { ids_.emplace(id); }
  std::int64_t Count() const { return static_cast<std::int64_t>(ids_.size()); }
  std::string Note() const { return SkippedIdsNote(Count()); }

 private:
  std::unordered_set<std::string> ids_;
};

}  // namespace meridax
