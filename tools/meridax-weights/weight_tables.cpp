#include "tools/meridax-weights/weight_tables.h"

#include <Eigen/Cholesky>
#include <Eigen/IterativeLinearSolvers>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <future>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <type_traits>

#include "platform/data_folder_lock.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {

namespace {

// Every item's categories split the runs, so adding a constant to one item's weights and
// taking it from another's changes no prediction, and a category seen in one or two runs
// is barely determined: the ridge, counted in runs of each category at no effect, makes
// the fit unique and pulls such categories towards the mean's share. Next to a category of
// hundreds of runs it is nothing. The conjugate gradient stops at this relative residual
// of the normal equations: far below what the single-precision tables tell apart.
constexpr double kTolerance = 1e-10;
constexpr int kMaxIterations = 5000;

constexpr std::string_view kOutputFailure = "standard output cannot be written";

std::string NameOf(std::string_view relative) {
  return std::string(kDataFolder) + std::string(relative);
}

// One categorisation file, read item by item in the lines the categorisation writes: the
// caller says which item ends its line, so that a line of items too few or too many, or a
// last line cut before its line end, is refused with the file and line named.
class InputFile {
 public:
  InputFile(std::string relative, std::string_view missingHint)
      : name_(NameOf(relative)), reader_(Open(relative, name_, missingHint)) {}

  [[noreturn]] void RefuseLines(const std::string& lines, const std::string& why) const {
    throw WeightsRefused(name_ + ", " + lines + ": " + why);
  }
  [[noreturn]] void RefuseLine(std::int64_t line, const std::string& why) const {
    RefuseLines("line " + std::to_string(line), why);
  }
  // On the line of the item read last.
  [[noreturn]] void Refuse(const std::string& why) const { RefuseLine(itemLine_, why); }

  // `what` names the item, as a text or as a function giving it: a record's items are
  // named only when one is refused.
  template <class What>
  const std::string& Next(const What& what, bool endsLine) {
    if (reader_.AtEnd()) RefuseLine(line_, "the file ends before " + Text(what));
    itemLine_ = line_;
    item_ = reader_.Next();
    switch (reader_.LastEnd()) {
      case ItemReader::End::kFile:
        Refuse("the file ends in this line, with no line end after " + Text(what));
      case ItemReader::End::kComma:
        if (endsLine) Refuse("the line goes on after " + Text(what));
        break;
      case ItemReader::End::kLine:
        if (!endsLine) Refuse("the line ends after " + Text(what));
        ++line_;
        break;
    }
    return item_;
  }

  // The item read last, as the file has it.
  const std::string& LastItem() const { return item_; }

  template <class What>
  std::int64_t Whole(const What& what, bool endsLine) {
    const std::string& text = Next(what, endsLine);
    const auto v = ToInt32(text);
    if (!v || text.find('.') != std::string::npos) {
      Refuse(Text(what) + " is not a whole number: " + text);
    }
    return *v;
  }

  template <class What>
  float Single(const What& what, bool endsLine) {
    const std::string& text = Next(what, endsLine);
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    float value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
      Refuse(Text(what) + " is not a number: " + text);
    }
    return value;
  }

  void ExpectEnd(const std::string& past) {
    if (!reader_.AtEnd()) RefuseLine(line_, "the file goes on past " + past);
  }

 private:
  template <class What>
  static std::string Text(const What& what) {
    if constexpr (std::is_invocable_v<What>)
      return what();
    else
      return std::string(what);
  }

  static ItemReader Open(std::string_view relative, const std::string& name,
                         std::string_view missingHint) {
    const auto path = DataPath(relative);
    switch (const int why = WhyNotAFile(path)) {
      case 0:
        return ItemReader(path);
      case EISDIR:
        throw WeightsRefused(name + " is a folder, not a file");
      case ENOENT:
        throw WeightsRefused(name + " is missing: " + std::string(missingHint));
      default:
        throw WeightsRefused(name + " cannot be read: " + ErrorCause(why));
    }
  }

