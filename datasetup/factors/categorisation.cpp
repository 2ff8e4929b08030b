// The categorisation steps: the distinct codes of every item of a factor item file with
// their counts, sorted, written as the category, count, totals and regression data files,
// and shown in the category grid.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "datasetup/common/paths.h"
#include "datasetup/common/sorts.h"
#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "platform/cp932.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {

const std::array<std::string_view, kFactorItemCount + 1> kItemGridCaptions{
    "",
    "(1)年場回日ト",
    "(2)頭数馬番",
    "(3)前回C1234",
    "(4)性別負担",
    "(5)平賞/R",
    "(6)騎手",
    "(7)人気乖離",
    "(8)馬場状態",
    "(9)累積R数",
    "(10)性別負担率",
    "(11)性別馬体重",
    "(12)馬齢",
    "(13)連対率父馬齢",
    "(14)競走間隔",
    "(15)負担増減",
    "(16)馬体重増減",
    "(17)距離見習",
    "(18)生産者",
    "(19)調教師",
    "(20)父馬",
    "(21)母父",
    "(22)第何子",
    "(23)馬記号",
    "(24)騎手年齢",
    "(25)母年齢",
    "(26)ブリンカー",
    "(27)馬主コード",
    "(28)開催月",
    "(29)1着タイム差",
    "(30)前々走馬体重増減",
};

void WriteItemGridHeaders(TextGrid& grid) {
  for (int i = 1; i < kCategoryGridRows; ++i) grid.SetTextMatrix(i, 0, std::to_string(i));
  for (int k = 1; k <= kFactorItemCount; ++k) {
    grid.SetTextMatrix(0, 2 * k - 1, kItemGridCaptions[static_cast<std::size_t>(k)]);
  }
  for (int k = 1; k <= kFactorItemCount; ++k) {
    grid.SetTextMatrix(0, 2 * k, "(" + std::to_string(k) + ")n");
  }
}

namespace {

// Items whose categories are ordered by code; the others by count, most frequent first.
bool OrderedByCode(int k) {
  return k == 8 || k == 12 || k == 24 || k == 28;
}

// Collects the distinct codes of item k in the order of the records in which each first
// occurs, with their counts, then sorts them as the item's order says. Returns the
// category number of every record's code (index 0 unused): every code of the file is
// collected, so no record is without one.
std::vector<std::int64_t> CollectItem(const RecordMap& items, int k, DerivedCategories& d) {
  auto& codes = d.codes[static_cast<std::size_t>(k)];
  auto& counts = d.counts[static_cast<std::size_t>(k)];
  codes.assign(1, std::string());
  counts.assign(1, 0);
  // Codes by their bytes, which the mapped records hold: the place of first appearance.
  std::unordered_map<std::string_view, std::int64_t> firstPlace;
  std::vector<std::int64_t> numbers(static_cast<std::size_t>(items.Count()) + 1);
  const records::FieldRef field = factor_item::Item(k);
  for (std::int64_t r = 1; r <= items.Count(); ++r) {
    const std::string_view code = records::View(items.Record(r), field);
    const auto [at, added] = firstPlace.try_emplace(code, static_cast<std::int64_t>(codes.size()));
    if (added) {
      codes.emplace_back(code);
      counts.push_back(0);
    }
    ++counts[static_cast<std::size_t>(at->second)];
    numbers[static_cast<std::size_t>(r)] = at->second;
  }
  const auto total = static_cast<std::int64_t>(codes.size()) - 1;
  d.totals[static_cast<std::size_t>(k)] = total;
  if (OrderedByCode(k)) {
    QuickSortAscending(codes, counts, 1, total);
  } else {
    QuickSortDescending(counts, codes, 1, total);
  }
  // Category q of the sorted order is the code that first appeared at place p.
  std::vector<std::int64_t> sortedNumber(static_cast<std::size_t>(total) + 1);
  for (std::int64_t q = 1; q <= total; ++q) {
    const auto place = firstPlace.find(codes[static_cast<std::size_t>(q)])->second;
    sortedNumber[static_cast<std::size_t>(place)] = q;
  }
  for (auto& n : numbers) n = sortedNumber[static_cast<std::size_t>(n)];
  return numbers;
}

// The speed of a figure field as the data files give it: the code / 100000 in double
// precision, then held in single precision; none when the field does not convert.
std::optional<float> SpeedOf(std::string_view field) {
  const auto code = ToDouble(field);
  if (!code) return std::nullopt;
  return static_cast<float>(*code / 100000.0);
}

}  // namespace

