#include "tests/parents/parent_fixtures.h"

#include <algorithm>
#include <stdexcept>

#include "platform/cp932.h"
#include "records/horse_layouts.h"
#include "tests/support/record_fixture.h"

namespace meridax::testing {
namespace {

namespace um = records::um;

records::FieldRef BlockField(int v) {
  const auto row = [](records::FieldRef table, int i) {
    return table.At(i / 6 + 1).Cell(i % 6 + 1);
  };
  if (v >= 1 && v <= 42) return row(um::FinishCountsByTrack, v - 1);
  if (v >= 43 && v <= 114) return row(um::FinishCountsByGoing, v - 43);
  if (v >= 115 && v <= 150) return row(um::FinishCountsByDistance, v - 115);
  if (v >= 151 && v <= 154) return um::RunningStyleCounts.At(v - 150);
  if (v == 155) return um::FlatPrizeTotal;
  if (v == 156) return um::JumpPrizeTotal;
  if (v >= 157 && v <= 162) return um::FinishCountsOverall.At(v - 156);
  if (v >= 163 && v <= 168) return um::FinishCountsJra.At(v - 162);
  if (v == 173) return um::FlatEarningsTotal;
  if (v == 174) return um::JumpEarningsTotal;
  throw std::invalid_argument("block value without a field of its own");
}

std::string Digits(std::int64_t value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

std::string Sk(const Foal& foal) {
  namespace sk = records::sk;
  std::string rec = MakeRecord(kOffspringLength, {{sk::RecordSpec, "SK"},
                                                  {sk::DataCategory, foal.category},
                                                  {sk::CreatedDate, foal.created},
                                                  {sk::HorseId, foal.horseId},
                                                  {sk::BirthDate, foal.horseId.substr(0, 4)},
                                                  {sk::BirthplaceName, Utf8ToCp932("浦河町")},
                                                  {sk::PedigreeBreedingNumbers.At(1), foal.sire},
                                                  {sk::PedigreeBreedingNumbers.At(2), foal.dam}});
  for (int k = 3; k <= 14; ++k) records::Put(rec, sk::PedigreeBreedingNumbers.At(k), "1000000000");
  return rec;
}

void SetBlockValue(std::string& horse, int v, std::int64_t value) {
  const records::FieldRef f = BlockField(v);
  records::Put(horse, f, Digits(value, f.width));
}

std::string Um(std::string_view horseId, std::string_view sire, std::string_view dam,
               const std::vector<int>& counts) {
  std::string rec = MakeRecord(kHorseLength, {{um::RecordSpec, "UM"},
                                              {um::DataCategory, "1"},
                                              {um::HorseId, horseId},
                                              {um::HorseName, Utf8ToCp932("テスト")},
                                              {um::Pedigree_BreedingNumber.In(1), sire},
                                              {um::Pedigree_BreedingNumber.In(2), dam}});
  for (int v = 1; v <= 174; ++v) {
    if (v >= 169 && v <= 172) continue;
    const bool given = v <= static_cast<int>(counts.size());
    SetBlockValue(rec, v, given ? counts[static_cast<std::size_t>(v - 1)] : 0);
  }
  return rec;
}

World RandomWorld(std::mt19937& random, int foals, int dams, int sires) {
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto number = [&](char kind, int n) {
    const int k = pick(n);
    if (k == 0) return std::string(10, ' ');
    return std::string(1, kind) + Digits(k, 9);
  };
  World w;
  std::vector<std::string> ids;
  for (int f = 0; f < foals; ++f) ids.push_back(Digits(2010 + pick(8), 4) + Digits(100000 + f, 6));
  for (const std::string& id : ids) {
    const std::string sire = number('S', sires);
    const std::string dam = number('D', dams);
    const int copies = pick(6) == 0 ? 2 + pick(2) : 1;
    for (int c = 0; c < copies; ++c) {
      const std::string_view category = pick(7) == 0 ? "0" : (pick(2) ? "1" : "2");
      const std::string created = "2019010" + std::to_string(1 + pick(9));
      w.offspring.push_back(Sk({id, sire, dam, category, created}));
    }
    if (pick(5) == 0) continue;  // not in the horse file
    std::vector<int> counts(174);
    for (int v = 1; v <= 174; ++v) {
      if (v >= 169 && v <= 172) continue;
      const bool money = v == 155 || v == 156 || v >= 173;
      counts[static_cast<std::size_t>(v - 1)] =
          pick(3) == 0 ? (money ? pick(900000) : pick(20)) : 0;
    }
    // Most horses name the offspring file's parents; some name others.
    w.horses.push_back(Um(id, pick(10) ? sire : number('S', sires * 2),
                          pick(10) ? dam : number('D', dams * 2), counts));
  }
  // A few horses only the horse file knows.
  for (int k = 0; k < foals / 10; ++k) {
    w.horses.push_back(Um("2005" + Digits(k, 6), number('S', sires), number('D', dams)));
  }
  std::sort(w.horses.begin(), w.horses.end(), [](const std::string& a, const std::string& b) {
    return records::View(a, um::HorseId) < records::View(b, um::HorseId);
  });
  std::shuffle(w.offspring.begin(), w.offspring.end(), random);
  return w;
}

}  // namespace meridax::testing