  std::string name_;
  ItemReader reader_;
  std::int64_t line_ = 1;      // of the next item
  std::int64_t itemLine_ = 1;  // of the item read last
  std::string item_;
};

std::string MissingHint(CourseKind kind) {
  return "run the categorisation of " + std::string(CourseKindTableWord(kind)) + " first";
}

std::string ItemText(int k) {
  return "item " + std::to_string(k);
}

std::string CategoryText(int k, std::int64_t q) {
  return "category " + std::to_string(q) + " of " + ItemText(k);
}

// Lines 1 to 31 of the totals and data files: the record count and 30, then the categories
// of items 1 to 30, one a line.
void ReadHead(InputFile& file, std::int64_t& records,
              std::array<std::int64_t, kFactorItemCount + 1>& totals) {
  records = file.Whole("the record count", false);
  if (records < 0) file.Refuse("the record count is negative");
  if (file.Whole("the item count", true) != kFactorItemCount) {
    file.Refuse("the item count is not " + std::to_string(kFactorItemCount));
  }
  for (int k = 1; k <= kFactorItemCount; ++k) {
    auto& total = totals[static_cast<std::size_t>(k)];
    total = file.Whole("the number of categories of " + ItemText(k), true);
    if (total < 0) file.Refuse(ItemText(k) + " has a negative number of categories");
  }
}

void RequireDataFolder() {
  if (const int why = WhyNotAFolder(DataPath()); why == ENOENT || why == ENOTDIR) {
    throw WeightsRefused(std::string(kDataFolder) + " is missing: no data folder");
  } else if (why != 0) {
    throw WeightsRefused(std::string(kDataFolder) + " cannot be read: " + ErrorCause(why));
  }
}

}  // namespace

Categorisation ReadCategorisation(CourseKind kind) {
  RequireDataFolder();
  Categorisation c;
  {
    InputFile totals(RegressionTotalsFileName(kind), MissingHint(kind));
    ReadHead(totals, c.records, c.totals);
    totals.ExpectEnd("the categories of item 30");
    // Tables the window would refuse to load are not written.
    for (int k = 1; k <= kFactorItemCount; ++k) {
      const std::int64_t total = c.totals[static_cast<std::size_t>(k)];
      if (total > kCategoryTableRows) {
        totals.RefuseLine(
            k + 1, ItemText(k) + " has " + std::to_string(total) + " categories, more than the " +
                       std::to_string(kCategoryTableRows) + " a category window loads");
      }
    }
    // A run's sum takes weights only from the items that have categories; without a record
    // there is no mean to take, and the tables are empty.
    if (c.records > 0 && c.ItemsWithCategories() == 0) {
      totals.RefuseLines("lines 2 to 31",
                         "no item has a category, so no weight table could take the mean speed");
    }
  }
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const auto ks = static_cast<std::size_t>(k);
    c.offsets[ks + 1] = c.offsets[ks] + c.totals[ks];
  }
  // Counts read from a file size nothing: a file holding fewer items ends first.
  const std::string allCategories =
      "the " + std::to_string(c.CategoryCount()) + " categories of the totals file";
  {
    InputFile codes(ItemCategoryFileName(kind), MissingHint(kind));
    for (int k = 1; k <= kFactorItemCount; ++k) {
      for (std::int64_t q = 1; q <= c.totals[static_cast<std::size_t>(k)]; ++q) {
        c.codes.push_back(codes.Next("the code of " + CategoryText(k, q), true));
      }
    }
    codes.ExpectEnd(allCategories);
  }
  {
    InputFile counts(ItemCategoryCountFileName(kind), MissingHint(kind));
    for (int k = 1; k <= kFactorItemCount; ++k) {
      for (std::int64_t q = 1; q <= c.totals[static_cast<std::size_t>(k)]; ++q) {
        c.counts.push_back(counts.Whole("the count of " + CategoryText(k, q), true));
      }
    }
    counts.ExpectEnd(allCategories);
  }
  return c;
}

