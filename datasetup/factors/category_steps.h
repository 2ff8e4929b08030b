#pragma once

// The category window FormCATEGORYSETUP2025ZP without widgets: its window-level state, the
// load of its start-up tables and one method per button. The Qt window and meridax-run both
// run them through kCategoryWindow; each instance has state of its own. The steps that
// write files throw IoError for a file they cannot read or write, which the window's step
// frame turns into the error status; they stage their outputs, so nothing is half-replaced.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/factors/factor_item_record.h"
#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/item_context.h"
#include "platform/step_host.h"
#include "platform/text_grid.h"
#include "platform/window.h"

namespace meridax {

struct ProbeRoutine;
class RunnerScoring;

inline constexpr int kCategoryGridRows = 5701;
inline constexpr int kCategoryGridCols = 61;

// The categories of every item found by the last categorisation: item k (1 to 30) has
// categories 1 to totals[k] in their sorted order; index 0 of each table is unused.
struct DerivedCategories {
  std::array<std::vector<std::string>, kFactorItemCount + 1> codes;
  std::array<std::vector<std::int64_t>, kFactorItemCount + 1> counts;
  std::array<std::int64_t, kFactorItemCount + 1> totals{};
};

// What the steps of one window share. Tables hold data from index 1, as the window's do,
// and grow with what they hold.
struct CategoryWindowState {
  std::vector<std::string> HorseIdTable = std::vector<std::string>(1);
  std::int64_t HorseIdCount = 0;
  std::int32_t HorseListCount = 0;
  std::vector<std::array<std::string, 2>> RegistrationStatusTable =
      std::vector<std::array<std::string, 2>>(1);
  std::int32_t RegistrationStatusCount = 0;
  FemaleLineTable FemaleLines;
  std::int32_t FemaleLineCount = 0;
  // Read by one item variant; no step fills it.
  JockeyCountTable JockeyCounts;
  TrainerCountTable TrainerCounts;  // zero-filled too; no step fills it
  std::int16_t CourseKind = 0;
  std::string CurrentRun = std::string(kExtendedRunLength, ' ');
  std::int32_t CurrentRunNumber = 0;
  std::int32_t CurrentRunCount = 0;
  // A new window's record is blanks, so a routine that fails on the first record of the
  // first step leaves a blank field rather than NUL bytes.
  std::string CurrentItemRecord = BlankFactorItemRecord();
  std::int32_t ItemRecordCount = 0;
  CategoryTables tables;
  DerivedCategories derived;
};

class CategorySteps : public WindowSteps {
 public:
  // Text1 and the grid as the window opens them.
  CategorySteps();
  ~CategorySteps();
  // Routines keep pointers into the window's tables: an instance stays where it was made.
  CategorySteps(const CategorySteps&) = delete;
  CategorySteps& operator=(const CategorySteps&) = delete;

  // Reads the start-up tables. Each group (the id list, the registration list, the
  // female-line file, each course kind's six tables) loads on its own: a failure stops its
  // group and keeps what the group read, and the next group still loads. The failures are
  // reported together in one message, a line for each naming the file and the item.
  void Form_Load(StepHost& host);

  std::string Command1_Click(StepHost& host);  // "抽出": horse list of the chosen kind
  std::string Command2_Click(StepHost& host);  // "芝因子設定"
  std::string Command3_Click(StepHost& host);  // "ダ因子設定"
  std::string Command4_Click(StepHost& host);  // "障因子設定"
  // The categorisation buttons leave Text1 alone: their result is the grid.
  void Command5_Click(StepHost& host);  // "芝カテゴリー化"
  void Command6_Click(StepHost& host);  // "ダカテゴリー化"
  void Command7_Click(StepHost& host);  // "障カテゴリー化"

  // The factor item step of a course kind with the given routines: the three speed
  // figures (Agari, Pace, Soha, slot 0) first, then items by slot. Returns the end text.
  // The buttons pass the live table; tests pass their own.
  std::string FactorItemStep(CourseKind kind, std::span<const LiveRoutine> routines);
  // The categorisation step of a course kind.
  void CategoriseStep(CourseKind kind);

  // Calls the routines on run `run` of a horse's extended run file as a factor step
  // reaches them, with the item record starting blank, and prints one line per routine.
  // Throws std::invalid_argument for an id that names no file, IoError when the horse has no
  // such file (a factor step would make it empty; the probe makes none) or it cannot be
  // opened.
  void Probe(std::string_view horseId, std::int32_t run,
             std::span<const ProbeRoutine* const> routines, std::ostream& out);

  CategoryWindowState& state() { return state_; }
  const CategoryWindowState& state() const { return state_; }

 private:
  void FillGrid(std::string_view corner);
  // A routine context over the window's record buffer and tables.
  ItemContext NewContext(StatisticsCache& stats);

  CategoryWindowState state_;
  // The runner scoring over the loaded tables, made at the first step that needs it.
  std::unique_ptr<RunnerScoring> scoring_;
};

// Where a routine of a table stores its code in the item record: the i-th speed figure in
// its speed field, item k's routine in Item(k). Throws std::logic_error for a table that is
// not three speed figures followed by item routines.
records::FieldRef StoredField(std::span<const LiveRoutine> routines, std::size_t i);

// FormCATEGORYSETUP2025ZP, "CATEGORYSETUP20190101SETUPC".
extern const WindowSpec kCategoryWindow;

// The captions of row 0 of the category grid, items 1 to 30 (index 0 unused).
extern const std::array<std::string_view, kFactorItemCount + 1> kItemGridCaptions;
// Row numbers and captions of the category grid.
void WriteItemGridHeaders(TextGrid& grid);

}  // namespace meridax
