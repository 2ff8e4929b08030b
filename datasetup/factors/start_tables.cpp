// The category window's load: the horse id list, the registration list, the female lines
// and, per course kind, the category, count, totals and weight tables of OPTION1N.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "datasetup/common/paths.h"
#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/runner_scoring.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/text_file.h"

namespace meridax {

namespace {

// A load that stopped: the file, the number of the item (from 1) and why.
struct LoadFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Items of one input file, read one at a time; every failure names the file and the item.
class TableReader {
 public:
  explicit TableReader(std::string relative) : name_(std::move(relative)), reader_(Open(name_)) {}

  bool AtEnd() { return reader_.AtEnd(); }

  std::string String() {
    ++item_;
    if (reader_.AtEnd()) Fail("ファイルの終わりを越えて読もうとしました");
    return reader_.Next();
  }

  // A count of rows: any number, rounded as a conversion to a whole number rounds; an
  // empty item is 0. A count below 0 or above `most` stops the load here: a negative one
  // would read none of its item's rows, leaving them to be read as the next items'.
  std::int64_t RowCount(std::int64_t most) {
    const std::string text = String();
    if (IsEmpty(text)) return 0;
    const auto v = ToDouble(text);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 2147483647.0) Fail("行数が数値ではありません");
    const auto rows = static_cast<std::int64_t>(RoundHalfEven(*v));
    if (rows < 0) Fail("分類の数 " + std::to_string(rows) + " が負です");
    if (rows > most) {
      Fail("分類の数 " + std::to_string(rows) + " が表の行数 " + std::to_string(most) +
           " を超えます");
    }
    return rows;
  }

  // A single-precision number, parsed without the locale and rounded once, from its text.
  float Single() {
    const std::string text = String();
    if (IsEmpty(text)) return 0.0f;
    std::string_view t = Trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    float value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size()) Fail("単精度の数値ではありません");
    return value;
  }

  std::int32_t Long() {
    const std::string text = String();
    if (IsEmpty(text)) return 0;
    const auto v = ToInt32(text);
    if (!v) Fail("32ビットの整数ではありません");
    return *v;
  }

 private:
  static ItemReader Open(const std::string& relative) {
    const auto path = DataPath(relative);
    if (const int why = WhyNotAFile(path)) {
      throw LoadFailure(std::string(kDataFolder) + relative +
                        (why == ENOENT ? " がありません" : " を読めません: " + ErrorCause(why)));
    }
    return ItemReader(path);
  }
  static std::string_view Trimmed(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
  }
  static bool IsEmpty(std::string_view t) { return Trimmed(t).empty(); }

  [[noreturn]] void Fail(std::string_view why) const {
    throw LoadFailure(std::string(kDataFolder) + name_ + " の " + std::to_string(item_) +
                      " 番目の項目: " + std::string(why));
  }

  std::string name_;
  ItemReader reader_;
  std::int64_t item_ = 0;
};

// Runs one group of the load; a failure ends only this group and is noted.
template <typename Body>
void LoadGroup(std::vector<std::string>& failures, Body&& body) {
  try {
    body();
  } catch (const LoadFailure& e) {
    failures.push_back(std::string("読み込みエラー: ") + e.what());
  } catch (const IoError& e) {
    failures.push_back(std::string("読み込みエラー: ") + e.what());
  }
}

void ResizeRows(CourseCategoryTables& t, int k, std::size_t rows) {
  t.codes[k].resize(rows);
  t.counts[k].resize(rows);
  t.agari[k].resize(rows);
  t.pace[k].resize(rows);
  t.soha[k].resize(rows);
}

// Category, weight and count rows of one course kind, item-major, rows 1 to the item's
// total. Tables stay sized to the totals whatever stops the load, so a reader of row q
// finds an empty code or a zero where nothing was read, as in tables of fixed size; a
// total is from 0 to kCategoryTableRows, so no file sizes them beyond that.
void LoadCourseTables(CourseKind kind, CourseCategoryTables& t) {
  const CategoryTableFiles files = CategoryTableFilesOf(kind);
  struct Sizer {
    CourseCategoryTables& t;
    ~Sizer() {
      for (int k = 1; k <= kFactorItemCount; ++k) {
        ResizeRows(t, k, static_cast<std::size_t>(std::max<std::int64_t>(t.totals[k], 0) + 1));
      }
    }
  } sizer{t};
  t = CourseCategoryTables{};
  // Row 0 of each table is unused, so rows are pushed from 1.
  for (int k = 1; k <= kFactorItemCount; ++k) ResizeRows(t, k, 1);

  {
    TableReader totals(files.totals);
    for (int k = 1; k <= kFactorItemCount; ++k) t.totals[k] = totals.RowCount(kCategoryTableRows);
  }
  {
    TableReader codes(files.categories);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      for (std::int64_t q = 1; q <= t.totals[k]; ++q) t.codes[k].push_back(codes.String());
    }
  }
  {
    TableReader agari(files.agariWeights);
    TableReader pace(files.paceWeights);
    TableReader soha(files.sohaWeights);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      for (std::int64_t q = 1; q <= t.totals[k]; ++q) {
        t.agari[k].push_back(agari.Single());
        t.pace[k].push_back(pace.Single());
        t.soha[k].push_back(soha.Single());
      }
    }
  }
  {
    TableReader counts(files.counts);
    for (int k = 1; k <= kFactorItemCount; ++k) {
      for (std::int64_t q = 1; q <= t.totals[k]; ++q) t.counts[k].push_back(counts.Long());
    }
  }
}

}  // namespace

void CategorySteps::Form_Load(StepHost& host) {
  CategoryWindowState& s = state_;
  scoring_.reset();  // its row index is of the tables before this load
  std::vector<std::string> failures;
  LoadGroup(failures, [&] {
    TableReader ids(HorseIdListName());
    while (!ids.AtEnd()) {
      s.HorseIdTable.push_back(ids.String());
      s.HorseIdCount = static_cast<std::int64_t>(s.HorseIdTable.size()) - 1;
    }
  });
  LoadGroup(failures, [&] {
    TableReader entries{std::string(kRegistrationStatusListName)};
    while (!entries.AtEnd()) {
      auto& entry = s.RegistrationStatusTable.emplace_back();
      s.RegistrationStatusCount = static_cast<std::int32_t>(s.RegistrationStatusTable.size()) - 1;
      entry[0] = entries.String();
      entry[1] = entries.String();
    }
  });
  LoadGroup(failures, [&] {
    TableReader lines(FemaleLineFileName());
    while (!lines.AtEnd()) {
      s.FemaleLines.AddMare();
      s.FemaleLineCount = s.FemaleLines.Count();
      for (int i = 0; i < FemaleLineTable::kGenerations * FemaleLineTable::kValues; ++i) {
        s.FemaleLines.AddValue(lines.String());
      }
    }
  });
  for (const CourseKind kind : kCourseKinds) {
    LoadGroup(failures, [&] { LoadCourseTables(kind, s.tables[static_cast<std::size_t>(kind)]); });
  }
  // One message for the whole load, so a window opened on a fresh folder asks for one OK.
  if (!failures.empty()) {
    std::string message;
    for (const auto& f : failures) message += (message.empty() ? "" : "\n") + f;
    host.ShowMessage(message);
  }
}

}  // namespace meridax
