// "SK（母産駒）" and "SK（父産駒）": the cleaned offspring file and the parent lists, then per
// parent the finish-count blocks of its offspring in the cleaned horse file, their totals
// and its statistics record.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/common/cleaning.h"
#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/parent_stat_record.h"
#include "datasetup/common/record_index.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/parents/parent_steps.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"

namespace meridax {
namespace {

struct ParentKind {
  std::string_view label;
  records::FieldRef offspringParent;  // in the offspring record: the list's numbers
  records::FieldRef horseParent;      // in the horse record: whose block file it goes to
  std::string listFile;
  std::string_view blockFolder;
  std::string_view totalsFolder;
  std::string_view statFile;
};

const ParentKind kDams{"SK母 終わり",
                       records::sk::PedigreeBreedingNumbers.At(2),
                       records::um::Pedigree_BreedingNumber.In(2),
                       DamNumberListName(),
                       kDamBlockFolder,
                       kDamTotalsFolder,
                       kMareStatFileName};
const ParentKind kSires{"SK父 終わり",
                        records::sk::PedigreeBreedingNumbers.At(1),
                        records::um::Pedigree_BreedingNumber.In(1),
                        SireNumberListName(),
                        kSireBlockFolder,
                        kSireTotalsFolder,
                        kStallionStatFileName};

CleaningRule OffspringRule() {
  CleaningRule rule = CleaningRuleOf("SK");
  rule.recordLength = records::kOffspringLayout.storedLength;
  rule.keyFields = {records::sk::HorseId};
  rule.keep = KeepOfRun::kFirst;
  rule.categories = "12";
  // Both steps rebuild it whole: records of an earlier, longer file past the new end
  // would reach the per-mare files.
  rule.keepRecordsPastEnd = false;
  return rule;
}

// The distinct numbers of `field` over every raw record (dropped ones too), ascending by
// byte: the order the exact sort gives distinct keys.
std::vector<std::string_view> ParentNumbers(const RecordMap& raw, records::FieldRef field) {
  std::vector<std::string_view> numbers;
  numbers.reserve(static_cast<std::size_t>(raw.Count()));
  for (std::int64_t i = 1; i <= raw.Count(); ++i) {
    numbers.push_back(records::View(raw.Record(i), field));
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// The numbers that can name a file, for the list; the others go to `unsafe`, so that no
// later step reads a number back that names no file, or names another one.
std::vector<std::string_view> FileNumbers(std::vector<std::string_view> numbers,
                                          SkippedIds& unsafe) {
  std::erase_if(numbers, [&](std::string_view number) {
    if (IsSafeFileId(number)) return false;
    unsafe.Add(number);
    return true;
  });
  return numbers;
}

void WriteList(const std::vector<std::string_view>& numbers, const std::filesystem::path& path) {
  TextWriter list(path, TextWriter::Mode::kOutput);
  for (const std::string_view number : numbers) list.Str(number).EndLine();
  list.Close();
}

// The horses of the cleaned horse file by parent, each parent's in record order. Parents
// 0 to listed - 1 are those of the list, in its order; the others follow as first met.
struct Offspring {
  std::vector<std::string_view> parents;
  std::vector<std::int64_t> start;   // parent p's horses are horses[start[p], start[p + 1])
  std::vector<std::int64_t> horses;  // record numbers
};

Offspring GroupByParent(const RecordMap& horses, records::FieldRef parentField,
                        const std::vector<std::string_view>& listed) {
  Offspring g;
  g.parents = listed;
  // The listed numbers are distinct and as wide as the field.
  const records::FieldRef listedNumber[] = {{1, parentField.width}};
  const RecordIndex listedIndex(
      static_cast<std::int64_t>(listed.size()),
      [&](std::int64_t n) { return listed[static_cast<std::size_t>(n - 1)]; }, listedNumber,
      Match::kFirst);
  // An unlisted parent is numbered at its first horse; its later horses take that number.
  const records::FieldRef parent[] = {parentField};
  const RecordIndex firstHorse(horses, parent, Match::kFirst);
  const std::int64_t m = horses.Count();
  std::vector<std::int64_t> parentOf(static_cast<std::size_t>(m) + 1);
  std::vector<std::int64_t> counts(listed.size());
  for (std::int64_t i = 1; i <= m; ++i) {
    const std::string_view number = records::View(horses.Record(i), parentField);
    std::int64_t p = listedIndex.Find(number) - 1;
    if (p < 0) {
      const std::int64_t first = firstHorse.Find(number);
      if (first == i) {
        p = static_cast<std::int64_t>(g.parents.size());
        g.parents.push_back(number);
        counts.push_back(0);
      } else {
        p = parentOf[static_cast<std::size_t>(first)];
      }
    }
    parentOf[static_cast<std::size_t>(i)] = p;
    ++counts[static_cast<std::size_t>(p)];
  }
  g.start.assign(g.parents.size() + 1, 0);
  for (std::size_t p = 0; p < g.parents.size(); ++p) g.start[p + 1] = g.start[p] + counts[p];
  g.horses.resize(static_cast<std::size_t>(m));
  std::vector<std::int64_t> next(g.start.begin(), g.start.end() - 1);
  for (std::int64_t i = 1; i <= m; ++i) {
    g.horses[static_cast<std::size_t>(next[static_cast<std::size_t>(parentOf[i])]++)] = i;
  }
  return g;
}

std::string OffspringStep(MainWindowState& state, const ParentKind& kind, bool sireStep) {
  RequireFolder(DataPath());
  const auto blockFolder = DataPath(kind.blockFolder);
  const auto totalsFolder = DataPath(kind.totalsFolder);
  RequireFolder(blockFolder);
  RequireFolder(totalsFolder);
  RequireFolder(DataPath(kOptionFolder));

  StagedFiles outputs;
  CleanRecords(OffspringRule(), outputs);
  const RecordMap raw(DataPath(RawRecordFileName("SK")), records::kOffspringLayout.storedLength);
  // Both steps write the dam list; the sire step then the sire list. Distinct numbers
  // that name no file are counted once, whichever list or horse they come from.
  SkippedIds unsafe;
  const std::vector<std::string_view> dams =
      FileNumbers(ParentNumbers(raw, kDams.offspringParent), unsafe);
  WriteList(dams, outputs.Stage(DataPath(kDams.listFile)));
  std::vector<std::string_view> sires;
  if (sireStep) {
    sires = FileNumbers(ParentNumbers(raw, kSires.offspringParent), unsafe);
    WriteList(sires, outputs.Stage(DataPath(kSires.listFile)));
  }
  const std::vector<std::string_view>& listed = sireStep ? sires : dams;

  const RecordMap horses(DataPath(CleanedRecordFileName("UM")), records::kHorseLayout.storedLength);
  const Offspring offspring = GroupByParent(horses, kind.horseParent, listed);

  // Rebuilt whole: record i belongs to list line i, and no parent of an earlier, longer
  // list stays past the end. Without parents no record is written and there is no file.
  const auto statPath = DataPath(kind.statFile);
  std::optional<RecordFile> stats;
  if (!listed.empty()) {
    stats.emplace(outputs.Stage(statPath),
                  static_cast<std::size_t>(kParentStatLayout.storedLength));
  }
  for (std::size_t p = 0; p < offspring.parents.size(); ++p) {
    const std::string_view number = offspring.parents[p];
    const bool isListed = p < listed.size();
    const auto name = FileNameOfId(number);
    if (!name) unsafe.Add(number);

    // A listed parent's file holds this run's offspring only; the file of a parent
    // missing from the list is appended to, as the list step never empties it.
    std::optional<TextWriter> blocks;
    if (name) {
      blocks.emplace(outputs.Stage(blockFolder / *name, !isListed),
                     isListed ? TextWriter::Mode::kOutput : TextWriter::Mode::kAppend);
    }
    ParentTotals totals{};
    for (std::int64_t k = offspring.start[p]; k < offspring.start[p + 1]; ++k) {
      const FinishCountItemList items =
          FinishCountItems(horses.Record(offspring.horses[static_cast<std::size_t>(k)]));
      if (blocks) WriteFinishCountBlock(items, *blocks);
      if (!isListed) continue;
      for (int v = 1; v <= kFinishCountValues; ++v) totals[v] += FinishCountValue(items[v]);
    }
    if (blocks) blocks->Close();
    if (!isListed) continue;
    if (name) {
      TextWriter out(outputs.Stage(totalsFolder / *name), TextWriter::Mode::kOutput);
      for (int v = 1; v <= kFinishCountValues; ++v) out.Num(totals[v]).EndLine();
      out.Close();
    }
    stats->Write(static_cast<std::int64_t>(p) + 1, BuildParentStatRecord(number, totals));
  }
  if (stats) stats->Close();
  if (!stats) outputs.Remove(statPath);
  outputs.Commit();

  state.recordCount = static_cast<std::int32_t>(horses.Count());
  return StatusText(kind.label, state.recordCount) + unsafe.Note();
}

}  // namespace

std::string DamOffspringStep(MainWindowState& state) {
  return OffspringStep(state, kDams, false);
}

std::string SireOffspringStep(MainWindowState& state) {
  return OffspringStep(state, kSires, true);
}

}  // namespace meridax
