#pragma once

// The cleaning rule behind every cleaned record file ("RA20190101NEW.dat" ...): sort the
// raw records by a key with the exact quicksort of sorts.h, choose one record of each run
// of equal keys, keep it when its DataCategory is in the step's set, and write the kept
// records, whole and unchanged, as records 1, 2, ... of the cleaned file.
//
// Parameters of the steps that use it:
//   kind  key (fields joined as stored)   sort  run compared on   kept       categories
//   RA    RaceYear RaceMonthDay
//         RacecourseCode RaceNumber       asc   whole key         first      "7BA"
//   SE    RaceYear RaceMonthDay RaceNumber
//         HorseNumber HorseId             asc   whole key         last       "7BA"
//   UM    HorseId                         asc   whole key         first      "12349"
//   KS    JockeyCode CreatedDate          desc  5 bytes (code)    first      "12"
//   CH    TrainerCode CreatedDate         desc  5 bytes           first      "12"
//   BR    BreederCode CreatedDate         desc  6 bytes (of 8)    first      every value
//   BN    OwnerCode CreatedDate           desc  6 bytes           first      every value
//   SK    HorseId                         asc   whole key         first      "12"
//   HN    BreedingNumber                  asc   whole key         first      "12"
// CreatedDate is records::header::CreatedDate. With a descending sort on code and
// CreatedDate and the run compared on the code alone, the first of a run is the newest
// record of the code (ties: the one the sort leaves first). Every step rebuilds its
// cleaned file whole, BR, BN and SK included: a tail left by an earlier, larger run would
// get statistics and files of entities that are gone. keepRecordsPastEnd keeps that tail.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/staged_files.h"
#include "records/layouts.h"

namespace meridax {

enum class SortOrder { kAscending, kDescending };
enum class KeepOfRun { kFirst, kLast };
enum class CountAfter { kRawRecords, kCleanedRecords };

struct CleaningRule {
  std::filesystem::path rawFile;
  std::filesystem::path cleanedFile;
  std::size_t recordLength = 0;
  // The key: these fields joined in order, as stored, blanks included.
  std::vector<records::FieldRef> keyFields;
  SortOrder order = SortOrder::kAscending;
  KeepOfRun keep = KeepOfRun::kFirst;
  // Runs of equal keys are found by comparing only the first runPrefix bytes of the keys;
  // 0 compares whole keys.
  std::size_t runPrefix = 0;
  // DataCategory values kept; none keeps every value. Only the one chosen record of a run
  // is tested: when it fails, the key gets no record even if another of the run would pass.
  std::optional<std::string_view> categories;
  // False for the files overwritten in place: records of an earlier, longer cleaned file
  // past the new end stay there.
  bool keepRecordsPastEnd = false;
  // What the window's record count holds after the step's cleaning phase.
  CountAfter countAfter = CountAfter::kRawRecords;
};

struct CleaningResult {
  std::int64_t rawCount = 0;      // records of the raw file
  std::int64_t keptCount = 0;     // records written
  std::int64_t cleanedCount = 0;  // records of the new cleaned file (with any kept tail)
  std::int64_t recordCount = 0;   // the window's record count, as the rule's countAfter says
  // Where the new cleaned file stands until the caller commits `outputs`.
  std::filesystem::path staged;
};

// A rule for a record kind ("RA") with its raw and cleaned files of the current
// generation named; the rest is the step's to set.
CleaningRule CleaningRuleOf(std::string_view kind);

// Cleans rule.rawFile into rule.cleanedFile, staged in `outputs`: nothing replaces the old
// cleaned file until the caller commits, so a step can commit it together with the rest
// of what it writes. A missing raw file is created empty (no records) and a missing
// folder throws IoError. Takes time n log n and memory for the keys, not the records.
CleaningResult CleanRecords(const CleaningRule& rule, StagedFiles& outputs);

// The chosen sorted slots (1 to n) of keys sorted by the rule: one per run of equal keys,
// in increasing order.
std::vector<std::int64_t> ChooseOnePerRun(const std::vector<std::string_view>& sortedKeys,
                                          KeepOfRun keep, std::size_t runPrefix);

}  // namespace meridax
