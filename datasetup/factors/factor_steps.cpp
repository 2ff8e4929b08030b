// "抽出" and the factor item steps: the horse list of a course kind, and one factor item
// record per accepted run of the horses of a list.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "datasetup/common/file_ids.h"
#include "datasetup/common/paths.h"
#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factors/probe.h"
#include "datasetup/factors/runner_scoring.h"
#include "platform/cp932.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {

namespace {

namespace ex = extended_run;
using records::View;

// One of the ten racecourses "01" to "10".
bool AtListedRacecourse(std::string_view run) {
  const std::string_view code = View(run, ex::RacecourseCode);
  return code.size() == 2 && ((code[0] == '0' && code[1] >= '1' && code[1] <= '9') || code == "10");
}

// The track code as a whole number; none when it does not convert, so a run whose race
// was never found belongs to no kind.
bool OnCourseTrack(std::string_view run, std::optional<CourseKind> kind) {
  if (!kind) return false;
  const auto track = ToInt16(View(run, ex::TrackCode));
  return track && TrackBandOf(*kind).Holds(*track);
}

// The horse's run file, none when it cannot be opened (a missing one is created empty). An
// id that names no file goes to `unsafe`, so the status counts each such id once.
std::optional<RunFile> OpenRuns(const std::string& horseId, SkippedIds& unsafe) {
  const auto path = ExtendedRunFilePath(horseId);
  if (!path) {
    unsafe.Add(horseId);
    return std::nullopt;
  }
  try {
    return std::optional<RunFile>(std::in_place, *path);
  } catch (const IoError&) {
    return std::nullopt;
  }
}

// The four filters of the factor steps. A filter that cannot be evaluated (a speed figure
// that fails, a date or track code that does not convert) rejects the run.
bool Accepted(ItemContext& c, CourseKind kind, ItemRoutine sohaSpeed) {
  std::string soha;
  try {
    soha = sohaSpeed(c);
  } catch (const ItemAbandoned&) {
    return false;
  }
  const std::string_view run = c.CurrentRun;
  const std::string yearMonth =
      std::string(View(run, ex::RaceYear)) + std::string(View(run, ex::RaceMonthDay).substr(0, 2));
  const auto month = ToInt32(yearMonth);
  if (!month || soha == "0000000" || *month < 201501) return false;
  if (Val(View(run, ex::TimeBehindWinner).substr(1, 3)) >= CourseOf(kind).timeBehindLimit) {
    return false;
  }
  return AtListedRacecourse(run) && OnCourseTrack(run, kind);
}

void CheckRoutineTable(std::span<const LiveRoutine> routines) {
  if (routines.size() < factor_item::kSpeedFields.size()) {
    throw std::logic_error("a routine table starts with three speed figures");
  }
  for (std::size_t i = 0; i < routines.size(); ++i) StoredField(routines, i);
}

}  // namespace

records::FieldRef StoredField(std::span<const LiveRoutine> routines, std::size_t i) {
  const LiveRoutine& r = routines[i];
  if (i < factor_item::kSpeedFields.size()) {
    if (r.slot != 0) throw std::logic_error("a routine table starts with three speed figures");
    return factor_item::kSpeedFields[i];
  }
  if (r.slot < 1 || r.slot > kFactorItemCount) throw std::logic_error("an item slot is 1 to 30");
  return factor_item::Item(r.slot);
}

CategorySteps::CategorySteps() {
  text1 = "Text1";
  grid = TextGrid(kCategoryGridRows, kCategoryGridCols);
}
CategorySteps::~CategorySteps() = default;

ItemContext CategorySteps::NewContext(StatisticsCache& stats) {
  if (!scoring_) scoring_ = std::make_unique<RunnerScoring>(&state_.tables);
  ItemContext c;
  c.scoring = scoring_.get();
  c.CurrentItemRecord = &state_.CurrentItemRecord;
  c.stats = &stats;
  c.tables = &state_.tables;
  c.femaleLines = &state_.FemaleLines;
  c.jockeyCounts = &state_.JockeyCounts;
  c.trainerCounts = &state_.TrainerCounts;
  return c;
}

void CategorySteps::Probe(std::string_view horseId, std::int32_t run,
                          std::span<const ProbeRoutine* const> routines, std::ostream& out) {
  const auto path = ExtendedRunFilePath(horseId);
  if (!path) throw std::invalid_argument("no file can be named by the id " + std::string(horseId));
  // A factor step creates a missing run file empty; a probe only looks at the horse's runs.
  RequireFolder(path->parent_path());
  std::error_code ec;
  if (std::filesystem::status(*path, ec).type() == std::filesystem::file_type::not_found) {
    throw IoError("この馬の拡張レースファイルがありません", *path);
  }
  const RunFile runs(*path);
  StatisticsCache stats;
  ItemContext c = NewContext(stats);
  c.runs = &runs;
  c.CurrentRunNumber = run;
  c.CurrentRunCount = static_cast<std::int32_t>(runs.Count());
  c.ReadCurrent();
  state_.CurrentItemRecord = BlankFactorItemRecord();
  for (const ProbeRoutine* r : routines) {
    std::optional<std::string> code;
    try {
      code = r->routine(c);
    } catch (const ItemAbandoned&) {
    }
    if (r->storesField) records::Put(state_.CurrentItemRecord, *r->storesField, code.value_or(""));
    out << r->name << '\t';
    if (code) {
      out << '"' << Cp932ToUtf8(*code) << "\"\n";
    } else {
      out << "abandoned\n";
    }
  }
  out.flush();
}

