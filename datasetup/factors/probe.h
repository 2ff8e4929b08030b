#pragma once

// The probe: runs named item routines on one run of one horse as a factor item step would
// reach them, so routines that no button calls can be run and checked.
//   meridax-run [--drive DIR] --probe HORSEID RUN ROUTINE...

#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/factors/item_context.h"
#include "records/layout.h"

namespace meridax {

struct ProbeRoutine {
  std::string_view name;
  ItemRoutine routine;
  // The field of the item record a live routine stores its code in, as the factor step
  // does (a failure blanks it); none for a routine whose code is only shown.
  std::optional<records::FieldRef> storesField;
};

// The routines the probe knows by name. Each table of routines adds itself.
class ProbeRegistry {
 public:
  void Add(std::span<const ProbeRoutine> table);
  const ProbeRoutine* Find(std::string_view name) const;

 private:
  std::map<std::string, ProbeRoutine, std::less<>> routines_;
};

// The live speed figures and Factor01 to Factor30, each storing its code.
std::vector<ProbeRoutine> LiveProbeRoutines();

// Runs the probe for the arguments after --probe: HORSEID RUN ROUTINE... Prints one line
// per routine to `out` (NAME, a tab and the code in double quotes, or "abandoned"), load
// failures and errors to `err`. Returns 2 for wrong arguments or an unknown routine (before
// anything runs), 1 when the horse has no run file (none is made) or a file cannot be
// opened, else 0.
int RunProbe(const ProbeRegistry& registry, std::span<const std::string> args, std::ostream& out,
             std::ostream& err);

}  // namespace meridax
