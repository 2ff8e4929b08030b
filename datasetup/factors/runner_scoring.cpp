#include "datasetup/factors/runner_scoring.h"

#include <algorithm>
#include <cmath>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/item_toolkit.h"

namespace meridax {

CourseKind ScoringCourseKind(std::string_view run) {
  const std::int16_t track = TrackNumber(run);
  if (InRange(track, 0, 22)) return CourseKind::kTurf;
  if (InRange(track, 23, 24)) return CourseKind::kDirt;
  return CourseKind::kJump;
}

const RunnerScoring::RowIndex& RunnerScoring::Index(CourseKind kind, int item) {
  auto& slot = index_[KindIndex(kind)][static_cast<std::size_t>(item)];
  if (!slot) {
    slot.emplace();
    if (tables_ != nullptr) {
      const CourseCategoryTables& t = (*tables_)[KindIndex(kind)];
      const std::vector<std::string>& codes = t.codes[static_cast<std::size_t>(item)];
      // Rows past the loaded codes hold nothing a code of the record can equal.
      const std::int64_t last = std::min<std::int64_t>(
          Checked32(static_cast<double>(t.totals[static_cast<std::size_t>(item)])),
          static_cast<std::int64_t>(codes.size()) - 1);
      slot->reserve(static_cast<std::size_t>(std::max<std::int64_t>(last, 0)));
      for (std::int32_t row = 1; row <= last; ++row) {
        slot->try_emplace(codes[static_cast<std::size_t>(row)], row);  // the lowest row stays
      }
    }
  }
  return *slot;
}

std::optional<std::int32_t> RunnerScoring::FindCategoryRow(int item, std::string_view code,
                                                           std::string_view run) {
  const RowIndex& index = Index(ScoringCourseKind(run), item);
  const auto it = index.find(code);
  if (it == index.end()) return std::nullopt;
  return it->second;
}

void RunnerScoring::CategorizeRunnerItems(std::string_view itemRecord, std::string_view run) {
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const std::string_view code = records::View(itemRecord, factor_item::Item(k));
    RunnerCategoryRows[static_cast<std::size_t>(k)] = FindCategoryRow(k, code, run).value_or(0);
  }
}

void RunnerScoring::SumWeights(WeightTable table, ScoreTotals& totals, std::string_view run) const {
  totals.fill(0.0f);
  const CourseKind kind = ScoringCourseKind(run);
  if (tables_ == nullptr) return;
  const auto& weights = (*tables_)[KindIndex(kind)].*table;
  float& total = totals[KindIndex(kind)];
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const std::vector<float>& item = weights[static_cast<std::size_t>(k)];
    const auto row = static_cast<std::size_t>(RunnerCategoryRows[static_cast<std::size_t>(k)]);
    // Row 0, and a row whose weight was never loaded, weigh 0.
    const float weight = row >= 1 && row < item.size() ? item[row] : 0.0f;
    total = total + weight;
    if (!std::isfinite(total)) throw ItemAbandoned("score total out of single-precision range");
  }
}

std::string PreviousRunScoreCode(ItemContext& c, const PreviousRunScore& score) {
  c.ReadCurrent();
  if (c.CurrentRunNumber <= 1) return "10";
  const std::string_view previous = c.Read(PreviousValidRun(c, c.CurrentRunNumber));
  if (c.scoring == nullptr || c.CurrentItemRecord == nullptr) {
    throw ItemAbandoned("no runner scoring in this context");
  }
  RunnerScoring& scoring = *c.scoring;
  scoring.RunnerCategoryRows.fill(0);
  const std::int16_t track = TrackNumber(previous);
  // Items 1 to 28 are this run's; 29 and 30 still the previous record's.
  scoring.CategorizeRunnerItems(*c.CurrentItemRecord, previous);
  (scoring.*score.sum)(previous);
  // The total is read by the flat and jump bands, so a previous run on the dirt tracks 25
  // to 29, which the scoring counts as jump, has the score 0.
  const ScoreTotals& totals = scoring.*score.totals;
  const float total = InRange(track, 0, 22)    ? totals[1]
                      : InRange(track, 23, 49) ? totals[2]
                                               : totals[3];
  const double figure = CInt16(std::string_view(score.speed(c)).substr(0, 2));
  double predicted = std::floor(static_cast<double>(total));
  double value = 0;
  if (score.sixteenBit) {
    predicted = Checked16(predicted);
    value = Checked16(figure - predicted + 10);
  } else {
    value = figure - predicted + 10;
  }
  std::string code = value < 0 || value > 15 ? "10" : DecimalText(static_cast<std::int64_t>(value));
  c.ReadCurrent();
  return code;
}

}  // namespace meridax
