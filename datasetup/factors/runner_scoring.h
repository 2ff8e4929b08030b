#pragma once

// The runner categorisation of the category window: the thirty item codes of the record
// under construction turned into rows of the category tables the window loaded, and the
// weights of those rows summed into a score of the run's course kind. Item 29 scores
// with the Agari weights; the item variants use the same sum over the Pace and Soha
// weights.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/factors/factor_item_record.h"
#include "datasetup/factors/item_context.h"

namespace meridax {

// The course kind of the scoring from a run's TrackCode: 0 to 22 turf, 23 and 24 dirt, any
// other value jump, the dirt tracks 25 to 29 included. A TrackCode that is not a number
// abandons the routine.
CourseKind ScoringCourseKind(std::string_view run);

// Score totals by course kind: index 1 turf, 2 dirt, 3 jump (0 unused), as CategoryTables.
using ScoreTotals = std::array<float, 4>;
constexpr std::size_t KindIndex(CourseKind kind) {
  return static_cast<std::size_t>(kind);
}

// The weight table a sum reads: agari, pace or soha of CourseCategoryTables.
using WeightTable = std::array<std::vector<float>, kFactorItemCount + 1> CourseCategoryTables::*;
inline constexpr WeightTable kAgariWeights = &CourseCategoryTables::agari;
inline constexpr WeightTable kPaceWeights = &CourseCategoryTables::pace;
inline constexpr WeightTable kSohaWeights = &CourseCategoryTables::soha;

// The window instance's scoring state over its loaded tables, which must outlive it and
// never change. The row index of each course kind and item is built at its first
// look-up and kept for the instance.
class RunnerScoring {
 public:
  // Without tables (null) no code has a row.
  explicit RunnerScoring(const CategoryTables* tables) : tables_(tables) {}

  // The row of item k's code: the first, lowest row q from 1 to the item's category total
  // whose code is exactly `code` (every byte, trailing blanks included), in the tables of
  // the course kind of `run`; none when no row holds it.
  std::optional<std::int32_t> FindCategoryRow(int item, std::string_view code,
                                              std::string_view run);

  // RunnerCategoryRows 1 to 30: the rows of the thirty items of `itemRecord`, cut at
  // their full width (0 for a code without a row).
  void CategorizeRunnerItems(std::string_view itemRecord, std::string_view run);

  // Sets `totals` to 0 and adds the weights of RunnerCategoryRows 1 to 30 from `table` into
  // the total of the course kind of `run`, rounding each sum to single precision. A sum
  // that leaves the single-precision range abandons the routine.
  void SumWeights(WeightTable table, ScoreTotals& totals, std::string_view run) const;
  void SumAgariWeights(std::string_view run) { SumWeights(kAgariWeights, AgariScoreTotals, run); }
  void SumPaceWeights(std::string_view run) { SumWeights(kPaceWeights, PaceScoreTotals, run); }
  void SumSohaWeights(std::string_view run) { SumWeights(kSohaWeights, SohaScoreTotals, run); }
  // The variants keep a second name for the Pace sum; it is the same sum.
  void SumPaceWeights2(std::string_view run) { SumPaceWeights(run); }

  std::array<std::int32_t, kFactorItemCount + 1> RunnerCategoryRows{};
  ScoreTotals AgariScoreTotals{};
  ScoreTotals PaceScoreTotals{};
  ScoreTotals SohaScoreTotals{};

 private:
  using RowIndex = std::unordered_map<std::string_view, std::int32_t>;
  const RowIndex& Index(CourseKind kind, int item);

  const CategoryTables* tables_;
  std::array<std::array<std::optional<RowIndex>, kFactorItemCount + 1>, 4> index_;
};

// An item that scores the previous valid run p: the weight sum it calls, the totals that sum
// fills, the speed figure of run p it compares with, and whether the score and the code
// are 16-bit whole numbers (a value past that range abandons the routine).
struct PreviousRunScore {
  void (RunnerScoring::*sum)(std::string_view run);
  ScoreTotals RunnerScoring::*totals;
  std::string (*speed)(ItemContext&);
  bool sixteenBit;
};

// "10" for a first run. Otherwise reads run p, clears RunnerCategoryRows, categorises the
// item record under construction and sums the weights by run p's course kind; the code is
// the first two characters of the speed figure of run p as a number - Int(total) + 10, the
// total chosen by run p's TrackCode (0 to 22 turf, 23 to 49 dirt, any other jump), and "10"
// outside 0 to 15. Reads the run under work again before it returns.
std::string PreviousRunScoreCode(ItemContext& c, const PreviousRunScore& score);

}  // namespace meridax
