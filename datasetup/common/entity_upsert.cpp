#include "datasetup/common/entity_upsert.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "datasetup/common/file_ids.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/record_index.h"
#include "datasetup/common/step_frame.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

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
  {
    std::unordered_set<std::string> listed;
    SkippedIds unsafe;
    ItemReader list(rule.listFile);
    while (!list.AtEnd()) {
      std::string id = list.Next();
      ++result.listCount;
      if (rule.eventsWhileEmptying) host.ProcessEvents();
      if (listed.contains(id)) continue;
      if (auto name = FileNameOfId(id)) {
        listed.insert(id);
        entities.push_back({std::move(id), std::move(*name), {}, {}});
      } else {
        unsafe.Add(id);
      }
    }
    result.skippedIds = unsafe.Count();
  }

  // Only an id as wide as the entity field can name a record's entity.
  const auto width = static_cast<std::size_t>(rule.entityField.width);
  std::vector<std::size_t> named;
  for (std::size_t e = 0; e < entities.size(); ++e) {
    if (entities[e].id.size() == width) named.push_back(e);
  }
  const records::FieldRef entityKey[] = {{1, rule.entityField.width}};
  const RecordIndex entityOf(
      static_cast<std::int64_t>(named.size()),
      [&](std::int64_t n) -> std::string_view {
        return entities[named[static_cast<std::size_t>(n - 1)]].id;
      },
      entityKey, Match::kFirst);

  const RecordMap source(rule.sourceFile, rule.recordLength);
  result.sourceCount = source.Count();
  // The records of listed entities, and each one's entity.
  std::vector<std::int64_t> listedRecords;
  std::vector<std::size_t> entityOfRecord;
  for (std::int64_t k = 1; k <= result.sourceCount; ++k) {
    const std::int64_t n = entityOf.Find(records::View(source.Record(k), rule.entityField));
    if (n == 0) continue;
    listedRecords.push_back(k);
    entityOfRecord.push_back(named[static_cast<std::size_t>(n - 1)]);
  }
  // Keyed by entity field and identity, both fixed-width, so the joined text is
  // unambiguous; each key's places are kept at its first record.
  std::vector<records::FieldRef> identityKey{rule.entityField};
  identityKey.insert(identityKey.end(), rule.identityFields.begin(), rule.identityFields.end());
  const RecordIndex firstOfIdentity(
      static_cast<std::int64_t>(listedRecords.size()),
      [&](std::int64_t n) { return source.Record(listedRecords[static_cast<std::size_t>(n - 1)]); },
      identityKey, Match::kFirst);
  std::vector<SameIdentity> identities(listedRecords.size() + 1);
  std::size_t next = 0;
  for (std::int64_t k = 1; k <= result.sourceCount; ++k) {
    if (next < listedRecords.size() && listedRecords[next] == k) {
      const std::string_view record = source.Record(k);
      Entity& entity = entities[entityOfRecord[next]];
      ++next;
      SameIdentity& same = identities[static_cast<std::size_t>(
          firstOfIdentity.Find(JoinedKey(record, identityKey)))];
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