void CategorySteps::CategoriseStep(CourseKind kind) {
  CategoryWindowState& s = state_;
  const CategoryCourse& course = CourseOf(kind);
  RequireFolder(DataPath());
  const RecordMap items(DataPath(FactorItemFileName(kind)), kFactorItemLength);
  const std::int64_t n = items.Count();
  s.ItemRecordCount = static_cast<std::int32_t>(n);

  DerivedCategories derived;
  std::vector<std::vector<std::int64_t>> numbers(kFactorItemCount + 1);
  for (int k = 1; k <= kFactorItemCount; ++k)
    numbers[static_cast<std::size_t>(k)] = CollectItem(items, k, derived);

  StagedFiles outputs;
  TextWriter categories(outputs.Stage(DataPath(ItemCategoryFileName(kind))),
                        TextWriter::Mode::kOutput);
  TextWriter counts(outputs.Stage(DataPath(ItemCategoryCountFileName(kind))),
                    TextWriter::Mode::kOutput);
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const auto ks = static_cast<std::size_t>(k);
    for (std::int64_t q = 1; q <= derived.totals[ks]; ++q) {
      categories.Str(derived.codes[ks][static_cast<std::size_t>(q)]).EndLine();
      counts.Num(derived.counts[ks][static_cast<std::size_t>(q)]).EndLine();
    }
  }
  categories.Close();
  counts.Close();

  TextWriter totals(outputs.Stage(DataPath(RegressionTotalsFileName(kind))),
                    TextWriter::Mode::kOutput);
  std::array<std::unique_ptr<TextWriter>, 3> data;
  for (std::size_t v = 0; v < data.size(); ++v) {
    data[v] = std::make_unique<TextWriter>(
        outputs.Stage(DataPath(RegressionDataFileName(kind, kSpeedFigureKinds[v]))),
        TextWriter::Mode::kOutput);
  }
  // The totals file and the three data files begin with the same lines.
  auto heads = [&](auto&& write) {
    write(totals);
    for (auto& file : data) write(*file);
  };
  heads([&](TextWriter& w) { w.Num(n).Num(kFactorItemCount).EndLine(); });
  for (int k = 1; k <= kFactorItemCount; ++k) {
    heads([&](TextWriter& w) { w.Num(derived.totals[static_cast<std::size_t>(k)]).EndLine(); });
  }
  totals.Close();

  // A speed field that does not convert repeats the value of the line before.
  std::array<float, 3> speeds{};
  for (std::int64_t r = 1; r <= n; ++r) {
    const std::string_view record = items.Record(r);
    for (std::size_t v = 0; v < data.size(); ++v) {
      if (const auto speed = SpeedOf(records::View(record, factor_item::kSpeedFields[v]))) {
        speeds[v] = *speed;
      }
      TextWriter& line = *data[v];
      line.Bare(ShortestText(speeds[v]));
      for (int k = 1; k <= kFactorItemCount; ++k) {
        line.Num(numbers[static_cast<std::size_t>(k)][static_cast<std::size_t>(r)]);
      }
      line.EndLine();
    }
  }
  for (auto& file : data) file->Close();
  outputs.Commit();

  if (n > 0) s.CurrentItemRecord.assign(items.Record(n));
  s.derived = std::move(derived);
  FillGrid(course.gridCorner);
}

void CategorySteps::FillGrid(std::string_view corner) {
  const DerivedCategories& d = state_.derived;
  grid.SetTextMatrix(0, 0, corner);
  WriteItemGridHeaders(grid);
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const auto ks = static_cast<std::size_t>(k);
    // The grid has rows for 5700 categories; the files hold them all.
    const std::int64_t shown = std::min<std::int64_t>(d.totals[ks], grid.Rows() - 1);
    for (std::int64_t q = 1; q <= shown; ++q) {
      const auto row = static_cast<int>(q);
      grid.SetTextMatrix(row, 2 * k - 1, Cp932ToUtf8(d.codes[ks][static_cast<std::size_t>(q)]));
      grid.SetTextMatrix(row, 2 * k, std::to_string(d.counts[ks][static_cast<std::size_t>(q)]));
    }
  }
}

}  // namespace meridax

namespace meridax {

void CategorySteps::Command5_Click(StepHost& /*host*/) {
  CategoriseStep(CourseKind::kTurf);
}
void CategorySteps::Command6_Click(StepHost& /*host*/) {
  CategoriseStep(CourseKind::kDirt);
}
void CategorySteps::Command7_Click(StepHost& /*host*/) {
  CategoriseStep(CourseKind::kJump);
}

}  // namespace meridax
