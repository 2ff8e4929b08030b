#include "datasetup/parents/female_line.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/horse_layouts.h"

namespace meridax {
namespace {

constexpr int kValues = 6;
using Values = std::array<std::string_view, kValues>;

Values ValuesOf(std::string_view horse) {
  namespace hn = records::hn;
  return {
      records::View(horse, hn::BreedingNumber),     records::View(horse, hn::HorseName),
      records::View(horse, hn::BirthYear),          records::View(horse, hn::BirthplaceName),
      records::View(horse, hn::SireBreedingNumber), records::View(horse, hn::DamBreedingNumber)};
}

void WriteLine(TextWriter& out, std::string_view number, const Values* values) {
  out.Str(number);
  for (int v = 1; v < kValues; ++v) out.Str(values ? (*values)[v] : std::string_view());
  out.EndLine();
}

}  // namespace

std::int64_t WriteFemaleLines(const RecordMap& breedingHorses, TextWriter& out) {
  std::vector<Values> mares;
  for (std::int64_t r = 1; r <= breedingHorses.Count(); ++r) {
    const std::string_view horse = breedingHorses.Record(r);
    if (records::View(horse, records::hn::SexCode) == "2") mares.push_back(ValuesOf(horse));
  }
  // A number names the first mare that bears it; the cleaned file holds each number once.
  std::unordered_map<std::string_view, const Values*> byNumber;
  byNumber.reserve(mares.size());
  for (const Values& mare : mares) byNumber.try_emplace(mare[0], &mare);

  for (const Values& mare : mares) {
    WriteLine(out, mare[0], &mare);
    std::string_view number = mare[5];
    int g = 1;
    for (; g <= kFemaleLineGenerations; ++g) {
      if (g == kFemaleLineGenerations) {
        WriteLine(out, number, nullptr);
        break;
      }
      const auto found = byNumber.find(number);
      const Values* ancestor = found == byNumber.end() ? nullptr : found->second;
      WriteLine(out, number, ancestor);
      if (!ancestor) break;
      number = (*ancestor)[5];
    }
    for (++g; g <= kFemaleLineGenerations; ++g) WriteLine(out, {}, nullptr);
  }
  return static_cast<std::int64_t>(mares.size());
}

}  // namespace meridax
