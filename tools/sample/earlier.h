#pragma once

// What the data folder holds from outside the system: the earlier generation "20180101"
// that the run-history window reads, and the tables under OPTION1N that the category
// window and the factor item variants read.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/sample/world.h"

namespace meridax::sample {

struct EarlierSummary {
  std::size_t listed = 0, recent = 0;  // entries of the horse list and the recent list
  std::size_t horses = 0, races = 0, jockeys = 0, breeding = 0, sales = 0;
  std::size_t raceFiles = 0;  // race files of the older era's horses
  std::size_t dams = 0;       // records of OPTION1N\HAHAUMA.dat
};

// Writes into the data folder `data`, consistent with the world:
// - KETTONUM20180101.dat: the horses of the current list but every 50th, and the horses
//   born before 2010 that ran; KETTONUM20180101Q.dat: those of them whose last run is from
//   2000 or later, by the rule of the current recent list;
// - UM20180101NEW.dat, RA20180101NEW.dat, KS20180101NEW.dat (the stored layout) and
//   HN20180101NEW.dat: one stored record per horse the generation knows, race, jockey and
//   breeding horse, in key order; HS20180101.dat: one delivered line per sale of its horses;
// - UMAGOTOSETUP\<HorseId>.dat for the listed horses born before 2010: the race files that
//   the preparation of that generation left, since the current horse list holds only
//   horses born from 2010;
// - the OPTION1N tables (WriteOptionTables).
// The earlier hazards of the world's Hazards put in their gaps. Throws std::runtime_error
// when a file cannot be written.
EarlierSummary WriteEarlier(const World& world, const std::filesystem::path& data);

// The 18 tables with no categories: each totals file 30 lines of 0, the others empty.
// Tables with real categories come from the categorisation itself.
void WriteMinimalCategoryTables(const std::filesystem::path& data);

// OPTION1N\HAHAUMA.dat: one ParentStatRecord per dam of the world, by breeding number,
// from the finish-count blocks of her foals that the earlier generation knows (`known`,
// by horse). Returns the number of records.
std::size_t WriteDamStatistics(const World& world, const std::vector<bool>& known,
                               const std::filesystem::path& data);

}  // namespace meridax::sample
