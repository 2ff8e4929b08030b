#pragma once

// The weight tables of a course kind: read what the categorisation of that kind left in
// the data folder, fit per speed kind one weight per category by least squares, and write
// the six OPTION1N tables the category window loads when it opens.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/factor_item_record.h"

namespace meridax {

// Inputs that are missing or do not belong together; the message says which and why.
class WeightsRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The categories of one course kind as the categorisation wrote them.
struct Categorisation {
  std::int64_t records = 0;                                 // records of the item file
  std::array<std::int64_t, kFactorItemCount + 1> totals{};  // categories of item k (index 0 unused)
  std::array<std::int64_t, kFactorItemCount + 2> offsets{};  // place of item k's first category
  std::vector<std::string> codes;                            // item-major, category order
  std::vector<std::int64_t> counts;                          // same order

  std::int64_t CategoryCount() const { return offsets[kFactorItemCount + 1]; }
  // The items that a run's sum takes a weight from; the others are category 0 throughout.
  int ItemsWithCategories() const {
    int items = 0;
    for (int k = 1; k <= kFactorItemCount; ++k) items += totals[static_cast<std::size_t>(k)] > 0;
    return items;
  }
};

// One speed kind's regression lines: the speed and the 30 category numbers (0 = none) of
// every record, the numbers of record r at r * 30 onwards.
struct RegressionData {
  std::vector<float> speeds;
  std::vector<std::int32_t> categories;
};

// The ridges tried, in runs: each category counts that many more runs at no effect.
inline constexpr std::array<int, 5> kWeightRidges{1, 3, 10, 30, 100};

// Run j of the runs used (in file order, from 0) is held out in fold j mod kWeightFolds.
inline constexpr int kWeightFolds = 5;

// Up to this many categories the fit forms the normal equations and factors them, exact
// to rounding: a dense matrix of 8 MB and some tens of milliseconds at the road's 1,000
// categories, growing with their cube. Beyond, the conjugate gradient on the runs'
// categories, whose cost grows with the runs, is the cheaper.
inline constexpr std::int64_t kWeightDenseLimit = 2000;

// How well the sums of a fit's weights, taken as the scoring takes them, reproduce the
// speeds of the runs used.
struct FitFigures {
  std::optional<double> rSquared;  // none without spread in the speeds
  std::optional<double> rmse;      // none without a run
};

// The fitted weights of one speed kind, item-major in the category order: the fit on all
// runs used at the ridge whose held-out figures (each run predicted by the fit on the
// folds without it) are best, with its figures in sample and held out.
struct WeightFit {
  std::vector<float> weights;
  std::int64_t runsUsed = 0;
  std::optional<int> ridge;  // none without a run used
  FitFigures inSample;
  FitFigures heldOut;  // none also with fewer runs used than folds
  std::array<FitFigures, kWeightRidges.size()> heldOutByRidge;
  int iterations = 0;     // conjugate-gradient steps of all solves together; 0 when factored
  bool converged = true;  // every solve reached its tolerance
};

// No horse runs this fast, in km/h: a speed at or above it comes from a damaged file.
inline constexpr float kSpeedLimit = 1000;

// Throw WeightsRefused, naming the file and the line, for a missing file, one that
// contradicts the totals file or is not in the lines the categorisation writes, a category
// number outside its item's categories, a speed of kSpeedLimit or more, an item of more
// categories than a category window loads, or no item of categories at all.
Categorisation ReadCategorisation(CourseKind kind);
RegressionData ReadRegressionData(CourseKind kind, SpeedFigureKind figure,
                                  const Categorisation& categories);

// Everything a run of the tool reads from the data folder.
struct WeightInputs {
  Categorisation categories;
  std::array<RegressionData, 3> data;  // of kSpeedFigureKinds, in order
};

// The reading phase of a run, all of it: every input is read, or refused, before anything
// is fitted; no other program's commit comes between its files.
WeightInputs ReadWeightInputs(CourseKind kind);

// Runs with a speed above 0 are used: a speed of 0 is a run without a time.
WeightFit FitWeights(const Categorisation& categories, const RegressionData& data);

// The fit on all runs used at one ridge, with its figures in sample only: the tables that
// FitWeights writes at the ridge it chose.
WeightFit FitWeightsAtRidge(const Categorisation& categories, const RegressionData& data,
                            int ridge);

// The place in kWeightRidges of the best held-out R², the smaller ridge on a tie; the
// smallest when no R² is defined.
std::size_t BestRidge(const std::array<FitFigures, kWeightRidges.size()>& heldOutByRidge);

// The fits of the Agari, Pace and Soha data, side by side.
std::array<WeightFit, 3> FitWeightTables(const Categorisation& categories,
                                         const std::array<RegressionData, 3>& data);

// The sum of a run's weights, in single precision and item order, as the scoring adds it.
float PredictedSpeed(const Categorisation& categories, const std::vector<float>& weights,
                     const std::int32_t* runCategories);

// The printed line of one speed kind's fit; '-' for a figure that is not defined, infinite
// or not a number.
std::string FigureLine(CourseKind kind, SpeedFigureKind figure, const WeightFit& fit);

// Writes the kind's six OPTION1N tables together, or none (IoError).
void WriteWeightTables(CourseKind kind, const Categorisation& categories,
                       const std::array<WeightFit, 3>& fits);

// The whole tool for one course kind: figures per speed kind to `out`, a refusal or a
// failure to `err`. Returns 0, or 1 when nothing was written or `out` could not be written:
// figures that cannot be written leave the tables unwritten, and `err` says whether the
// tables were written.
int RunWeights(CourseKind kind, std::ostream& out, std::ostream& err);

}  // namespace meridax
