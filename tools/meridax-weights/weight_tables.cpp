#include "tools/meridax-weights/weight_tables.h"

#include <Eigen/IterativeLinearSolvers>
#include <Eigen/SparseCore>
#include <charconv>
#include <cmath>
#include <future>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {

namespace {

// The ridge that makes the fit unique: every item's categories split the runs, so adding
// a constant to one item's weights and taking it from another's changes no prediction, and
// a category seen in one or two runs is barely determined. The ridge counts as one run of
// each category at no effect (kWeightRidge): next to a category of hundreds of runs it is nothing,
// a category of one run gets half its residual instead of all of it, and the system is well enough
// conditioned for the solver to settle in a few hundred steps. Relative residual of the normal
// equations at which the solver stops: the weights are then within about 1e-4 of the exact
// solution, below what the single-precision tables and the speed figures' own precision tell apart.
constexpr double kTolerance = 1e-8;
constexpr int kMaxIterations = 5000;

std::string NameOf(std::string_view relative) {
  return std::string(kDataFolder) + std::string(relative);
}

// Items of one categorisation file, read one at a time; a refusal names the file.
class InputFile {
 public:
  InputFile(std::string relative, std::string_view missingHint)
      : name_(NameOf(relative)), reader_(Open(relative, name_, missingHint)) {}

  [[noreturn]] void Refuse(const std::string& why) const {
    throw WeightsRefused(name_ + ": " + why);
  }

  std::string Next(std::string_view what) {
    if (reader_.AtEnd()) Refuse("ends before " + std::string(what));
    ++items_;
    return reader_.Next();
  }

  std::int64_t Whole(std::string_view what) {
    const std::string text = Next(what);
    const auto v = ToInt32(text);
    if (!v || text.find('.') != std::string::npos) {
      Refuse("item " + std::to_string(items_) + " (" + std::string(what) +
             ") is not a whole number: " + text);
    }
    return *v;
  }

  float Single(std::string_view what) {
    const std::string text = Next(what);
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    float value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
      Refuse("item " + std::to_string(items_) + " (" + std::string(what) +
             ") is not a number: " + text);
    }
    return value;
  }

  void ExpectEnd() {
    if (!reader_.AtEnd()) Refuse("has more items than its totals say");
  }

 private:
  static ItemReader Open(std::string_view relative, const std::string& name,
                         std::string_view missingHint) {
    const auto path = DataPath(relative);
    if (!FileExists(path)) throw WeightsRefused(name + " is missing: " + std::string(missingHint));
    return ItemReader(path);
  }

  std::string name_;
  ItemReader reader_;
  std::int64_t items_ = 0;
};

std::string MissingHint(CourseKind kind) {
  return "run the categorisation of " + std::string(CourseKindTableWord(kind)) + " first";
}

// The 31 leading items of the totals and data files: the record count, 30, and the
// categories of items 1 to 30.
void ReadHead(InputFile& file, std::int64_t& records,
              std::array<std::int64_t, kFactorItemCount + 1>& totals) {
  records = file.Whole("the record count");
  if (records < 0) file.Refuse("the record count is negative");
  if (file.Whole("the item count") != kFactorItemCount) {
    file.Refuse("the item count is not " + std::to_string(kFactorItemCount));
  }
  for (int k = 1; k <= kFactorItemCount; ++k) {
    totals[static_cast<std::size_t>(k)] = file.Whole("the totals");
    if (totals[static_cast<std::size_t>(k)] < 0) file.Refuse("a category total is negative");
  }
}

}  // namespace

Categorisation ReadCategorisation(CourseKind kind) {
  if (!FolderExists(DataPath())) {
    throw WeightsRefused(std::string(kDataFolder) + " is missing: no data folder");
  }
  Categorisation c;
  {
    InputFile totals(RegressionTotalsFileName(kind), MissingHint(kind));
    ReadHead(totals, c.records, c.totals);
    totals.ExpectEnd();
  }
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const auto ks = static_cast<std::size_t>(k);
    c.offsets[ks + 1] = c.offsets[ks] + c.totals[ks];
  }
  // Counts read from a file size nothing: a file holding fewer items ends first.
  const auto categories = static_cast<std::size_t>(c.CategoryCount());
  {
    InputFile codes(ItemCategoryFileName(kind), MissingHint(kind));
    for (std::size_t i = 0; i < categories; ++i) c.codes.push_back(codes.Next("the categories"));
    codes.ExpectEnd();
  }
  {
    InputFile counts(ItemCategoryCountFileName(kind), MissingHint(kind));
    for (std::size_t i = 0; i < categories; ++i) c.counts.push_back(counts.Whole("the counts"));
    counts.ExpectEnd();
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
    file.Refuse("its leading lines differ from the totals file's: not of the same categorisation");
  }
  RegressionData d;
  for (std::int64_t r = 0; r < records; ++r) {
    d.speeds.push_back(file.Single("a speed"));
    for (int k = 1; k <= kFactorItemCount; ++k) {
      const std::int64_t q = file.Whole("a category number");
      if (q < 0 || q > c.totals[static_cast<std::size_t>(k)]) {
        file.Refuse("record " + std::to_string(r + 1) + " has category " + std::to_string(q) +
                    " of item " + std::to_string(k) + ", which has " +
                    std::to_string(c.totals[static_cast<std::size_t>(k)]));
      }
      d.categories.push_back(static_cast<std::int32_t>(q));
    }
  }
  file.ExpectEnd();
  return d;
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

