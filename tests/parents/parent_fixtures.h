#pragma once

// Records of the breeding steps' inputs for tests: offspring (SK) and horse (UM) records
// naming their parents, and a random world of both.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace meridax::testing {

inline constexpr std::size_t kOffspringLength = 208;
inline constexpr std::size_t kHorseLength = 1609;

struct Foal {
  std::string_view horseId;
  std::string_view sire;
  std::string_view dam;
  std::string_view category = "1";
  std::string_view created = "20190105";
};
std::string Sk(const Foal& foal);

// A horse record with every count and total zero but the given ones; `counts` fills
// values 1 to counts.size() of its finish-count block where they are record fields
// (the earnings flags, values 171 and 172, follow from the totals).
std::string Um(std::string_view horseId, std::string_view sire, std::string_view dam,
               const std::vector<int>& counts = {});

// Sets value v (1 to 174, not 169 to 172) of a horse record's block.
void SetBlockValue(std::string& horse, int v, std::int64_t value);

struct World {
  std::vector<std::string> offspring;  // raw SK records
  std::vector<std::string> horses;     // cleaned UM records, in HorseId order
};

// Parents drawn from a few numbers (blanks among them), offspring records with repeats
// and other categories, horses for most offspring and for some not in the offspring file.
World RandomWorld(std::mt19937& random, int foals, int dams, int sires);

}  // namespace meridax::testing