RegressionData ReadRegressionData(CourseKind kind, SpeedFigureKind figure,
                                  const Categorisation& c) {
  InputFile file(RegressionDataFileName(kind, figure), MissingHint(kind));
  std::int64_t records = 0;
  std::array<std::int64_t, kFactorItemCount + 1> totals{};
  ReadHead(file, records, totals);
  if (records != c.records || totals != c.totals) {
    file.RefuseLines("lines 1 to 31",
                     "differ from the totals file's: not of the same categorisation");
  }
  RegressionData d;
  for (std::int64_t r = 1; r <= records; ++r) {
    const std::string record = "record " + std::to_string(r);
    const auto speedOf = [&] { return "the speed of " + record; };
    const float speed = file.Single(speedOf, false);
    if (speed >= kSpeedLimit) {
      file.Refuse(speedOf() + " is " + file.LastItem() + " km/h, not below " +
                  ShortestText(kSpeedLimit) + " as a horse's");
    }
    d.speeds.push_back(speed);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      const std::int64_t total = c.totals[static_cast<std::size_t>(k)];
      const std::int64_t q = file.Whole([&] { return record + "'s category of " + ItemText(k); },
                                        k == kFactorItemCount);
      // The categorisation finds every record's code among its item's categories; an item
      // without categories has category 0 throughout.
      if (total == 0 ? q != 0 : q < 1 || q > total) {
        file.Refuse(record + " has " + CategoryText(k, q) + ", " +
                    (total == 0 ? "which has no categories"
                                : "whose categories are 1 to " + std::to_string(total)));
      }
      d.categories.push_back(static_cast<std::int32_t>(q));
    }
  }
  file.ExpectEnd("the " + std::to_string(records) + " records of line 1");
  return d;
}

WeightInputs ReadWeightInputs(CourseKind kind) {
  // The categorisation's files are one commit's: no other commit comes between them.
  const DataFolderReading reading;
  WeightInputs inputs;
  inputs.categories = ReadCategorisation(kind);
  for (std::size_t v = 0; v < inputs.data.size(); ++v) {
    inputs.data[v] = ReadRegressionData(kind, kSpeedFigureKinds[v], inputs.categories);
  }
  return inputs;
}

float PredictedSpeed(const Categorisation& c, const std::vector<float>& weights,
                     const std::int32_t* runCategories) {
  float total = 0;
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const std::int32_t q = runCategories[k - 1];
    if (q > 0)
      total += weights[static_cast<std::size_t>(c.offsets[static_cast<std::size_t>(k)] + q - 1)];
  }
  return total;
}

namespace {

// The fold of the fit on all runs used.
constexpr int kAllRuns = -1;

// The runs used of one speed kind: their speeds and the columns of their categories, in
// increasing order since items own consecutive columns.
struct UsedRuns {
  std::vector<const std::int32_t*> categories;  // the run's 30 numbers in the data
  std::vector<double> speeds;
  std::vector<Eigen::Index> columns;
  std::vector<std::size_t> starts{0};  // run i's columns from starts[i] to starts[i + 1]

  std::size_t Count() const { return speeds.size(); }

  static bool InFold(std::size_t i, int fold) { return static_cast<int>(i % kWeightFolds) == fold; }
  static bool Trains(std::size_t i, int leftOut) {
    return leftOut == kAllRuns || !InFold(i, leftOut);
  }

  std::size_t TrainingCount(int leftOut) const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < Count(); ++i) n += Trains(i, leftOut) ? 1 : 0;
    return n;
  }

  double Mean(int leftOut) const {
    double sum = 0;
    for (std::size_t i = 0; i < Count(); ++i) {
      if (Trains(i, leftOut)) sum += speeds[i];
    }
    return sum / static_cast<double>(TrainingCount(leftOut));
  }
};

UsedRuns CollectUsedRuns(const Categorisation& c, const RegressionData& d) {
  UsedRuns runs;
  for (std::size_t r = 0; r < d.speeds.size(); ++r) {
    if (!(d.speeds[r] > 0)) continue;
    const std::int32_t* row = &d.categories[r * kFactorItemCount];
    runs.categories.push_back(row);
    runs.speeds.push_back(d.speeds[r]);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      if (row[k - 1] > 0)
        runs.columns.push_back(c.offsets[static_cast<std::size_t>(k)] + row[k - 1] - 1);
    }
    runs.starts.push_back(runs.columns.size());
  }
  return runs;
}

