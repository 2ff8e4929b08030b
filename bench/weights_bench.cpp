// The weight fit of one course kind over a generated categorisation: `runs` records
// (100,000 by default) whose 30 items have from 3 to 6,000 categories (the most a category window
// loads) drawn with a skew, so that a few codes are frequent and many are rare, as jockeys, sires
// and owners are. The speed is a sum of per-category effects and noise. Times reading the five
// files, the three cross-validated fits (every ridge on every fold, then the written fit) and
// writing the six tables, and prints the figures.
//   weights_bench [runs]
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/drive.h"
#include "platform/text_file.h"
#include "tools/meridax-weights/weight_tables.h"

namespace {

namespace fs = std::filesystem;
using namespace meridax;

constexpr int kItemCategories[kFactorItemCount] = {
    300, 400, 200,  60,   3000, 6000, 50, 4,    40, 80, 90, 10,   6000, 30,  20,
    25,  40,  6000, 5000, 6000, 6000, 15, 6000, 40, 20, 3,  6000, 12,   400, 25};

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t runs = argc > 1 ? std::stoll(argv[1]) : 100000;
  const fs::path root = fs::temp_directory_path() / ("weights-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "MERIDAXPROJECT" / "OPTION1N");
  SetDriveRoot(root);
  const CourseKind kind = CourseKind::kTurf;

  std::mt19937 rng(7);
  std::normal_distribution<double> noise(0.0, 1.0);
  std::vector<std::vector<double>> effects(kFactorItemCount);
  for (int k = 0; k < kFactorItemCount; ++k) {
    for (int q = 0; q < kItemCategories[k]; ++q) effects[k].push_back(0.3 * noise(rng));
  }
  // Category q + 1 of an item with t categories, skewed towards the first ones.
  const auto draw = [&](int t) {
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
    return 1 + static_cast<int>(std::floor(std::pow(u, 3.0) * t));
  };
  std::vector<int> numbers(static_cast<std::size_t>(runs) * kFactorItemCount);
  std::vector<std::vector<std::int64_t>> counts(kFactorItemCount);
  for (int k = 0; k < kFactorItemCount; ++k) counts[k].assign(kItemCategories[k], 0);
  {
    std::string head;
    std::vector<std::string> lines(3);
    for (std::int64_t r = 0; r < runs; ++r) {
      double speed = 60.0 + noise(rng);
      std::string tail;
      for (int k = 0; k < kFactorItemCount; ++k) {
        const int q = draw(kItemCategories[k]);
        numbers[static_cast<std::size_t>(r) * kFactorItemCount + k] = q;
        ++counts[k][q - 1];
        speed += effects[k][q - 1];
        tail += "," + std::to_string(q);
      }
      char text[32];
      std::snprintf(text, sizeof text, "%.5f", speed);
      for (auto& line : lines) line += text + tail + "\r\n";
    }
    // Categories that no run drew keep a count of 0, which the fit takes as it comes.
    TextWriter totals(DataPath(RegressionTotalsFileName(kind)), TextWriter::Mode::kOutput);
    TextWriter codes(DataPath(ItemCategoryFileName(kind)), TextWriter::Mode::kOutput);
    TextWriter countFile(DataPath(ItemCategoryCountFileName(kind)), TextWriter::Mode::kOutput);
    head = std::to_string(runs) + ",30\r\n";
    for (int k = 0; k < kFactorItemCount; ++k) {
      head += std::to_string(kItemCategories[k]) + "\r\n";
      for (int q = 0; q < kItemCategories[k]; ++q) {
        codes.Str("C" + std::to_string(k) + "_" + std::to_string(q)).EndLine();
        countFile.Num(counts[k][q]).EndLine();
      }
    }
    totals.Raw(head);
    for (std::size_t v = 0; v < 3; ++v) {
      TextWriter data(DataPath(RegressionDataFileName(kind, kSpeedFigureKinds[v])),
                      TextWriter::Mode::kOutput);
      data.Raw(head).Raw(lines[v]);
    }
  }

  using Clock = std::chrono::steady_clock;
  const auto since = [](Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
  };
  auto t = Clock::now();
  const WeightInputs inputs = ReadWeightInputs(kind);
  const Categorisation& c = inputs.categories;
  const double read = since(t);
  t = Clock::now();
  const std::array<WeightFit, 3> fits = FitWeightTables(c, inputs.data);
  const double fit = since(t);
  t = Clock::now();
  WriteWeightTables(kind, c, fits);
  const double write = since(t);
  std::printf("%lld runs, %lld categories: read %.2f s, cross-validated fit %.2f s, write %.2f s\n",
              static_cast<long long>(runs), static_cast<long long>(c.CategoryCount()), read, fit,
              write);
  for (const WeightFit& f : fits) {
    std::printf(
        "  runs used %lld, ridge %d, R2 %.4f (held-out %.4f), RMSE %.4f (held-out %.4f), "
        "%d solver steps%s\n",
        static_cast<long long>(f.runsUsed), f.ridge.value_or(0), f.inSample.rSquared.value_or(NAN),
        f.heldOut.rSquared.value_or(NAN), f.inSample.rmse.value_or(NAN),
        f.heldOut.rmse.value_or(NAN), f.iterations, f.converged ? "" : " (not converged)");
  }
  fs::remove_all(root);
  return 0;
}
