#include <algorithm>
#include <numeric>

#include "tools/sample/builder.h"
#include "tools/sample/emit.h"

namespace meridax::sample::build {

std::vector<int> Builder::PickHorses(Rng& rng, const Race& race, const Program& pr, int want,
                                     Pool pool) {
  std::vector<int> chosen;
  const int year = race.date.year;
  auto& pools = pool == Pool::kOlder ? olderPools_ : pools_;
  Weighted years;
  if (pool == Pool::kOld) {
    years.Add(-1, 1);
  } else {
    for (const auto& [birth, horses] : pools) {
      const int age = year - birth;
      if (age >= pr.minAge && age <= pr.maxAge && !horses.empty()) {
        years.Add(birth, static_cast<double>(horses.size()));
      }
    }
  }
  if (years.empty()) return chosen;
  const Surface surface = pr.jump ? kJump : pr.turf ? kTurf : kDirt;
  for (int tries = 0; tries < want * 80 && static_cast<int>(chosen.size()) < want; ++tries) {
    const int birth = years.Pick(rng);
    const std::vector<int>& horses = birth < 0 ? oldPool_ : pools[birth];
    const int hi = horses[rng.Below(static_cast<std::uint32_t>(horses.size()))];
    Horse& h = w_.horses[static_cast<std::size_t>(hi)];
    if (race.date < h.nextFree || race.date < h.debut || h.retire < race.date) continue;
    const int age = year - w_.foals[static_cast<std::size_t>(h.foal)].birth.year;
    if (age < pr.minAge || age > pr.maxAge) continue;
    if (pr.jump != (h.aptitude == kJump && age >= 3)) {
      if (pr.jump || !rng.Chance(0.1)) continue;
    }
    if (!pr.jump && h.aptitude != surface && h.aptitude != kJump && !rng.Chance(0.15)) continue;
    chosen.push_back(hi);
    h.nextFree = race.date.Plus(rng.Range(14, 70));
  }
  return chosen;
}

bool Builder::FillRace(Rng& rng, Race& race, const Program& given, const std::vector<int>& jockeys,
                       Pool pool) {
  Program pr = given;
  const bool oldDay = pool == Pool::kOld;
  const int want = oldDay                 ? rng.Range(5, 7)
                   : race.category == 'B' ? rng.Range(2, 4)
                   : race.category == 'A' ? rng.Range(8, 12)
                                          : rng.Range(p_.fieldMin, p_.fieldMax);
  std::vector<int> horses = PickHorses(rng, race, pr, want, pool);
  if (static_cast<int>(horses.size()) < std::max(2, p_.fieldMin / 2) && !oldDay) {
    // Too few for the program: make it an open race for three-year-olds and up.
    Program wider = pr;
    wider.jump = false;
    wider.minAge = 3;
    wider.maxAge = 99;
    if (wider.cls == kNewcomer || wider.cls == kMaiden) wider.cls = kWin1;
    std::vector<int> more =
        PickHorses(rng, race, wider, want - static_cast<int>(horses.size()), pool);
    if (horses.empty() || pr.jump) {
      for (int h : horses) w_.horses[static_cast<std::size_t>(h)].nextFree = race.date;
      horses = std::move(more);
      pr = wider;
    } else {
      horses.insert(horses.end(), more.begin(), more.end());
      pr = wider;
    }
  }
  if (horses.size() < 2) {
    for (int h : horses) w_.horses[static_cast<std::size_t>(h)].nextFree = race.date;
    return false;
  }
  RunRace(rng, race, pr, std::move(horses), jockeys);
  return true;
}

void Builder::RunRace(Rng& rng, Race& race, const Program& pr, std::vector<int> horses,
                      const std::vector<int>& jockeys) {
  RaceRun run{race, pr};
  Course(rng, run);
  Conditions(rng, run);
  RacePrizes(run);
  Going(run);
  Laps(rng, run);
  Field(rng, run, std::move(horses), jockeys);
  Order(rng, run);
  Corners(rng, run);
  Odds(run);
  Payouts(rng, run);
  for (Runner& r : run.field) w_.runners.push_back(r);
  w_.races.push_back(std::move(race));
}

void Builder::Course(Rng& rng, RaceRun& run) {
  Race& race = run.race;
  const Program& pr = run.pr;
  const bool jra = race.category == '7';
  const int courseNo = jra ? std::stoi(race.course) : 0;
  static const int kTurfDistances[] = {1200, 1400, 1600, 1800, 2000, 2000, 2200, 2400, 2500, 3000};
  static const int kDirtDistances[] = {1000, 1150, 1200, 1400, 1600, 1700, 1800, 1900, 2100, 2400};
  static const int kJumpDistances[] = {2750, 2860, 2880, 3000, 3110, 3140, 3170, 3200,
                                       3300, 3350, 3390, 3570, 3900, 4100, 4250};
  const Surface surface = pr.jump ? kJump : pr.turf ? kTurf : kDirt;
  run.surface = surface;
  const bool left = jra ? LeftHanded(courseNo) : rng.Chance(0.5);
  if (surface == kJump) {
    race.distance = kJumpDistances[rng.Below(15)];
    race.track = rng.Range(51, 59);
  } else if (surface == kTurf) {
    race.distance = pr.distance > 0 ? pr.distance : kTurfDistances[rng.Below(10)];
    if (courseNo == 4 && pr.distance == 0 && rng.Chance(0.1)) {
      race.distance = 1000;
      race.track = 10;
    } else {
      race.track = left ? (rng.Chance(0.6) ? 11 : rng.Range(12, 16))
                        : (rng.Chance(0.6) ? 17 : rng.Range(18, 22));
    }
  } else {
    race.distance = pr.distance > 0 ? pr.distance : kDirtDistances[rng.Below(10)];
    if (courseNo == 4 && race.distance == 1000 && rng.Chance(0.5)) {
      race.track = 29;
    } else {
      race.track = left ? (rng.Chance(0.8)   ? 23
                           : rng.Chance(0.5) ? 25
                                             : 27)
                        : (rng.Chance(0.8)   ? 24
                           : rng.Chance(0.5) ? 26
                                             : 28);
    }
  }
  if (race.category == 'A') {
    race.distance = 1400 + 100 * static_cast<int>(rng.Below(8));
    race.track = left ? 23 : 24;
  }
}

void Builder::Conditions(Rng& rng, RaceRun& run) {
  Race& race = run.race;
  const Program& pr = run.pr;
  const bool jra = race.category == '7';
  const bool onlyTwo = pr.minAge == 2 && pr.maxAge == 2;
  const bool onlyThree = pr.minAge == 3 && pr.maxAge == 3;
  if (pr.jump) {
    race.conditionKind = pr.minAge >= 4 ? "19" : "18";
  } else {
    race.conditionKind = onlyTwo ? "11" : onlyThree ? "12" : pr.minAge >= 4 ? "14" : "13";
  }
  const char* cls = ClassCode(pr.cls);
  for (int a = 0; a < 4; ++a) {
    const int age = 2 + a;
    const bool eligible = age >= pr.minAge && (a == 3 ? pr.maxAge >= 5 : age <= pr.maxAge);
    race.ageConditions[static_cast<std::size_t>(a)] = eligible ? cls : "000";
  }
  race.ageConditions[4] = cls;
  static const char* const kAgeText[] = {"２歳", "３歳", "３歳以上", "４歳以上"};
  static const char* const kClassText[] = {"新馬",       "未勝利",   "１勝クラス", "２勝クラス",
                                           "３勝クラス", "オープン", "オープン",   "オープン",
                                           "オープン",   "オープン"};
  const int ageText = onlyTwo ? 0 : onlyThree ? 1 : pr.minAge >= 4 ? 3 : 2;
  race.conditionName =
      (pr.jump ? Cp("障害") : std::string()) + Cp(kAgeText[ageText]) + Cp(kClassText[pr.cls]);
  static const char* const kSymbols[] = {"000", "000", "001", "020", "A00", "A01",
                                         "A21", "B00", "N20", "N21", "N00", "N44"};
  race.conditionSymbol = kSymbols[rng.Below(12)];
  if (onlyTwo || onlyThree) {
    race.weightKind = '3';
  } else if (pr.cls >= kWin2 && rng.Chance(0.3)) {
    race.weightKind = '1';
  } else {
    race.weightKind = pr.cls >= kListed ? '4' : '2';
  }
  const bool named =
      pr.cls >= kOpen || ((race.raceNumber == 9 || race.raceNumber == 10) && rng.Chance(0.5));
  if (pr.jump) {
    race.grade = pr.cls == kG1 ? 'F' : pr.cls == kG2 ? 'G' : pr.cls == kG3 ? 'H' : ' ';
  } else {
    race.grade = pr.cls == kG1       ? 'A'
                 : pr.cls == kG2     ? 'B'
                 : pr.cls == kG3     ? 'C'
                 : pr.cls == kListed ? 'L'
                 : named             ? 'E'
                                     : ' ';
  }
  if (named || race.grade != ' ' || !jra) {
    race.name = names_.Race(rng, pr.jump);
    race.specialNumber = ++specialNumber_;
    if (race.grade != ' ' && race.grade != 'E') race.edition = rng.Range(1, 70);
  }
  static const char* const kDivisions[] = {"A ", "B ", "C ", "D "};
  race.courseDivision = run.surface == kTurf && jra ? kDivisions[rng.Below(4)] : "  ";
  const int minutes = (race.category == 'B' ? 23 * 60 : 9 * 60 + 50) + (race.raceNumber - 1) * 30;
  race.postTime = (minutes / 60 % 24) * 100 + minutes % 60;
  race.weekday = race.date.Weekday() == 6 ? '1' : race.date.Weekday() == 0 ? '2' : '3';
}

void Builder::Going(RaceRun& run) const {
  Race& race = run.race;
  // Weather and going belong to the course and day.
  Rng day = root_.Fork(static_cast<std::uint64_t>(race.date.Serial()) * 131 +
                       static_cast<std::uint64_t>(race.course[0]) * 7 + race.course[1]);
  const double wx = day.Unit();
  race.weather = wx < 0.55   ? '1'
                 : wx < 0.85 ? '2'
                 : wx < 0.93 ? '3'
                 : wx < 0.98 ? '4'
                 : wx < 0.99 ? '5'
                             : '6';
  const int wet = race.weather == '3' ? 2 : race.weather == '4' ? 1 : 0;
  const double tg = day.Unit(), dg = day.Unit();
  race.turfGoing = static_cast<char>('1' + std::min(3, wet + (tg < 0.75 ? 0 : tg < 0.9 ? 1 : 2)));
  race.dirtGoing = static_cast<char>('1' + std::min(3, wet + (dg < 0.65 ? 0 : dg < 0.85 ? 1 : 2)));
}

void Builder::Laps(Rng& rng, RaceRun& run) {
  Race& race = run.race;
  const Program& pr = run.pr;
  const Surface surface = run.surface;
  const int going = (surface == kDirt ? race.dirtGoing : race.turfGoing) - '1';
  const bool onlyTwo = pr.minAge == 2 && pr.maxAge == 2;
  // The winner's time and the leader's furlongs.
  double speed = surface == kTurf   ? 17.2 - 0.00035 * (race.distance - 1200)
                 : surface == kDirt ? 16.5 - 0.0004 * (race.distance - 1200)
                                    : 14.2 - 0.0002 * (race.distance - 3000);
  static const double kTurfGoing[] = {1.0, 0.99, 0.975, 0.96};
  static const double kDirtGoing[] = {1.0, 1.005, 1.01, 1.012};
  speed *= surface == kDirt ? kDirtGoing[going] : kTurfGoing[going];
  speed *= 1 + 0.002 * (static_cast<int>(pr.cls) - 3) + 0.006 * (rng.Unit() - 0.5);
  if (onlyTwo) speed *= 0.985;
  race.winnerTime = static_cast<int>(race.distance * 10 / speed + 0.5);
  const int laps = (race.distance + 199) / 200;
  run.laps = laps;
  const int firstPart = race.distance - 200 * (laps - 1);
  const double lap = race.winnerTime * 200.0 / race.distance;
  const double finish = rng.Chance(0.5) ? 0.97 : 1.03;  // slow or fast early pace
  std::vector<double> raw(static_cast<std::size_t>(laps));
  for (int k = 0; k < laps; ++k) {
    double f = 1 + 0.02 * (rng.Unit() - 0.5);
    if (k == 0) f *= 1.06 * firstPart / 200.0;
    if (k == 1) f *= 0.93;
    if (k >= laps - 3 && laps > 4) f *= finish;
    raw[static_cast<std::size_t>(k)] = lap * f;
  }
  const double total = std::accumulate(raw.begin(), raw.end(), 0.0);
  int sum = 0;
  race.laps.assign(static_cast<std::size_t>(laps), 0);
  for (int k = 0; k < laps; ++k) {
    race.laps[static_cast<std::size_t>(k)] =
        static_cast<int>(raw[static_cast<std::size_t>(k)] * race.winnerTime / total + 0.5);
    sum += race.laps[static_cast<std::size_t>(k)];
  }
  race.laps[static_cast<std::size_t>(laps / 2)] += race.winnerTime - sum;
}

void Builder::Field(Rng& rng, RaceRun& run, std::vector<int> horses,
                    const std::vector<int>& jockeys) {
  Race& race = run.race;
  const Program& pr = run.pr;
  // Numbers by draw, frames as the numbers spread over eight frames.
  rng.Shuffle(horses);
  const int n = static_cast<int>(horses.size());
  run.n = n;
  std::vector<int> frames(static_cast<std::size_t>(n));
  {
    const int base = n / 8, extra = n % 8;
    int number = 0;
    for (int fr = 1; fr <= std::min(8, n); ++fr) {
      const int size = n <= 8 ? 1 : base + (fr > 8 - extra ? 1 : 0);
      for (int k = 0; k < size && number < n; ++k) frames[static_cast<std::size_t>(number++)] = fr;
    }
  }
  // Riders: distinct, by their share of rides, qualified for the kind of race.
  std::vector<int> riders(static_cast<std::size_t>(n), -1);
  {
    Weighted pick;
    for (int j : jockeys) {
      const Jockey& jk = w_.jockeys[static_cast<std::size_t>(j)];
      const bool ok = pr.jump ? jk.qualification != '2' : jk.qualification != '3';
      if (ok) pick.Add(j, jk.weight);
    }
    std::unordered_set<int> used;
    for (int k = 0; k < n; ++k) {
      int j = -1;
      for (int tries = 0; tries < 40 && !pick.empty(); ++tries) {
        const int c = pick.Pick(rng);
        if (!used.count(c)) {
          j = c;
          break;
        }
      }
      for (std::size_t t = 0; j < 0 && t < jockeys.size(); ++t) {
        if (!used.count(jockeys[t])) j = jockeys[t];
      }
      for (int t = 0; j < 0 && t < static_cast<int>(w_.jockeys.size()); ++t) {
        if (!used.count(t) && w_.jockeys[static_cast<std::size_t>(t)].kind == JockeyKind::kActive)
          j = t;
      }
      used.insert(j);
      riders[static_cast<std::size_t>(k)] = j;
    }
  }

  race.firstRunner = static_cast<int>(w_.runners.size());
  race.runnerCount = n;
  const int raceIndex = static_cast<int>(w_.races.size());
  std::vector<Runner>& field = run.field;
  field.assign(static_cast<std::size_t>(n), Runner{});
  run.strength.assign(static_cast<std::size_t>(n), 0);
  run.perf.assign(static_cast<std::size_t>(n), 0);
  for (int k = 0; k < n; ++k) {
    Runner& r = field[static_cast<std::size_t>(k)];
    Horse& h = w_.horses[static_cast<std::size_t>(horses[static_cast<std::size_t>(k)])];
    const Jockey& jk = w_.jockeys[static_cast<std::size_t>(riders[static_cast<std::size_t>(k)])];
    r.race = raceIndex;
    r.horse = horses[static_cast<std::size_t>(k)];
    r.jockey = riders[static_cast<std::size_t>(k)];
    r.number = k + 1;
    r.frame = frames[static_cast<std::size_t>(k)];
    r.age = race.date.year - w_.foals[static_cast<std::size_t>(h.foal)].birth.year;
    const bool match = h.aptitude == run.surface;
    run.strength[static_cast<std::size_t>(k)] = h.ability + jk.skill + (match ? 0.3 : 0);
    run.perf[static_cast<std::size_t>(k)] =
        run.strength[static_cast<std::size_t>(k)] + rng.Bell() * (pr.jump ? 1.2 : 0.9);
    if (rng.Chance(0.004)) {
      r.abnormality = '1';
    } else if (rng.Chance(pr.jump ? 0.05 : 0.003)) {
      r.abnormality = '4';
    }
    // Weights.
    int carried = r.age == 2 ? 550 : r.age == 3 ? 560 : 570;
    if (pr.jump) carried = 600;
    if (race.weightKind == '1')
      carried = std::clamp(540 + static_cast<int>(h.ability * 20) + rng.Range(-20, 20), 480, 590);
    if (h.sex == '2') carried -= 20;
    if (!pr.jump && race.grade == ' ' && jk.apprentice != '0')
      carried -= 10 * ('4' - jk.apprentice);
    r.weightCarried = carried;
    r.blinker = rng.Chance(0.12) ? '1' : '0';
    if (r.abnormality != '1') {
      const int previous = h.lastBodyWeight;
      const int base = previous > 0 ? previous : h.bodyWeight;
      r.bodyWeight = std::clamp(base + static_cast<int>(rng.Bell() * 5), 360, 600);
      if (previous > 0) {
        const int change = r.bodyWeight - previous;
        r.bodySign = change > 0 ? '+' : change < 0 ? '-' : ' ';
        r.bodyChange = change < 0 ? -change : change;
      }
      h.lastBodyWeight = r.bodyWeight;
    }
  }
}

}  // namespace meridax::sample::build
