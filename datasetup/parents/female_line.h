#pragma once

// The female-line table FL20190101.dat: for every mare of the cleaned breeding-horse file
// (SexCode "2", in file order) 13 lines of six quoted values, one line per generation: the
// mare herself, then her dam, her dam's dam and so on up to the twelfth generation.
// A line holds BreedingNumber, HorseName, BirthYear, BirthplaceName, SireBreedingNumber
// and DamBreedingNumber as stored. An ancestor not found among the mares keeps her number
// with five empty values and every later line is empty; the twelfth holds a number only.

#include <cstdint>

#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {

inline constexpr int kFemaleLineGenerations = 12;  // lines 1 to 12 after the mare's own

// Writes the lines of every mare of `breedingHorses` and returns the number of mares.
std::int64_t WriteFemaleLines(const RecordMap& breedingHorses, TextWriter& out);

}  // namespace meridax
