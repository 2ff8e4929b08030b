#include "datasetup/common/entity_upsert.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "datasetup/common/file_ids.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/step_frame.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <typename V>
using TextMap = std::unordered_map<std::string, V, TextHash, std::equal_to<>>;

// One listed entity: the source record number at each place of its file, and for each
// place the next place that holds the same identity (-1 for none).
struct Entity {
  std::string id;
  std::string fileName;
  std::vector<std::int64_t> places;
  std::vector<std::int64_t> nextSame;
};

// The places of one identity within one entity's file, first and last.
struct SameIdentity {
  std::int64_t first = -1;
  std::int64_t last = -1;
};

std::optional<std::int32_t> DateOf(std::string_view record, records::FieldRef createdDate) {
  return ToInt32(records::View(record, createdDate));
}

}  // namespace

UpsertResult UpsertEntityFiles(const UpsertRule& rule, StagedFiles& outputs, StepHost& host) {
  if (rule.recordLength == 0 || rule.identityFields.empty()) {
    throw std::invalid_argument("upsert rule without record length or identity");
  }
  const std::filesystem::path folder = HostPath(rule.folderPrefix);
  RequireFolder(folder);
  UpsertResult result;

  std::vector<Entity> entities;
  TextMap<std::size_t> entityOf;
  std::unordered_set<std::string> unsafe;
  {
    ItemReader list(rule.listFile);
    while (!list.AtEnd()) {
      std::string id = list.Next();
      ++result.listCount;
      if (rule.eventsWhileEmptying) host.ProcessEvents();
      if (entityOf.contains(id)) continue;
      if (auto name = FileNameOfId(id)) {
        entityOf.emplace(id, entities.size());
        entities.push_back({std::move(id), std::move(*name), {}, {}});
      } else {
        unsafe.insert(std::move(id));
      }
    }
  }
  result.skippedIds = static_cast<std::int64_t>(unsafe.size());

  const RecordMap source(rule.sourceFile, rule.recordLength);
  result.sourceCount = source.Count();
  // Keyed by entity field and identity, both fixed-width, so the joined text is unambiguous.
  TextMap<SameIdentity> identities;
  std::string key;
  for (std::int64_t k = 1; k <= result.sourceCount; ++k) {
    const std::string_view record = source.Record(k);
    const std::string_view entityId = records::View(record, rule.entityField);
    if (const auto found = entityOf.find(entityId); found != entityOf.end()) {
      Entity& entity = entities[found->second];
      key.assign(entityId);
      for (const auto& f : rule.identityFields) key.append(records::View(record, f));
      SameIdentity& same = identities.try_emplace(key).first->second;
      const auto date = DateOf(record, rule.createdDate);
      bool placed = false;
      for (std::int64_t t = same.first; t >= 0; t = entity.nextSame[static_cast<std::size_t>(t)]) {
        auto& place = entity.places[static_cast<std::size_t>(t)];
        const auto storedDate = DateOf(source.Record(place), rule.createdDate);
        if (!date || !storedDate || *date >= *storedDate) {
          place = k;
          placed = true;
          break;
        }
      }
      if (!placed) {
        const auto t = static_cast<std::int64_t>(entity.places.size());
        entity.places.push_back(k);
        entity.nextSame.push_back(-1);
        if (same.last >= 0) {
          entity.nextSame[static_cast<std::size_t>(same.last)] = t;
        } else {
          same.first = t;
        }
        same.last = t;
      }
    }
    host.ProcessEvents();
  }

  for (const Entity& entity : entities) {
    // A listed entity without records still gets its file, empty.
    const auto staged = outputs.Stage(folder / entity.fileName);
    if (entity.places.empty()) continue;
    RecordFile file(staged, rule.recordLength);
    std::int64_t n = 0;
    for (const std::int64_t k : entity.places) file.Write(++n, source.Record(k));
    file.Close();
  }
  return result;
}

std::string UpsertStep(const UpsertRule& rule, std::string_view label, StepHost& host) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  const UpsertResult result = UpsertEntityFiles(rule, outputs, host);
  outputs.Commit();
  return StatusText(label, result.sourceCount) + SkippedIdsNote(result.skippedIds);
}

}  // namespace meridax