// The weights of a fit: the mean, shared equally by the items that have categories (a
// run's sum takes one weight of each), and each category's effect.
std::vector<float> WeightsOf(const Categorisation& c, const Eigen::VectorXd& effects, double mean) {
  const double share = effects.size() > 0 ? mean / c.ItemsWithCategories() : 0.0;
  std::vector<float> weights(static_cast<std::size_t>(effects.size()));
  for (Eigen::Index j = 0; j < effects.size(); ++j) {
    const auto weight = static_cast<float>(share + effects[j]);
    if (!std::isfinite(weight)) throw WeightsRefused("the fit gave a weight that is not a number");
    weights[static_cast<std::size_t>(j)] = weight;
  }
  return weights;
}

FitFigures FiguresOf(const UsedRuns& runs, const std::vector<float>& predictions) {
  const double mean = runs.Mean(kAllRuns);
  double residual = 0, spread = 0;
  for (std::size_t i = 0; i < runs.Count(); ++i) {
    const double e = runs.speeds[i] - predictions[i];
    residual += e * e;
    spread += (runs.speeds[i] - mean) * (runs.speeds[i] - mean);
  }
  FitFigures figures;
  const double rmse = std::sqrt(residual / static_cast<double>(runs.Count()));
  if (std::isfinite(rmse)) figures.rmse = rmse;
  if (spread > 0 && std::isfinite(residual / spread)) figures.rSquared = 1.0 - residual / spread;
  return figures;
}

// The ridge normal equations (AᵀA + ridge I) x = Aᵀ(y - mean) of the runs outside a fold,
// formed and factored. A category without a training run has a row of the ridge alone and
// a right side of 0: its effect is exactly 0.
class DenseNormalEquations {
 public:
  DenseNormalEquations(const UsedRuns& runs, Eigen::Index p) : runs_(runs), all_(p, p) {
    all_.setZero();
    for (std::size_t i = 0; i < runs.Count(); ++i) AddRun(all_, i, 1.0);
  }

  void Select(int leftOut, double mean) {
    gram_ = all_;
    rhs_ = Eigen::VectorXd::Zero(all_.rows());
    for (std::size_t i = 0; i < runs_.Count(); ++i) {
      if (!UsedRuns::Trains(i, leftOut)) {
        AddRun(gram_, i, -1.0);
        continue;
      }
      for (std::size_t a = runs_.starts[i]; a < runs_.starts[i + 1]; ++a) {
        rhs_[runs_.columns[a]] += runs_.speeds[i] - mean;
      }
    }
  }

  Eigen::VectorXd Solve(int ridge) {
    if (gram_.rows() == 0) return {};
    factor_ = gram_;
    factor_.diagonal().array() += ridge;
    const Eigen::LLT<Eigen::Ref<Eigen::MatrixXd>, Eigen::Lower> llt(factor_);
    if (llt.info() != Eigen::Success) throw WeightsRefused("the normal equations are not positive");
    return llt.solve(rhs_);
  }

  int iterations() const { return 0; }
  bool converged() const { return true; }

 private:
  // The lower triangle alone: the factorisation reads no other.
  void AddRun(Eigen::MatrixXd& gram, std::size_t i, double sign) const {
    for (std::size_t b = runs_.starts[i]; b < runs_.starts[i + 1]; ++b) {
      for (std::size_t a = runs_.starts[i]; a <= b; ++a) {
        gram(runs_.columns[b], runs_.columns[a]) += sign;
      }
    }
  }

  const UsedRuns& runs_;
  Eigen::MatrixXd all_, gram_, factor_;
  Eigen::VectorXd rhs_;
};

