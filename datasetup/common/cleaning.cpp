#include "datasetup/common/cleaning.h"

#include <stdexcept>
#include <string>

#include "datasetup/common/data_files.h"
#include "datasetup/common/sorts.h"
#include "platform/record_file.h"
#include "platform/record_map.h"

namespace meridax {
namespace {

std::string_view RunPart(std::string_view key, std::size_t runPrefix) {
  return runPrefix == 0 ? key : key.substr(0, runPrefix);
}

}  // namespace

std::vector<std::int64_t> ChooseOnePerRun(const std::vector<std::string_view>& keys, KeepOfRun keep,
                                          std::size_t runPrefix) {
  // Slot 0 holds no key: it differs from every key, so slot 1 always starts a run.
  const auto n = static_cast<std::int64_t>(keys.size()) - 1;
  std::vector<std::int64_t> chosen;
  const auto differ = [&](std::int64_t a, std::int64_t b) {
    return RunPart(keys[static_cast<std::size_t>(a)], runPrefix) !=
           RunPart(keys[static_cast<std::size_t>(b)], runPrefix);
  };
  for (std::int64_t p = keep == KeepOfRun::kFirst ? 0 : 1; p <= n; ++p) {
    if (keep == KeepOfRun::kFirst) {
      if (p < n && differ(p, p + 1)) chosen.push_back(p + 1);
    } else if (p == n || differ(p, p + 1)) {
      chosen.push_back(p);
    }
  }
  return chosen;
}

CleaningRule CleaningRuleOf(std::string_view kind) {
  CleaningRule rule;
  rule.rawFile = DataPath(RawRecordFileName(kind));
  rule.cleanedFile = DataPath(CleanedRecordFileName(kind));
  return rule;
}

CleaningResult CleanRecords(const CleaningRule& rule, StagedFiles& outputs) {
  if (rule.recordLength == 0 || rule.keyFields.empty()) {
    throw std::invalid_argument("cleaning rule without record length or key");
  }
  std::size_t keyWidth = 0;
  for (const auto& f : rule.keyFields) keyWidth += static_cast<std::size_t>(f.width);

  RecordMap raw(rule.rawFile, rule.recordLength);
  CleaningResult result;
  result.rawCount = raw.Count();
  const auto n = static_cast<std::size_t>(result.rawCount);

  // Keys live in one block; the sort moves views of them, not their bytes.
  std::string keyBytes(n * keyWidth, ' ');
  std::vector<std::string_view> keys(n + 1);
  std::vector<std::int64_t> numbers(n + 1, 0);
  for (std::size_t i = 1; i <= n; ++i) {
    const std::string_view record = raw.Record(static_cast<std::int64_t>(i));
    char* key = keyBytes.data() + (i - 1) * keyWidth;
    std::size_t at = 0;
    for (const auto& f : rule.keyFields) {
      const std::string_view field = records::View(record, f);
      field.copy(key + at, field.size());
      at += static_cast<std::size_t>(f.width);
    }
    keys[i] = std::string_view(key, keyWidth);
    numbers[i] = static_cast<std::int64_t>(i);
  }
  if (rule.order == SortOrder::kAscending) {
    QuickSortAscending(keys, numbers, 1, result.rawCount);
  } else {
    QuickSortDescending(keys, numbers, 1, result.rawCount);
  }

  result.staged = outputs.Stage(rule.cleanedFile, rule.keepRecordsPastEnd);
  RecordFile cleaned(result.staged, rule.recordLength);
  for (const std::int64_t slot : ChooseOnePerRun(keys, rule.keep, rule.runPrefix)) {
    const std::string_view record = raw.Record(numbers[static_cast<std::size_t>(slot)]);
    if (rule.categories &&
        rule.categories->find(records::View(record, records::header::DataCategory).front()) ==
            std::string_view::npos) {
      continue;
    }
    cleaned.Write(++result.keptCount, record);
  }
  result.cleanedCount = cleaned.Count();
  cleaned.Close();
  result.recordCount =
      rule.countAfter == CountAfter::kRawRecords ? result.rawCount : result.cleanedCount;
  return result;
}

}  // namespace meridax
