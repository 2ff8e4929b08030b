#include "datasetup/parents/female_line.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/horse_layouts.h"

namespace meridax {
namespace {

// A line of the six quoted values, in the text file's item format.
void AppendLine(std::string& out, std::string_view number, std::string_view name,
                std::string_view year, std::string_view place, std::string_view sire,
                std::string_view dam) {
  bool first = true;
  for (const std::string_view value : {number, name, year, place, sire, dam}) {
    if (!first) out += ',';
    first = false;
    out += '"';
    out += value;
    out += '"';
  }
  out += "\r\n";
}

}  // namespace

std::int64_t WriteFemaleLines(const RecordMap& breedingHorses, TextWriter& out) {
  namespace hn = records::hn;
  // Each mare's own line, rendered once: the line of a generation found among the mares
  // is that mare's own line, as its number is the one looked up.
  std::string lines;
  std::vector<std::size_t> lineStart;
  std::vector<std::string_view> dams;
  std::unordered_map<std::string_view, std::int64_t> byNumber;
  for (std::int64_t r = 1; r <= breedingHorses.Count(); ++r) {
    const std::string_view horse = breedingHorses.Record(r);
    if (records::View(horse, hn::SexCode) != "2") continue;
    const std::string_view number = records::View(horse, hn::BreedingNumber);
    // A number names the first mare that bears it; the cleaned file holds each number once.
    byNumber.try_emplace(number, static_cast<std::int64_t>(dams.size()));
    dams.push_back(records::View(horse, hn::DamBreedingNumber));
    lineStart.push_back(lines.size());
    AppendLine(lines, number, records::View(horse, hn::HorseName),
               records::View(horse, hn::BirthYear), records::View(horse, hn::BirthplaceName),
               records::View(horse, hn::SireBreedingNumber), dams.back());
  }
  lineStart.push_back(lines.size());
  const auto mares = static_cast<std::int64_t>(dams.size());
  const auto ownLine = [&](std::int64_t k) {
    const auto at = static_cast<std::size_t>(k);
    return std::string_view(lines).substr(lineStart[at], lineStart[at + 1] - lineStart[at]);
  };
  std::vector<std::int64_t> damOf(static_cast<std::size_t>(mares), -1);
  for (std::int64_t k = 0; k < mares; ++k) {
    const auto found = byNumber.find(dams[static_cast<std::size_t>(k)]);
    if (found != byNumber.end()) damOf[static_cast<std::size_t>(k)] = found->second;
  }

  constexpr std::string_view kEmptyValues = R"(,"","","","","")"
                                            "\r\n";
  std::string numberOnly;
  for (std::int64_t i = 0; i < mares; ++i) {
    out.Raw(ownLine(i));
    std::int64_t k = i;
    int g = 1;
    for (; g <= kFemaleLineGenerations; ++g) {
      const std::int64_t dam = damOf[static_cast<std::size_t>(k)];
      if (g == kFemaleLineGenerations || dam < 0) {
        // Her number alone: not found, or the last generation, which is never looked up.
        numberOnly.assign("\"").append(dams[static_cast<std::size_t>(k)]).append("\"");
        out.Raw(numberOnly).Raw(kEmptyValues);
        break;
      }
      out.Raw(ownLine(dam));
      k = dam;
    }
    for (++g; g <= kFemaleLineGenerations; ++g) out.Raw(R"("")").Raw(kEmptyValues);
  }
  return mares;
}

}  // namespace meridax