// The same least-squares problem for many categories: the design of the runs outside a
// fold with one ridge row per category, solved by the least-squares conjugate gradient,
// each ridge from the solution at the one before. The relative residual of the normal
// equations at which it stops leaves the weights well within single precision's reach.
class SparseLeastSquares {
 public:
  SparseLeastSquares(const UsedRuns& runs, Eigen::Index p) : runs_(runs), p_(p) {}

  void Select(int leftOut, double mean) {
    const auto n = static_cast<Eigen::Index>(runs_.TrainingCount(leftOut));
    design_ = Matrix(n + p_, p_);
    Eigen::VectorXi perRow(n + p_);
    b_ = Eigen::VectorXd::Zero(n + p_);
    Eigen::Index row = 0;
    for (std::size_t i = 0; i < runs_.Count(); ++i) {
      if (!UsedRuns::Trains(i, leftOut)) continue;
      perRow[row] = static_cast<int>(runs_.starts[i + 1] - runs_.starts[i]);
      b_[row++] = runs_.speeds[i] - mean;
    }
    perRow.tail(p_).setOnes();
    design_.reserve(perRow);
    row = 0;
    for (std::size_t i = 0; i < runs_.Count(); ++i) {
      if (!UsedRuns::Trains(i, leftOut)) continue;
      for (std::size_t a = runs_.starts[i]; a < runs_.starts[i + 1]; ++a) {
        design_.insert(row, runs_.columns[a]) = 1.0;
      }
      ++row;
    }
    for (Eigen::Index j = 0; j < p_; ++j) design_.insert(n + j, j) = 1.0;
    design_.makeCompressed();
    ridgeValues_ = design_.valuePtr() + design_.outerIndexPtr()[n];
    guess_ = Eigen::VectorXd::Zero(p_);
  }

  Eigen::VectorXd Solve(int ridge) {
    std::fill(ridgeValues_, ridgeValues_ + p_, std::sqrt(static_cast<double>(ridge)));
    Eigen::LeastSquaresConjugateGradient<Matrix> solver;
    solver.setTolerance(kTolerance);
    solver.setMaxIterations(kMaxIterations);
    solver.compute(design_);
    guess_ = solver.solveWithGuess(b_, guess_);
    iterations_ += static_cast<int>(solver.iterations());
    converged_ = converged_ && solver.info() == Eigen::Success;
    return guess_;
  }

  int iterations() const { return iterations_; }
  bool converged() const { return converged_; }

 private:
  using Matrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

  const UsedRuns& runs_;
  Eigen::Index p_;
  Matrix design_;
  double* ridgeValues_ = nullptr;
  Eigen::VectorXd b_, guess_;
  int iterations_ = 0;
  bool converged_ = true;
};

// The fit on all runs used at `ridge`, from a selection of its own so that it is the same
// whether cross-validation ran before it or not.
template <class Solver>
void FitAllRuns(const Categorisation& c, const UsedRuns& runs, Solver& solver, int ridge,
                WeightFit& fit) {
  const double mean = runs.Mean(kAllRuns);
  solver.Select(kAllRuns, mean);
  fit.ridge = ridge;
  fit.weights = WeightsOf(c, solver.Solve(ridge), mean);
  std::vector<float> predictions(runs.Count());
  for (std::size_t i = 0; i < runs.Count(); ++i) {
    predictions[i] = PredictedSpeed(c, fit.weights, runs.categories[i]);
  }
  fit.inSample = FiguresOf(runs, predictions);
}

// Each run predicted at every ridge by the fit on the other folds, with their own mean.
template <class Solver>
void CrossValidate(const Categorisation& c, const UsedRuns& runs, Solver& solver, WeightFit& fit) {
  std::array<std::vector<float>, kWeightRidges.size()> predictions;
  for (auto& p : predictions) p.assign(runs.Count(), 0.0f);
  for (int fold = 0; fold < kWeightFolds; ++fold) {
    const double mean = runs.Mean(fold);
    solver.Select(fold, mean);
    // The largest ridge first: it settles soonest and starts the next one closer.
    for (std::size_t r = kWeightRidges.size(); r-- > 0;) {
      const std::vector<float> weights = WeightsOf(c, solver.Solve(kWeightRidges[r]), mean);
      for (std::size_t i = static_cast<std::size_t>(fold); i < runs.Count(); i += kWeightFolds) {
        predictions[r][i] = PredictedSpeed(c, weights, runs.categories[i]);
      }
    }
  }
  for (std::size_t r = 0; r < kWeightRidges.size(); ++r) {
    fit.heldOutByRidge[r] = FiguresOf(runs, predictions[r]);
  }
}

