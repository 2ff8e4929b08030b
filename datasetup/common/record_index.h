#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/record_map.h"
#include "records/layout.h"

namespace meridax {

// Which of several records with one key a look-up returns, as the scan it replaces would:
// the first from record 1 up, or the last.
enum class Match { kFirst, kLast };

// The record numbers of a table of records by key: the bytes of `key`'s fields, joined.
// The index keeps views into the records, so they must outlive it (a RecordMap, a vector
// of records). Building is one pass; a look-up is one hash probe.
class RecordIndex {
 public:
  using RecordAt = std::function<std::string_view(std::int64_t n)>;

  RecordIndex() = default;
  // Records 1 to count, each given by `record(n)`.
  RecordIndex(std::int64_t count, const RecordAt& record, std::span<const records::FieldRef> key,
              Match match);
  // Every record of a mapped file.
  RecordIndex(const RecordMap& map, std::span<const records::FieldRef> key, Match match);

  // The record number (from 1) of the key's match; 0 when no record has the key.
  std::int64_t Find(std::string_view key) const;
  std::size_t size() const { return numbers_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string_view, std::int64_t, Hash, std::equal_to<>> numbers_;
  std::deque<std::string> joinedKeys_;  // keys of several fields; a deque keeps them in place
};

// The bytes of a record's key fields, joined: what RecordIndex::Find takes.
std::string JoinedKey(std::string_view record, std::span<const records::FieldRef> key);

// The statistics files of one step, each mapped and indexed at its first real look-up and
// released when the cache goes (the step's end). A missing file is created empty then, as
// opening it for random access does; a missing folder fails every look-up (IoError).
class StatisticsCache {
 public:
  // The first record, from record 1 up, of the data-folder file `relative`
  // ("OPTION1N\\KYOSOBA.dat") with records of `recordLength` bytes whose field `key` holds
  // exactly `keyBytes`; none when no record does. The view lives as long as the cache.
  std::optional<std::string_view> FirstMatch(std::string_view relative, std::size_t recordLength,
                                             records::FieldRef key, std::string_view keyBytes);

  // Releases every file (a step ends, or a file it indexed was rewritten).
  void Clear() { files_.clear(); }

 private:
  struct File {
    std::unique_ptr<RecordMap> map;
    RecordIndex index;
  };
  std::map<std::tuple<std::string, std::size_t, int, int>, File> files_;
};

}  // namespace meridax
