#pragma once

// The per-entity upsert behind the per-horse, per-jockey and per-mare record files
// ("UMAGOTOSETUP\<HorseId>.dat", "KISHUGOTOSETUP\<JockeyCode>.dat", "HAHAHAN\<dam>.dat"):
// every entity of a list gets a file, emptied first, and every record of a source file
// whose entity field names a listed entity is put into that entity's file. Putting a
// record overwrites the first stored record of the same identity whose CreatedDate is not
// later than the record's own (a date that is not a whole number counts as not later), and
// otherwise appends it. Records therefore stand in the order of the source file, and an
// overwritten record keeps its place.
//
// The files come out as if each record were put by reopening and rereading its file, and
// once for every time its entity stands in the list; here the records of each entity are
// gathered in memory and each file is written once. A repeated list entry puts a record
// over itself, so only membership in the list matters.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/staged_files.h"
#include "platform/step_host.h"
#include "records/layouts.h"

namespace meridax {

struct UpsertRule {
  // The list of entity ids, one quoted item per line; a missing list is an empty one.
  std::filesystem::path listFile;
  // The records to distribute; a missing file is created empty.
  std::filesystem::path sourceFile;
  std::size_t recordLength = 0;
  // Drive-C: path of the entity files' folder, ending in a separator: the file of id e is
  // folderPrefix & e & ".dat". Doubled separators read as one.
  std::string folderPrefix;
  // The field of a record that names its entity.
  records::FieldRef entityField;
  // Fields joined into a record's identity: a record replaces only a record of the same
  // entity and identity.
  std::vector<records::FieldRef> identityFields;
  records::FieldRef createdDate = records::header::CreatedDate;
  // Let the message loop run once per list item while the files are emptied (it always
  // runs once per source record).
  bool eventsWhileEmptying = true;
};

struct UpsertResult {
  std::int64_t sourceCount = 0;  // records of the source file
  std::int64_t listCount = 0;    // items of the list, repeats included
  // Distinct listed ids that cannot name a file (IsSafeFileId): they get no file and
  // their records go nowhere.
  std::int64_t skippedIds = 0;
};

// Rebuilds the file of every listed entity, staged in `outputs` (the caller commits).
// Files of entities not in the list are left as they are. Throws IoError when a folder
// is missing or a file cannot be read or written. Time and memory linear in the records.
UpsertResult UpsertEntityFiles(const UpsertRule& rule, StagedFiles& outputs, StepHost& host);

// The body of a step that is one upsert ("SE/UM", "SE/KS", "SK/HN"): the data folder must
// exist, the files are put in place once all are written, and the status is the label
// with the source file's record count and a note of any skipped ids. The window's record
// count is left alone.
std::string UpsertStep(const UpsertRule& rule, std::string_view label, StepHost& host);

}  // namespace meridax