template <class Solver>
WeightFit FitWith(const Categorisation& c, const UsedRuns& runs, std::optional<int> ridge) {
  WeightFit fit;
  fit.runsUsed = static_cast<std::int64_t>(runs.Count());
  fit.weights.assign(static_cast<std::size_t>(c.CategoryCount()), 0.0f);
  if (runs.Count() == 0) return fit;
  Solver solver(runs, c.CategoryCount());
  if (!ridge) {
    // With fewer runs than folds a fold would hold out nothing: no held-out figures, and
    // the smallest ridge.
    if (runs.Count() >= static_cast<std::size_t>(kWeightFolds)) CrossValidate(c, runs, solver, fit);
    const std::size_t best = BestRidge(fit.heldOutByRidge);
    fit.heldOut = fit.heldOutByRidge[best];
    ridge = kWeightRidges[best];
  }
  FitAllRuns(c, runs, solver, *ridge, fit);
  fit.iterations = solver.iterations();
  fit.converged = solver.converged();
  return fit;
}

WeightFit Fit(const Categorisation& c, const RegressionData& d, std::optional<int> ridge) {
  const UsedRuns runs = CollectUsedRuns(c, d);
  return c.CategoryCount() <= kWeightDenseLimit ? FitWith<DenseNormalEquations>(c, runs, ridge)
                                                : FitWith<SparseLeastSquares>(c, runs, ridge);
}

}  // namespace

WeightFit FitWeights(const Categorisation& c, const RegressionData& d) {
  return Fit(c, d, std::nullopt);
}

WeightFit FitWeightsAtRidge(const Categorisation& c, const RegressionData& d, int ridge) {
  return Fit(c, d, ridge);
}

std::size_t BestRidge(const std::array<FitFigures, kWeightRidges.size()>& heldOutByRidge) {
  std::size_t best = 0;
  for (std::size_t r = 1; r < heldOutByRidge.size(); ++r) {
    const auto& q = heldOutByRidge[r].rSquared;
    if (q && (!heldOutByRidge[best].rSquared || *q > *heldOutByRidge[best].rSquared)) best = r;
  }
  return best;
}

std::array<WeightFit, 3> FitWeightTables(const Categorisation& c,
                                         const std::array<RegressionData, 3>& data) {
  // The three fits share nothing but the categories: each on its own core.
  std::array<std::future<WeightFit>, 3> pending;
  for (std::size_t v = 0; v < data.size(); ++v) {
    pending[v] = std::async(std::launch::async, [&c, &d = data[v]] { return FitWeights(c, d); });
  }
  std::array<WeightFit, 3> fits;
  for (std::size_t v = 0; v < fits.size(); ++v) fits[v] = pending[v].get();
  return fits;
}

void WriteWeightTables(CourseKind kind, const Categorisation& c,
                       const std::array<WeightFit, 3>& fits) {
  const CategoryTableFiles files = CategoryTableFilesOf(kind);
  RequireFolder(DataPath(kOptionFolder));
  StagedFiles outputs;
  {
    // Only the categories per item: the window's totals table has no leading pair.
    TextWriter totals(outputs.Stage(DataPath(files.totals)), TextWriter::Mode::kOutput);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      totals.Num(c.totals[static_cast<std::size_t>(k)]).EndLine();
    }
    totals.Close();
  }
  {
    TextWriter codes(outputs.Stage(DataPath(files.categories)), TextWriter::Mode::kOutput);
    for (const std::string& code : c.codes) codes.Str(code).EndLine();
    codes.Close();
  }
  const std::array<const std::string*, 3> weightFiles{&files.agariWeights, &files.paceWeights,
                                                      &files.sohaWeights};
  for (std::size_t v = 0; v < fits.size(); ++v) {
    TextWriter weights(outputs.Stage(DataPath(*weightFiles[v])), TextWriter::Mode::kOutput);
    for (const float w : fits[v].weights) weights.Bare(ShortestText(w)).EndLine();
    weights.Close();
  }
  {
    TextWriter counts(outputs.Stage(DataPath(files.counts)), TextWriter::Mode::kOutput);
    for (const std::int64_t n : c.counts) counts.Num(n).EndLine();
    counts.Close();
  }
  outputs.Commit();
}

