#include "tests/support/literal_upsert.h"

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/text_file.h"

namespace meridax::testing {
namespace {

std::string KeyOf(const LiteralUpsertRule& rule, const std::string& record) {
  std::string key(records::View(record, rule.createdDate));
  for (const auto& f : rule.identityFields) key += records::View(record, f);
  return key;
}

std::string Mid(const std::string& s, std::size_t from1, std::size_t length) {
  return from1 - 1 < s.size() ? s.substr(from1 - 1, length) : std::string();
}

void Put(const LiteralUpsertRule& rule, const std::string& entity, const std::string& record,
         const std::string& newKey) {
  RecordFile file(HostPath(rule.folderPrefix + entity + ".dat"), rule.recordLength);
  const long m = static_cast<long>(file.Count());
  if (m == 0) {
    file.Write(1, record);
    file.Close();
    return;
  }
  std::vector<std::string> keys(static_cast<std::size_t>(m) + 1);
  std::string stored;
  for (long t = 1; t <= m; ++t) {
    file.Read(t, stored);
    keys[static_cast<std::size_t>(t)] = KeyOf(rule, stored);
  }
  long place = 0;
  for (long t = 1; t <= m; ++t) {
    const std::string& key = keys[static_cast<std::size_t>(t)];
    if (Mid(key, 9, rule.identityCompare) != Mid(newKey, 9, rule.identityCompare)) continue;
    const auto newDate = ToInt32(Mid(newKey, 1, 8));
    const auto storedDate = ToInt32(Mid(key, 1, 8));
    // A comparison that fails runs the branch it guards: the place is found.
    if (!newDate || !storedDate || *newDate >= *storedDate) {
      place = t;
      break;
    }
  }
  file.Write(place > 0 ? place : m + 1, record);
  file.Close();
}

}  // namespace

long LiteralUpsert(const LiteralUpsertRule& rule) {
  std::vector<std::string> list(1);
  ItemReader items(HostPath(rule.listFile));
  while (!items.AtEnd()) {
    list.push_back(items.Next());
    DeleteFile(HostPath(rule.folderPrefix + list.back() + ".dat"));
    RecordFile(HostPath(rule.folderPrefix + list.back() + ".dat"), rule.recordLength).Close();
  }
  RecordFile source(HostPath(rule.sourceFile), rule.recordLength);
  const long n = static_cast<long>(source.Count());
  std::string record;
  for (long k = 1; k <= n; ++k) {
    source.Read(k, record);
    const std::string key = KeyOf(rule, record);
    const std::string entity(records::View(record, rule.entityField));
    for (std::size_t j = 1; j < list.size(); ++j) {
      if (list[j] == entity) Put(rule, entity, record, key);
    }
  }
  return n;
}

}  // namespace meridax::testing
