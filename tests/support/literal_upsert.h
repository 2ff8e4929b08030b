#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "records/layout.h"

namespace meridax::testing {

// The per-entity upsert done the slow way, statement by statement: every list entry
// empties its file, every source record is compared with every list entry, and every put
// reopens the entity's file and rereads all its keys. The reference the fast upsert must
// match byte for byte.
struct LiteralUpsertRule {
  std::string listFile;  // drive-C: paths
  std::string sourceFile;
  std::size_t recordLength = 0;
  std::string folderPrefix;  // "C:\\MERIDAXPROJECT\\\\UMAGOTOSETUP\\"
  records::FieldRef entityField;
  records::FieldRef createdDate;
  std::vector<records::FieldRef> identityFields;
  // How many characters of a key, from its ninth, are compared as its identity.
  std::size_t identityCompare = 22;
};

// Returns the source record count.
long LiteralUpsert(const LiteralUpsertRule& rule);

}  // namespace meridax::testing