namespace {

// Neither infinity nor "not a number" is a figure.
bool Defined(const std::optional<double>& value) {
  return value && std::isfinite(*value);
}

}  // namespace

std::string FigureLine(CourseKind kind, SpeedFigureKind figure, const WeightFit& fit) {
  std::ostringstream line;
  line << CourseKindTableWord(kind) << ' ' << SpeedFigureWord(figure) << ": runs used "
       << fit.runsUsed << ", ridge ";
  if (fit.ridge)
    line << *fit.ridge;
  else
    line << '-';
  line << std::fixed << std::setprecision(4);
  const auto put = [&line](const std::optional<double>& value) {
    if (Defined(value))
      line << *value;
    else
      line << '-';
  };
  line << ", R² ";
  put(fit.inSample.rSquared);
  line << " (held-out ";
  put(fit.heldOut.rSquared);
  line << "), RMSE ";
  put(fit.inSample.rmse);
  line << " (held-out ";
  put(fit.heldOut.rmse);
  line << ')';
  if (Defined(fit.inSample.rmse)) line << " km/h";
  if (!fit.converged) line << " (a solve stopped after " << kMaxIterations << " iterations)";
  return line.str();
}

int RunWeights(CourseKind kind, std::ostream& out, std::ostream& err) {
  // A wait for another program (its commit of the files read here, its reading of the
  // tables replaced here) is said on the error stream: the figures stay alone on the other.
  SetDataFolderWaitNotice(
      [&err](std::string_view text) { err << "meridax-weights: " << text << '\n'; });
  struct NoticeEnd {
    ~NoticeEnd() { SetDataFolderWaitNotice({}); }
  } noticeEnd;
  try {
    RequireDataFolder();  // said as the tool says it, before the commits look at the folder
    CompleteInterruptedCommits();
    // Every input is read before anything is fitted, so a refusal costs no fit.
    const WeightInputs inputs = ReadWeightInputs(kind);
    const Categorisation& c = inputs.categories;
    const std::array<WeightFit, 3> fits = FitWeightTables(c, inputs.data);
    for (std::size_t v = 0; v < fits.size(); ++v) {
      out << FigureLine(kind, kSpeedFigureKinds[v], fits[v]) << '\n';
    }
    // Tables whose figures were lost are not written.
    if (!out.flush()) {
      err << "meridax-weights: " << CourseKindTableWord(kind) << ": " << kOutputFailure
          << "; no table was written\n";
      return 1;
    }
    WriteWeightTables(kind, c, fits);
    out << CourseKindTableWord(kind) << ": " << c.CategoryCount() << " categories of " << c.records
        << " records, tables written to " << kDataFolder << kOptionFolder << "\\\n";
    if (!out.flush()) {
      err << "meridax-weights: " << CourseKindTableWord(kind) << ": " << kOutputFailure
          << "; the tables were written\n";
      return 1;
    }
    return 0;
  } catch (const WeightsRefused& e) {
    err << "meridax-weights: " << e.what() << '\n';
  } catch (const IoError& e) {
    err << "meridax-weights: " << e.what() << '\n';
  } catch (...) {
    // Anything else still ends the run with its course kind named and nothing replaced.
    err << "meridax-weights: " << CourseKindTableWord(kind) << ": " << CurrentFailureText() << '\n';
  }
  return 1;
}

}  // namespace meridax
