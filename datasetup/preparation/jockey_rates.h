#pragma once

// The jockey phase of "血統Q、騎手": each listed jockey's rides at the racecourses "01" to
// "10" since 2005, counted by racecourse, day class and outcome, written as the place
// counts KISHUFUKUSHO\<JockeyCode>.dat and as record p of OPTION1N\DONICHI.dat for the
// jockey at position p of KISHUNUM20190101.dat.

#include <cstdint>
#include <string_view>

#include "platform/staged_files.h"

namespace meridax {

// 1 when the race day is a Saturday, 2 on every other day. A date that does not exist
// counts as a Saturday: under the step's error rule the failed test runs its branch.
int DayClassOf(std::string_view raceYear, std::string_view raceMonthDay);

// Writes the phase's files, staged in `outputs`. Returns the number of list entries whose
// code cannot name a file: they get a record of zero rates and no place count file.
std::int64_t WriteJockeyRates(StagedFiles& outputs);

}  // namespace meridax