std::string CategorySteps::Command1_Click(StepHost& /*host*/) {
  CategoryWindowState& s = state_;
  if (CourseKindOf(option)) s.CourseKind = static_cast<std::int16_t>(option);
  const std::optional<CourseKind> kind = CourseKindOf(s.CourseKind);
  RequireFolder(DataPath());
  RequireFolder(DataPath(kExtendedRunFolder));
  StagedFiles outputs;
  std::optional<TextWriter> list;
  if (kind) {
    const std::string shown = std::string(kDataFolder) + HorseListFileName(*kind, text1);
    // After a step Text1 shows its status: a list named by it is one no one asked for.
    if (Text1IsStepStatus()) {
      throw IoError("期間を入力してください (Text1 は前の手順の表示のままです)", shown);
    }
    // The period names a file of the data folder: a separator, ".." or a control byte in
    // it would reach another folder or no file at all.
    const auto name = FileNameOfId(HorseListFileName(*kind, Utf8ToCp932(text1)), "");
    if (!name) throw IoError("ファイル名にできない期間です", shown);
    // A character that code page 932 lacks would name the list other than typed.
    if (*name != HorseListFileName(*kind, text1)) {
      throw IoError("コードページ932で書けない文字を含む期間です", shown);
    }
    list.emplace(outputs.Stage(DataPath(*name)), TextWriter::Mode::kOutput);
  }
  s.HorseListCount = 0;
  SkippedIds unsafe;
  for (std::int64_t i = 1; i <= s.HorseIdCount; ++i) {
    const std::string& id = s.HorseIdTable[static_cast<std::size_t>(i)];
    const std::optional<RunFile> runs = OpenRuns(id, unsafe);
    if (!runs) continue;
    s.CurrentRunCount = static_cast<std::int32_t>(runs->Count());
    for (std::int64_t j = 1; j <= runs->Count(); ++j) {
      const std::string_view run = runs->Record(j);
      s.CurrentRun.assign(run);
      if (IsBlank(View(run, ex::TrackCode)) || !AtListedRacecourse(run)) continue;
      const auto born = ToInt32(View(run, ex::HorseId).substr(0, 4));
      if (OnCourseTrack(run, kind) && born && *born > 2015) {
        ++s.HorseListCount;
        list->Str(id).EndLine();
        break;
      }
    }
  }
  if (list) list->Close();
  outputs.Commit();
  return "終わり" + unsafe.Note();
}

std::string CategorySteps::FactorItemStep(CourseKind kind, std::span<const LiveRoutine> routines) {
  CheckRoutineTable(routines);
  CategoryWindowState& s = state_;
  const CategoryCourse& course = CourseOf(kind);
  RequireFolder(DataPath());
  RequireFolder(DataPath(kExtendedRunFolder));
  StagedFiles outputs;
  RecordFile items(outputs.Stage(DataPath(FactorItemFileName(kind))), kFactorItemLength);
  s.HorseListCount = 0;
  s.ItemRecordCount = 0;
  // The ids read stay the step's own: the window's id table keeps the ids it loaded, so
  // a later "抽出" still walks them.
  ItemReader list(DataPath(HorseListFileName(kind, kFactorPeriod)));
  StatisticsCache stats;
  ItemContext c = NewContext(stats);
  std::string& record = s.CurrentItemRecord;
  SkippedIds unsafe;
  while (!list.AtEnd()) {
    const std::string id = list.Next();
    ++s.HorseListCount;
    const std::optional<RunFile> runs = OpenRuns(id, unsafe);
    if (!runs) continue;
    c.runs = &*runs;
    c.CurrentRunCount = static_cast<std::int32_t>(runs->Count());
    for (c.CurrentRunNumber = 1; c.CurrentRunNumber <= c.CurrentRunCount; ++c.CurrentRunNumber) {
      c.ReadCurrent();
      if (!Accepted(c, kind, routines[2].routine)) continue;
      ++s.ItemRecordCount;
      // Each code is stored before the next routine runs: a scoring routine reads the
      // record as built so far, and the last items of the record before it.
      for (std::size_t i = 0; i < routines.size(); ++i) {
        std::string code;
        try {
          code = routines[i].routine(c);
        } catch (const ItemAbandoned&) {
          code.clear();  // a failed routine leaves its field blank, not a stale code
        }
        records::Put(record, StoredField(routines, i), code);
      }
      records::Put(record, factor_item::LineEnd, "\r\n");
      items.Write(s.ItemRecordCount, record);
    }
    s.CurrentRun.assign(c.CurrentRun);
    s.CurrentRunNumber = std::min(c.CurrentRunNumber, c.CurrentRunCount);
    s.CurrentRunCount = c.CurrentRunCount;
    c.runs = nullptr;
    c.CurrentRun = {};
  }
  items.Close();
  outputs.Commit();
  return std::string(course.factorEndText) + unsafe.Note();
}

}  // namespace meridax
