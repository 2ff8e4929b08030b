#include "tools/sample/world.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_set>

#include "tools/sample/builder.h"
#include "tools/sample/emit.h"
#include "tools/sample/world_params.h"

namespace meridax::sample {

Surface SurfaceOfTrack(int trackCode) {
  if (trackCode <= 22) return kTurf;
  if (trackCode <= 29) return kDirt;
  return kJump;
}

void HorseCareer::Add(const RunFacts& f) {
  if (!f.counted) return;
  ++overall[f.bucket];
  if (f.jra) ++jra[f.bucket];
  ++track[f.trackRow][f.bucket];
  ++going[f.goingRow][f.bucket];
  if (f.distanceRow >= 0) ++distance[f.distanceRow][f.bucket];
  if (f.style >= 0) ++style[f.style];
  const bool jump = f.surface == kJump;
  (jump ? jumpPrize : flatPrize) += f.prize;
  (jump ? jumpAdded : flatAdded) += f.added;
  // Money counted for the class: first and second places.
  if (f.bucket <= 1) (jump ? jumpEarnings : flatEarnings) += f.prize;
  ++races;
}

void PersonBlock::Add(const RunFacts& f) {
  if (!f.counted) return;
  if (f.surface == kJump) {
    ++jump[f.bucket];
    jumpPrize += f.prize;
    jumpAdded += f.added;
    return;
  }
  ++flat[f.bucket];
  ++distance[f.distanceRow][f.bucket];
  if (f.courseRow >= 0) ++course[f.courseRow][f.bucket];
  flatPrize += f.prize;
  flatAdded += f.added;
}

void YearBlock::Add(const RunFacts& f) {
  if (!f.counted) return;
  ++counts[f.bucket];
  prize += f.prize;
  added += f.added;
}

namespace build {

std::vector<int> DistinctNumbers(Rng& rng, int lo, int hi, int n) {
  std::vector<int> out;
  out.reserve(static_cast<std::size_t>(n));
  if (static_cast<long>(hi) - lo + 1 <= 4L * n) {
    std::vector<int> all(static_cast<std::size_t>(hi - lo + 1));
    std::iota(all.begin(), all.end(), lo);
    rng.Shuffle(all);
    all.resize(static_cast<std::size_t>(n));
    return all;
  }
  std::unordered_set<int> seen;
  while (static_cast<int>(out.size()) < n) {
    const int v = rng.Range(lo, hi);
    if (seen.insert(v).second) out.push_back(v);
  }
  return out;
}

Builder::Builder(Size size, std::uint64_t seed, const Hazards& hazards)
    : p_(ParamsOf(size)), hz_(hazards), root_(seed), names_(NameMaker::Get()) {
  w_.size = size;
  w_.hazards = hazards;
  w_.firstYear = p_.firstYear;
  w_.lastYear = p_.lastYear;
}

World Builder::Build() {
  Calendar();
  People();
  Breeding();
  OldHorses();
  Races();
  OlderEra();
  TwoCourseRider();
  Aggregate();
  Settle();
  Sales();
  Codes();
  return std::move(w_);
}

void Builder::Aggregate() {
  Rng rng = root_.Fork(6);
  const int year = w_.lastYear;
  // Runs in date order, since first rides and recent wins depend on it; the older era's
  // races follow the others in the world's lists.
  std::vector<std::size_t> byDate(w_.runners.size());
  std::iota(byDate.begin(), byDate.end(), std::size_t{0});
  std::stable_sort(byDate.begin(), byDate.end(), [&](std::size_t a, std::size_t b) {
    return w_.races[static_cast<std::size_t>(w_.runners[a].race)].date <
           w_.races[static_cast<std::size_t>(w_.runners[b].race)].date;
  });
  for (const std::size_t i : byDate) {
    const Runner& r = w_.runners[i];
    const Race& race = w_.races[static_cast<std::size_t>(r.race)];
    const RunFacts f = FactsOf(w_, r);
    Horse& h = w_.horses[static_cast<std::size_t>(r.horse)];
    h.career.Add(f);
    const Foal& foal = w_.foals[static_cast<std::size_t>(h.foal)];
    Jockey& j = w_.jockeys[static_cast<std::size_t>(r.jockey)];
    Trainer& t = w_.trainers[static_cast<std::size_t>(h.trainer)];
    for (PersonBlock* b : {&j.blocks[2], &t.blocks[2]}) b->Add(f);
    if (race.date.year == year) {
      j.blocks[0].Add(f);
      t.blocks[0].Add(f);
      w_.breeders[static_cast<std::size_t>(foal.breeder)].results[0].Add(f);
      w_.owners[static_cast<std::size_t>(h.owner)].results[0].Add(f);
    } else if (race.date.year == year - 1) {
      j.blocks[1].Add(f);
      t.blocks[1].Add(f);
    }
    w_.breeders[static_cast<std::size_t>(foal.breeder)].results[1].Add(f);
    w_.owners[static_cast<std::size_t>(h.owner)].results[1].Add(f);
    // First rides and wins, when the rider was licensed during the world.
    const int kind = race.track >= 51 ? 1 : 0;
    FirstRun run{
        true,          race.date, race.course, race.meeting, race.meetingDay, race.raceNumber,
        race.starters, r.horse,   r.arrival,   r.abnormality};
    if (j.license.year >= w_.firstYear && f.counted) {
      if (!j.firstRides[static_cast<std::size_t>(kind)].known)
        j.firstRides[static_cast<std::size_t>(kind)] = run;
      if (r.arrival == 1 && !j.firstWins[static_cast<std::size_t>(kind)].known) {
        j.firstWins[static_cast<std::size_t>(kind)] = run;
      }
    }
    if (r.arrival == 1 && race.grade != ' ' && race.grade != 'E' && race.grade != 'L') {
      for (auto* wins : {&j.gradedWins, &t.gradedWins}) {
        wins->insert(wins->begin(), GradedWin{r.race, r.horse});
        if (wins->size() > 3) wins->pop_back();
      }
    }
  }
  // Riders' careers before the world.
  for (Jockey& j : w_.jockeys) {
    const Date end = j.revoked.year > 0 ? j.revoked : Date{w_.firstYear, 1, 1};
    const int years = std::max(0, std::min(end.year, w_.firstYear) - j.license.year);
    const int perYear = std::min(700, static_cast<int>(60 + j.weight * 25));
    const int rides = std::min(16000, years * perYear);
    for (int k = 0; k < rides; ++k) {
      const Surface s = j.qualification == '3'                         ? kJump
                        : (j.qualification == '1' && rng.Chance(0.03)) ? kJump
                        : rng.Chance(0.5)                              ? kTurf
                                                                       : kDirt;
      const RunFacts f = SyntheticRun(rng, s, static_cast<int>(rng.Below(3)), j.skill * 2, 1,
                                      static_cast<int>(rng.Below(4)), true, j.license.year);
      j.blocks[2].Add(f);
    }
    if (j.kind != JockeyKind::kActive || j.license.year < w_.firstYear) {
      // Known only by date and course: the horse is not in the world.
      for (int kind = 0; kind < 2; ++kind) {
        if (kind == 1 && j.qualification == '2') continue;
        FirstRun fr{true,
                    j.license.Plus(rng.Range(0, 60)),
                    Digits(rng.Range(1, 10), 2),
                    rng.Range(1, 5),
                    rng.Range(1, 8),
                    rng.Range(1, 12),
                    rng.Range(8, 18),
                    -1,
                    rng.Range(1, 16),
                    '0'};
        if (!j.firstRides[static_cast<std::size_t>(kind)].known)
          j.firstRides[static_cast<std::size_t>(kind)] = fr;
        fr.date = fr.date.Plus(rng.Range(5, 200));
        fr.finish = 1;
        if (!j.firstWins[static_cast<std::size_t>(kind)].known && rides > 20) {
          j.firstWins[static_cast<std::size_t>(kind)] = fr;
        }
      }
    }
  }
  for (Jockey& j : w_.jockeys) {
    j.blocks[0].setYear = year;
    j.blocks[1].setYear = year - 1;
  }
  for (Trainer& t : w_.trainers) {
    t.blocks[0].setYear = year;
    t.blocks[1].setYear = year - 1;
  }
  for (Breeder& b : w_.breeders) b.results[0].setYear = year;
  for (Owner& o : w_.owners) o.results[0].setYear = year;
}

void Builder::Settle() {
  Rng rng = root_.Fork(7);
  std::vector<Date> lastRun(w_.horses.size());
  for (const Runner& r : w_.runners) {
    Date& last = lastRun[static_cast<std::size_t>(r.horse)];
    last = Max(last, w_.races[static_cast<std::size_t>(r.race)].date);
  }
  const std::unordered_set<int> unraced(w_.unracedDeregistered.begin(),
                                        w_.unracedDeregistered.end());
  for (std::size_t i = 0; i < w_.horses.size(); ++i) {
    Horse& h = w_.horses[i];
    const bool hazard = unraced.count(static_cast<int>(i)) > 0;
    if (h.career.races == 0 && h.deregistration == '1' && !hazard) {
      // A horse that never ran stays registered unless it is one of the faults asked for.
      h.deregistration = '0';
      h.deregistered = {};
    }
    if (h.deregistration == '1') {
      h.category = rng.Chance(0.3) ? '9' : '4';
      h.created = Min(h.deregistered.Plus(3), w_.snapshot);
    } else if (h.career.races == 0) {
      h.category = '1';
      h.created = Min(h.registered.Plus(3), w_.snapshot);
    } else {
      h.category = rng.Chance(0.03) ? '2' : '4';
      const Date last = lastRun[i].year > 0 ? lastRun[i] : h.registered;
      h.created = Min(last.Plus(3), w_.snapshot);
    }
  }
}

void Builder::Codes() {
  Rng rng = root_.Fork(9);
  // Horse ids: year of birth and a serial drawn per year.
  std::map<int, std::vector<int>> byYear;
  for (std::size_t i = 0; i < w_.foals.size(); ++i) {
    byYear[w_.foals[i].birth.year].push_back(static_cast<int>(i));
  }
  for (const auto& [year, list] : byYear) {
    const std::vector<int> serial =
        DistinctNumbers(rng, 100000, 999999, static_cast<int>(list.size()));
    for (std::size_t k = 0; k < list.size(); ++k) {
      w_.foals[static_cast<std::size_t>(list[k])].horseId = Digits(year, 4) + Digits(serial[k], 6);
    }
  }
  const std::vector<int> numbers =
      DistinctNumbers(rng, 0, 899999999, static_cast<int>(w_.breeding.size()));
  for (std::size_t i = 0; i < w_.breeding.size(); ++i) {
    BreedingHorse& b = w_.breeding[i];
    b.number = Digits(1000000000LL + numbers[i], 10);
    if (b.foal >= 0) {
      b.horseId = w_.foals[static_cast<std::size_t>(b.foal)].horseId;
    } else {
      // Founders have an id of their year of import.
      b.horseId = Digits(b.birthYear, 4) + Digits(900000 + static_cast<int>(i), 6);
    }
  }
  const std::vector<int> trainerCodes =
      DistinctNumbers(rng, 100, 9999, static_cast<int>(w_.trainers.size()));
  for (std::size_t i = 0; i < w_.trainers.size(); ++i)
    w_.trainers[i].code = Digits(trainerCodes[i], 5);
  const std::vector<int> jockeyCodes =
      DistinctNumbers(rng, 100, 9999, static_cast<int>(w_.jockeys.size()));
  for (std::size_t i = 0; i < w_.jockeys.size(); ++i)
    w_.jockeys[i].code = Digits(jockeyCodes[i], 5);
  const std::vector<int> ownerCodes =
      DistinctNumbers(rng, 1, 999999, static_cast<int>(w_.owners.size()));
  for (std::size_t i = 0; i < w_.owners.size(); ++i) w_.owners[i].code = Digits(ownerCodes[i], 6);
  const std::vector<int> breederCodes =
      DistinctNumbers(rng, 1, 999999, static_cast<int>(w_.breeders.size()));
  for (std::size_t i = 0; i < w_.breeders.size(); ++i) {
    w_.breeders[i].code = Digits(breederCodes[i], 6) + "00";
  }
  if (hz_.breederPrefix) {
    // Pairs of breeders with foals whose codes differ only in the last two characters.
    std::vector<int> count(w_.breeders.size(), 0);
    for (const Foal& f : w_.foals) ++count[static_cast<std::size_t>(f.breeder)];
    std::vector<int> busy;
    for (std::size_t i = 0; i < count.size(); ++i) {
      if (count[i] > 0) busy.push_back(static_cast<int>(i));
    }
    for (int k = 0; k + 1 < static_cast<int>(busy.size()) && k < 2 * p_.hazardCount; k += 2) {
      Breeder& a = w_.breeders[static_cast<std::size_t>(busy[static_cast<std::size_t>(k)])];
      Breeder& b = w_.breeders[static_cast<std::size_t>(busy[static_cast<std::size_t>(k + 1)])];
      b.code = a.code.substr(0, 6) + "01";
      w_.prefixBreeders.push_back(busy[static_cast<std::size_t>(k)]);
      w_.prefixBreeders.push_back(busy[static_cast<std::size_t>(k + 1)]);
    }
  }
}

}  // namespace build

RunFacts FactsOf(const World& world, const Runner& r) {
  const Race& race = world.races[static_cast<std::size_t>(r.race)];
  RunFacts f;
  f.year = race.date.year;
  f.surface = SurfaceOfTrack(race.track);
  f.trackRow = build::TrackRow(race.track);
  const char going = f.surface == kDirt ? race.dirtGoing : race.turfGoing;
  f.goingRow = (f.surface == kTurf ? 0 : f.surface == kDirt ? 4 : 8) + (going - '1');
  f.distanceRow = build::DistanceRow(f.surface, race.distance);
  f.jra = race.category == '7';
  const int course = f.jra ? std::stoi(race.course) : 0;
  f.courseRow = f.jra && f.surface != kJump ? (course - 1) * 2 + (f.surface == kDirt ? 1 : 0) : -1;
  f.counted = r.abnormality != '1';
  f.bucket = r.arrival >= 1 && r.arrival <= 5 ? r.arrival - 1 : 5;
  f.style = r.style >= '1' && r.style <= '4' ? r.style - '1' : -1;
  f.prize = r.prize;
  f.added = r.added;
  return f;
}

World BuildWorld(Size size, std::uint64_t seed, const Hazards& hazards) {
  return build::Builder(size, seed, hazards).Build();
}

}  // namespace meridax::sample
