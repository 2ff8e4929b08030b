#include "datasetup/parents/female_line.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/common/record_index.h"
#include "records/horse_layouts.h"

namespace meridax {
namespace {

namespace hn = records::hn;

// The six values of a line, in order.
constexpr std::array<records::FieldRef, 6> kValues{hn::BreedingNumber,     hn::HorseName,
                                                   hn::BirthYear,          hn::BirthplaceName,
                                                   hn::SireBreedingNumber, hn::DamBreedingNumber};

// The line of a horse's six values, in the text file's item format. Every value is a
// fixed-width field, so every such line has the same quotes and commas at the same places;
// only the fields are copied in.
class HorseLine {
 public:
  HorseLine() {
    for (std::size_t v = 0; v < kValues.size(); ++v) {
      line_ += v == 0 ? "\"" : "\",\"";
      at_[v] = line_.size();
      line_.append(static_cast<std::size_t>(kValues[v].width), ' ');
    }
    line_ += "\"\r\n";
  }

  std::string_view Of(std::string_view record) {
    for (std::size_t v = 0; v < kValues.size(); ++v) {
      records::View(record, kValues[v]).copy(line_.data() + at_[v], kValues[v].width);
    }
    return line_;
  }

 private:
  std::string line_;
  std::array<std::size_t, kValues.size()> at_{};
};

}  // namespace

std::int64_t WriteFemaleLines(const RecordMap& breedingHorses, TextWriter& out) {
  std::vector<std::int64_t> mareRecords;
  for (std::int64_t r = 1; r <= breedingHorses.Count(); ++r) {
    if (records::View(breedingHorses.Record(r), hn::SexCode) == "2") mareRecords.push_back(r);
  }
  const auto mares = static_cast<std::int64_t>(mareRecords.size());
  const auto damNumber = [&](std::int64_t mare) {
    return records::View(breedingHorses.Record(mareRecords[static_cast<std::size_t>(mare)]),
                         hn::DamBreedingNumber);
  };
  // Each mare's dam among the mares, found once: a generation found is that mare's own
  // line, and the next generation is her dam.
  std::vector<std::int64_t> damOf(mareRecords.size());
  {
    constexpr records::FieldRef kNumber[] = {hn::BreedingNumber};
    const RecordIndex index(
        mares,
        [&](std::int64_t n) {
          return breedingHorses.Record(mareRecords[static_cast<std::size_t>(n - 1)]);
        },
        kNumber, Match::kFirst);
    // The index counts mares from 1; -1 stands for no mare.
    for (std::int64_t k = 0; k < mares; ++k)
      damOf[static_cast<std::size_t>(k)] = index.Find(damNumber(k)) - 1;
  }

  HorseLine line;
  constexpr std::string_view kEmptyValues = R"(,"","","","","")"
                                            "\r\n";
  std::string numberOnly;
  for (std::int64_t i = 0; i < mares; ++i) {
    out.Raw(line.Of(breedingHorses.Record(mareRecords[static_cast<std::size_t>(i)])));
    std::int64_t k = i;
    int g = 1;
    for (; g <= kFemaleLineGenerations; ++g) {
      const std::int64_t dam = damOf[static_cast<std::size_t>(k)];
      if (g == kFemaleLineGenerations || dam < 0) {
        // Her number alone: not found, or the last generation, which is never looked up.
        numberOnly.assign("\"").append(damNumber(k)).append("\"");
        out.Raw(numberOnly).Raw(kEmptyValues);
        break;
      }
      out.Raw(line.Of(breedingHorses.Record(mareRecords[static_cast<std::size_t>(dam)])));
      k = dam;
    }
    for (++g; g <= kFemaleLineGenerations; ++g) out.Raw(R"("")").Raw(kEmptyValues);
  }
  return mares;
}

}  // namespace meridax
