#include "datasetup/common/record_index.h"

#include <tuple>

#include "platform/drive.h"

namespace meridax {

std::string JoinedKey(std::string_view record, std::span<const records::FieldRef> key) {
  std::string joined;
  for (const auto& f : key) {
    // A record too short for a field is compared as it reads, padded with blanks.
    std::string_view bytes = records::View(record, f);
    joined.append(bytes);
    joined.append(static_cast<std::size_t>(f.width) - bytes.size(), ' ');
  }
  return joined;
}

RecordIndex::RecordIndex(std::int64_t count, const RecordAt& record,
                         std::span<const records::FieldRef> key, Match match) {
  numbers_.reserve(static_cast<std::size_t>(count));
  for (std::int64_t n = 1; n <= count; ++n) {
    const std::string_view r = record(n);
    std::string_view k;
    if (key.size() == 1 &&
        records::View(r, key[0]).size() == static_cast<std::size_t>(key[0].width)) {
      k = records::View(r, key[0]);
    } else {
      k = joinedKeys_.emplace_back(JoinedKey(r, key));
    }
    if (match == Match::kLast) {
      numbers_[k] = n;
    } else {
      numbers_.try_emplace(k, n);
    }
  }
}

RecordIndex::RecordIndex(const RecordMap& map, std::span<const records::FieldRef> key, Match match)
    : RecordIndex(
          map.Count(), [&map](std::int64_t n) { return map.Record(n); }, key, match) {}

std::int64_t RecordIndex::Find(std::string_view key) const {
  const auto it = numbers_.find(key);
  return it == numbers_.end() ? 0 : it->second;
}

std::optional<std::string_view> StatisticsCache::FirstMatch(std::string_view relative,
                                                            std::size_t recordLength,
                                                            records::FieldRef key,
                                                            std::string_view keyBytes) {
  auto id = std::make_tuple(std::string(relative), recordLength, key.pos, key.width);
  auto it = files_.find(id);
  if (it == files_.end()) {
    File file;
    file.map = std::make_unique<RecordMap>(DataPath(relative), recordLength);
    const records::FieldRef fields[] = {key};
    file.index = RecordIndex(*file.map, fields, Match::kFirst);
    it = files_.emplace(std::move(id), std::move(file)).first;
  }
  const std::int64_t n = it->second.index.Find(keyBytes);
  if (n == 0) return std::nullopt;
  return it->second.map->Record(n);
}

}  // namespace meridax
