#pragma once

// The narrow context an item routine reads: the horse's extended run file, the run under
// work, the item record under construction, the statistics files of the step and the
// tables the category window loaded when it opened.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/record_index.h"
#include "datasetup/factors/factor_item_record.h"
#include "datasetup/factors/female_line_table.h"
#include "platform/record_map.h"

namespace meridax {

// The category, count, totals and weight tables of one course kind, as loaded from
// OPTION1N. Item k (1 to 30) has rows 1 to totals[k]; index 0 of each is unused, so row q
// of item k is codes[k][q].
struct CourseCategoryTables {
  std::array<std::int64_t, kFactorItemCount + 1> totals{};
  std::array<std::vector<std::string>, kFactorItemCount + 1> codes;
  std::array<std::vector<std::int32_t>, kFactorItemCount + 1> counts;
  std::array<std::vector<float>, kFactorItemCount + 1> agari;
  std::array<std::vector<float>, kFactorItemCount + 1> pace;
  std::array<std::vector<float>, kFactorItemCount + 1> soha;
};

// The loaded tables of all three kinds: index 1 turf, 2 dirt, 3 jump (CourseKind values).
using CategoryTables = std::array<CourseCategoryTables, 4>;

// One horse's extended run file, mapped once; records by number.
class RunFile {
 public:
  // Opens UMAGOTOEXSETUP\<HorseId>EX.dat as a factor step does: a missing file is created
  // empty. Throws IoError when it cannot be opened.
  explicit RunFile(const std::filesystem::path& path) : map_(path, kExtendedRunLength) {}
  std::int64_t Count() const { return map_.Count(); }
  // Record n; a record past the end reads as blanks, as a random-access read gives it.
  std::string_view Record(std::int64_t n) const;

 private:
  RecordMap map_;
  std::string blanks_ = std::string(kExtendedRunLength, ' ');
};

// The category window's jockey count table, zero-filled when the window opens: rows 0 to
// 2000, columns 0 to 42; column 0 holds a jockey number, columns 1 to 42 counts. No step
// fills it. Jockey numbers run to five digits, so the cells are 32-bit.
class JockeyCountTable {
 public:
  static constexpr int kRows = 2001;
  static constexpr int kColumns = 43;

  // A cell; a row or column outside the table throws std::out_of_range.
  std::int32_t At(int row, int column) const;
  void Set(int row, int column, std::int32_t value);
  // The first row from 1 to `lastRow` whose column 0 holds `jockey`; 0 when none.
  int FirstRow(std::int32_t jockey, int lastRow) const;

 private:
  std::vector<std::array<std::int32_t, kColumns>> cells_ =
      std::vector<std::array<std::int32_t, kColumns>>(kRows);
  // First row of each jockey number, built at the first look-up after a change.
  mutable std::unordered_map<std::int32_t, int> firstRows_;
  mutable bool indexed_ = false;
};

// The window's trainer count table: the same shape, column 0 a trainer number; no step
// fills it either.
using TrainerCountTable = JockeyCountTable;

class RunnerScoring;  // runner_scoring.h

struct ItemContext {
  const RunFile* runs = nullptr;
  std::int32_t CurrentRunNumber = 0;
  std::int32_t CurrentRunCount = 0;
  // The record last read, as the routines' shared buffer holds it.
  std::string_view CurrentRun;
  // The record under construction; routines that score read it, the step fills it.
  std::string* CurrentItemRecord = nullptr;
  // The statistics files of the step: indexed once, released at its end.
  StatisticsCache* stats = nullptr;
  // The tables the window loaded (scoring reads them); null where none are loaded.
  const CategoryTables* tables = nullptr;
  // The female lines the window loaded; null where none are loaded.
  const FemaleLineTable* femaleLines = nullptr;
  // The window's runner categorisation over those tables, kept for the instance (item 29
  // scores through it); null where the window has none.
  RunnerScoring* scoring = nullptr;
  // The window's jockey count table; null reads as the table the window opens with.
  const JockeyCountTable* jockeyCounts = nullptr;
  // The window's trainer count table; null reads as the table the window opens with.
  const TrainerCountTable* trainerCounts = nullptr;

  // Reads record k into CurrentRun and returns it.
  std::string_view Read(std::int64_t k) {
    CurrentRun = runs->Record(k);
    return CurrentRun;
  }
  std::string_view ReadCurrent() { return Read(CurrentRunNumber); }
};

// An item routine: returns its code, or throws ItemAbandoned (item_toolkit.h).
using ItemRoutine = std::string (*)(ItemContext&);

struct NamedRoutine {
  std::string_view name;
  ItemRoutine routine;
};

}  // namespace meridax