WeightFit FitWeights(const Categorisation& c, const RegressionData& d) {
  const std::int64_t p = c.CategoryCount();
  const auto records = static_cast<std::int64_t>(d.speeds.size());
  std::vector<std::int64_t> used;
  double sum = 0;
  for (std::int64_t r = 0; r < records; ++r) {
    if (d.speeds[static_cast<std::size_t>(r)] > 0) {
      used.push_back(r);
      sum += d.speeds[static_cast<std::size_t>(r)];
    }
  }
  WeightFit fit;
  fit.runsUsed = static_cast<std::int64_t>(used.size());
  fit.weights.assign(static_cast<std::size_t>(p), 0.0f);
  if (used.empty()) return fit;
  const double mean = sum / static_cast<double>(used.size());

  // The design: one row per run used, a 1 in the column of each of its categories, then
  // the ridge as one row per category. Items own consecutive columns, so a row's columns
  // come in increasing order.
  const auto m = static_cast<Eigen::Index>(used.size());
  using Matrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;
  Matrix a(m + p, p);
  Eigen::VectorXi perRow(m + p);
  for (Eigen::Index i = 0; i < m; ++i) {
    const std::int32_t* row = &d.categories[static_cast<std::size_t>(used[i]) * kFactorItemCount];
    int n = 0;
    for (int k = 0; k < kFactorItemCount; ++k) n += row[k] > 0 ? 1 : 0;
    perRow[i] = n;
  }
  perRow.tail(p).setOnes();
  a.reserve(perRow);
  // Each run's speed about the mean; the mean is shared out over the items afterwards.
  Eigen::VectorXd b = Eigen::VectorXd::Zero(m + p);
  for (Eigen::Index i = 0; i < m; ++i) {
    const auto r = static_cast<std::size_t>(used[i]);
    const std::int32_t* row = &d.categories[r * kFactorItemCount];
    for (int k = 1; k <= kFactorItemCount; ++k) {
      if (row[k - 1] > 0)
        a.insert(i, c.offsets[static_cast<std::size_t>(k)] + row[k - 1] - 1) = 1.0;
    }
    b[i] = d.speeds[r] - mean;
  }
  const double ridge = std::sqrt(kWeightRidge);
  for (Eigen::Index j = 0; j < p; ++j) a.insert(m + j, j) = ridge;
  a.makeCompressed();

  Eigen::VectorXd w = Eigen::VectorXd::Zero(p);
  if (p > 0) {
    Eigen::LeastSquaresConjugateGradient<Matrix> solver;
    solver.setTolerance(kTolerance);
    solver.setMaxIterations(kMaxIterations);
    solver.compute(a);
    w = solver.solve(b);
    fit.iterations = static_cast<int>(solver.iterations());
    fit.converged = solver.info() == Eigen::Success;
  }
  const double share = mean / kFactorItemCount;
  for (Eigen::Index j = 0; j < p; ++j) {
    const auto weight = static_cast<float>(share + w[j]);
    if (!std::isfinite(weight)) throw WeightsRefused("the fit gave a weight that is not a number");
    fit.weights[static_cast<std::size_t>(j)] = weight;
  }

  double residual = 0, spread = 0;
  for (const std::int64_t r : used) {
    const double y = d.speeds[static_cast<std::size_t>(r)];
    const double e =
        y - PredictedSpeed(c, fit.weights,
                           &d.categories[static_cast<std::size_t>(r) * kFactorItemCount]);
    residual += e * e;
    spread += (y - mean) * (y - mean);
  }
  fit.rmse = std::sqrt(residual / static_cast<double>(m));
  if (spread > 0) fit.rSquared = 1.0 - residual / spread;
  return fit;
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

std::string FigureLine(CourseKind kind, SpeedFigureKind figure, const WeightFit& fit) {
  std::ostringstream line;
  line << CourseKindTableWord(kind) << ' ' << SpeedFigureWord(figure) << ": runs used "
       << fit.runsUsed << std::fixed << std::setprecision(4);
  line << ", R² ";
  if (fit.rSquared)
    line << *fit.rSquared;
  else
    line << '-';
  line << ", RMSE ";
  if (fit.rmse)
    line << *fit.rmse << " km/h";
  else
    line << '-';
  if (!fit.converged) line << " (solver stopped after " << fit.iterations << " iterations)";
  return line.str();
}

}  // namespace

int RunWeights(CourseKind kind, std::ostream& out, std::ostream& err) {
  try {
    CompleteInterruptedCommits();
    const Categorisation c = ReadCategorisation(kind);
    // Every input is read before anything is fitted, so a refusal costs no fit.
    std::array<RegressionData, 3> data;
    for (std::size_t v = 0; v < data.size(); ++v) {
      data[v] = ReadRegressionData(kind, kSpeedFigureKinds[v], c);
    }
    const std::array<WeightFit, 3> fits = FitWeightTables(c, data);
    for (std::size_t v = 0; v < fits.size(); ++v) {
      out << FigureLine(kind, kSpeedFigureKinds[v], fits[v]) << '\n';
    }
    WriteWeightTables(kind, c, fits);
    out << CourseKindTableWord(kind) << ": " << c.CategoryCount() << " categories of " << c.records
        << " records, tables written to " << kDataFolder << kOptionFolder << "\\\n";
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
