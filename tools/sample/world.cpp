#include "tools/sample/world.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>
#include <tuple>
#include <unordered_set>

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

namespace {

constexpr const char* kLocalCourses[] = {"30", "35", "42", "43", "44", "45", "46", "47", "48"};
constexpr const char* kAbroadCourses[] = {"A4", "A6", "B8", "C0", "F0"};
constexpr const char* kCoats[] = {"01", "02", "03", "03", "03", "04", "04", "05", "06", "07"};

bool LeftHanded(int course) {
  return course == 4 || course == 5 || course == 7;
}

int TrackRow(int track) {
  if (track == 10) return 0;
  if (track <= 16) return 2;
  if (track <= 22) return 1;
  if (track == 29) return 3;
  if (track <= 28) return track % 2 == 0 ? 4 : 5;
  return 6;
}

int DistanceRow(Surface s, int distance) {
  if (s == kJump) return -1;
  const int band = distance <= 1600 ? 0 : distance <= 2200 ? 1 : 2;
  return (s == kDirt ? 3 : 0) + band;
}

// Heavy-tailed positive weight from plain arithmetic.
double Tail(Rng& rng) {
  const double u = rng.Unit();
  return 1.0 / (0.02 + u * u * u);
}

// Choice by weight, by binary search on running sums.
class Weighted {
 public:
  void Add(int item, double weight) {
    total_ += weight;
    sums_.push_back(total_);
    items_.push_back(item);
  }
  bool empty() const { return items_.empty(); }
  int Pick(Rng& rng) const {
    const double x = rng.Unit() * total_;
    const auto it = std::upper_bound(sums_.begin(), sums_.end(), x);
    const std::size_t i = std::min<std::size_t>(it - sums_.begin(), items_.size() - 1);
    return items_[i];
  }

 private:
  std::vector<double> sums_;
  std::vector<int> items_;
  double total_ = 0;
};

// Distinct whole numbers from [lo, hi] in random order.
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

Date RandomDay(Rng& rng, int year, int fromMonth = 1, int toMonth = 12) {
  return {year, rng.Range(fromMonth, toMonth), rng.Range(1, 28)};
}

Date Min(Date a, Date b) {
  return a < b ? a : b;
}
Date Max(Date a, Date b) {
  return a < b ? b : a;
}

// Class of a race, lowest first.
enum Class : std::uint8_t {
  kNewcomer,
  kMaiden,
  kWin1,
  kWin2,
  kWin3,
  kOpen,
  kListed,
  kG3,
  kG2,
  kG1
};

std::int64_t FirstPrize(Class c, bool jump) {
  static const std::int64_t flat[] = {70000,  55000,  77000,  110000, 150000,
                                      200000, 240000, 400000, 600000, 1500000};
  static const std::int64_t hurdle[] = {75000,  75000,  100000, 130000, 150000,
                                        170000, 200000, 350000, 450000, 660000};
  return (jump ? hurdle : flat)[c];
}

const char* ClassCode(Class c) {
  switch (c) {
    case kNewcomer:
      return "701";
    case kMaiden:
      return "703";
    case kWin1:
      return "005";
    case kWin2:
      return "010";
    case kWin3:
      return "016";
    default:
      return "999";
  }
}

struct Program {
  Class cls = kWin1;
  int minAge = 3, maxAge = 99;
  bool jump = false;
  bool turf = true;
};

class Builder {
 public:
  Builder(Size size, std::uint64_t seed, const Hazards& hazards)
      : p_(ParamsOf(size)), hz_(hazards), root_(seed), names_(NameMaker::Get()) {
    w_.size = size;
    w_.hazards = hazards;
    w_.firstYear = p_.firstYear;
    w_.lastYear = p_.lastYear;
  }

  World Build() {
    Calendar();
    People();
    Breeding();
    OldHorses();
    Races();
    TwoCourseRider();
    Aggregate();
    Settle();
    Sales();
    Codes();
    return std::move(w_);
  }

 private:
  // Race days in date order, with their courses.
  struct Day {
    Date date;
    std::vector<int> courses;  // JRA course numbers
    bool local = false, abroad = false, old = false;
  };

  void Calendar();
  void People();
  void Breeding();
  void NewFoal(Rng& rng, int year, int dam, int sire, bool filly, bool toStud, bool racehorse);
  void PlanHorse(Rng& rng, int horse, bool unraced);
  int ChooseTrainer(Rng& rng, Date from, Date to, bool active);
  void History(Rng& rng, int horse);
  RunFacts SyntheticRun(Rng& rng, Surface s, int distanceRow, double ability, int wins, int style,
                        bool jra, int year) const;
  void OldHorses();
  void Races();
  void JraDay(Rng& rng, const Day& day, std::map<std::pair<int, int>, int>& meeting,
              std::map<int, int>& lastBlock, int block);
  Program ProgramOf(Rng& rng, int raceNumber, int month, bool jumpToday) const;
  bool FillRace(Rng& rng, Race& race, const Program& pr, const std::vector<int>& jockeys,
                bool oldDay);
  std::vector<int> PickHorses(Rng& rng, const Race& race, const Program& pr, int want, bool oldDay);
  void RunRace(Rng& rng, Race& race, const Program& pr, std::vector<int> horses,
               const std::vector<int>& jockeys);
  void TwoCourseRider();
  void Aggregate();
  void Settle();
  void Sales();
  void Codes();

  WorldParams p_;
  Hazards hz_;
  Rng root_;
  const NameMaker& names_;
  World w_;
  std::vector<Day> days_;
  Date worldStart_, worldEnd_;
  Weighted breederPick_, ownerPick_;
  std::map<int, std::vector<int>> pools_;  // birth year -> horses running in the world
  std::vector<int> oldPool_;               // horses of the old race days
  std::map<std::tuple<int, int, int>, int> meetingDays_;
  int unracedLeft_ = 0;
  int specialNumber_ = 0;
};

void Builder::Calendar() {
  Rng rng = root_.Fork(1);
  if (p_.fullCalendar) {
    for (int y = p_.firstYear; y <= p_.lastYear; ++y) {
      const Date holidays[] = {NthWeekday(y, 1, 1, 2), NthWeekday(y, 7, 1, 3),
                               NthWeekday(y, 9, 1, 3), NthWeekday(y, 10, 1, 2)};
      for (Date d = NthWeekday(y, 1, 6, 1); d.year == y; d = d.Plus(1)) {
        const int wd = d.Weekday();
        const bool holiday =
            std::find(std::begin(holidays), std::end(holidays), d) != std::end(holidays);
        if (wd == 6 || wd == 0 || holiday) days_.push_back({d, {}});
      }
      // Exchange races at local courses on Wednesdays, races abroad on Sundays.
      for (int k = 0; k < p_.localDaysPerYear; ++k) {
        Day day{NthWeekday(y, 1 + k * 12 / p_.localDaysPerYear, 3, 1 + k % 4), {}};
        day.local = true;
        days_.push_back(day);
      }
      for (int k = 0; k < p_.abroadRacesPerYear; ++k) {
        Day day{NthWeekday(y, 1 + k * 12 / p_.abroadRacesPerYear, 0, 1 + k % 4), {}};
        day.abroad = true;
        days_.push_back(day);
      }
    }
  } else {
    for (const Date& d : p_.sampleDays) days_.push_back({d, {}});
    for (const Date& d : p_.localDays) days_.push_back({d, {}, true, false});
    for (const Date& d : p_.abroadDays) days_.push_back({d, {}, false, true});
  }
  if (hz_.bornBefore2010) {
    days_.push_back({NthWeekday(1999, 11, 6, 4), {5}, false, false, true});
    days_.push_back({NthWeekday(2004, 10, 0, 1), {8}, false, false, true});
  }
  std::stable_sort(days_.begin(), days_.end(),
                   [](const Day& a, const Day& b) { return a.date < b.date; });
  // Courses of the JRA days: blocks of four weekends share three courses.
  static const int kEast[] = {5, 6}, kWest[] = {8, 9}, kOther[] = {1, 2, 3, 4, 7, 10};
  int block = -1, lastWeek = -100;
  std::vector<int> blockCourses;
  for (Day& day : days_) {
    if (day.local || day.abroad || day.old) continue;
    const int week = day.date.Serial() / 7;
    if (week - lastWeek >= 4 || blockCourses.empty() || !p_.fullCalendar) {
      ++block;
      lastWeek = week;
      blockCourses = {kEast[block % 2], kWest[(block / 2) % 2], kOther[block % 6]};
    }
    day.courses = blockCourses;
    if (!rng.Chance(p_.threeCourseShare)) day.courses.pop_back();
  }
  for (const Day& day : days_) {
    if (day.old) continue;
    if (worldStart_.year == 0 || day.date < worldStart_) worldStart_ = day.date;
    if (day.date > worldEnd_) worldEnd_ = day.date;
  }
  w_.snapshot = worldEnd_.Plus(3);
}

void Builder::People() {
  Rng rng = root_.Fork(2);
  const int year = p_.lastYear;
  w_.trainers.resize(static_cast<std::size_t>(p_.trainersTotal));
  for (int i = 0; i < p_.trainersTotal; ++i) {
    Trainer& t = w_.trainers[static_cast<std::size_t>(i)];
    t.name = names_.Person(rng);
    t.sex = rng.Chance(0.03) ? '2' : '1';
    t.affiliation = rng.Chance(0.5) ? '1' : '2';
    if (i < p_.trainersActive) {
      t.license = RandomDay(rng, rng.Range(1988, year - 1));
      t.created = w_.snapshot;
    } else {
      t.license = RandomDay(rng, rng.Range(1965, 2008));
      t.revoked = RandomDay(rng, rng.Range(std::max(t.license.year + 6, 1996), p_.firstYear - 1));
      t.created = t.revoked.Plus(7);
    }
    t.birth = RandomDay(rng, t.license.year - rng.Range(30, 45));
    t.category = t.license.year >= year ? '1' : '2';
  }
  w_.jockeys.resize(static_cast<std::size_t>(p_.jockeysTotal));
  for (int i = 0; i < p_.jockeysTotal; ++i) {
    Jockey& j = w_.jockeys[static_cast<std::size_t>(i)];
    if (i < p_.jockeysActive) {
      j.kind = JockeyKind::kActive;
    } else if (i < p_.jockeysActive + p_.jockeysLocal) {
      j.kind = JockeyKind::kLocal;
    } else if (i < p_.jockeysActive + p_.jockeysLocal + p_.jockeysAbroad) {
      j.kind = JockeyKind::kAbroad;
    } else {
      j.kind = JockeyKind::kRetired;
    }
    j.weight = Tail(rng);
    j.skill = rng.Bell() * 0.3 + (j.weight > 8 ? 0.25 : 0);
    j.sex = rng.Chance(0.06) ? '2' : '1';
    j.created = w_.snapshot;
    switch (j.kind) {
      case JockeyKind::kActive:
        // One in ten licensed during the world, so their first rides are in it.
        j.license = rng.Chance(0.1) ? Date{p_.firstYear, 3, 1}
                                    : Date{rng.Range(1986, p_.firstYear - 1), 3, 1};
        j.affiliation = rng.Chance(0.5) ? '1' : '2';
        if (j.license.year >= year - 2) j.apprentice = static_cast<char>('1' + rng.Below(3));
        j.name = names_.Person(rng);
        break;
      case JockeyKind::kLocal:
        j.license = {rng.Range(1990, p_.firstYear - 1), 4, 1};
        j.affiliation = '3';
        j.name = names_.Person(rng);
        break;
      case JockeyKind::kAbroad:
        j.license = {rng.Range(1995, p_.firstYear - 1), 1, 1};
        j.affiliation = '4';
        j.invitation = names_.Country(rng);
        // Every other rider from abroad has a name that fills its field.
        j.name = names_.Foreign(rng, 17, i % 2 == 0);
        break;
      case JockeyKind::kRetired:
        j.license = {rng.Range(1965, 2008), 3, 1};
        j.revoked = RandomDay(rng, rng.Range(std::max(j.license.year + 3, 1990), p_.firstYear - 1));
        j.affiliation = rng.Chance(0.5) ? '1' : '2';
        j.name = names_.Person(rng);
        j.created = j.revoked.Plus(7);
        break;
    }
    const double q = rng.Unit();
    j.qualification = q < 0.08 ? '3' : q < 0.2 ? '2' : '1';
    j.birth = RandomDay(rng, j.license.year - rng.Range(16, 20));
    if (j.kind == JockeyKind::kActive && rng.Chance(0.6)) {
      for (int tries = 0; tries < 20 && j.trainer < 0; ++tries) {
        const int t = static_cast<int>(rng.Below(static_cast<std::uint32_t>(p_.trainersActive)));
        if (w_.trainers[static_cast<std::size_t>(t)].affiliation == j.affiliation) j.trainer = t;
      }
    }
    j.category = j.license.year >= year ? '1' : '2';
  }
  w_.breeders.resize(static_cast<std::size_t>(p_.breeders));
  for (Breeder& b : w_.breeders) {
    const PersonName person = names_.Person(rng);
    if (rng.Chance(0.25)) {
      b.name = person.full;
      b.corporate = person.full.text;
    } else {
      b.name = names_.Farm(rng, person, rng.Chance(0.5), &b.corporate);
    }
    b.address = names_.Address(rng);
    b.created = w_.snapshot;
    breederPick_.Add(static_cast<int>(&b - w_.breeders.data()), Tail(rng));
  }
  w_.owners.resize(static_cast<std::size_t>(p_.owners));
  for (Owner& o : w_.owners) {
    if (rng.Chance(0.6)) {
      o.name = names_.Person(rng).full;
      o.corporate = o.name.text;
    } else {
      o.name = names_.Company(rng, &o.corporate);
    }
    o.silks = names_.Silks(rng);
    o.created = w_.snapshot;
    ownerPick_.Add(static_cast<int>(&o - w_.owners.data()), Tail(rng));
  }
}

void Builder::Breeding() {
  Rng rng = root_.Fork(3);
  // Founders of the population: bred abroad, no parents on record.
  for (int i = 0; i < p_.founderSires + p_.founderMares; ++i) {
    BreedingHorse b;
    b.sex = i < p_.founderSires ? '1' : '2';
    b.birthYear = rng.Range(p_.founderFrom, p_.founderTo);
    b.name = names_.Horse(rng, 9);
    b.coat = kCoats[rng.Below(10)];
    b.importCode = '1';
    b.importYear = b.birthYear + rng.Range(2, 5);
    b.birthplace = names_.Birthplace(rng, true);
    b.quality = b.sex == '1' ? Tail(rng) : 1 + rng.Unit();
    b.lastFoalYear = b.birthYear + (b.sex == '1' ? 3 : 2);
    b.created = {b.importYear, 6, 1};
    w_.breeding.push_back(std::move(b));
  }
  // Shares that go to stud, chosen so the population reaches its target.
  const int firstFoalYear = p_.founderTo + 3;
  const double studFillyNew = 0.3, studColtNew = 0.01;
  const int newStudYears =
      std::max(0, std::min(p_.racehorseTo, p_.lastFoalYear - 4) - p_.racehorseFrom + 1);
  const double expectedNew =
      newStudYears * p_.racehorseFoalsPerYear * 0.5 * (studFillyNew + studColtNew);
  const double oldFoals =
      static_cast<double>(p_.racehorseFrom - firstFoalYear) * p_.oldFoalsPerYear;
  const double need = p_.breedingTarget - p_.founderSires - p_.founderMares - expectedNew;
  const double share = std::clamp(need / std::max(1.0, oldFoals), 0.0, 1.0);
  const double studFillyOld = std::min(0.97, share * 1.6);
  const double studColtOld = std::clamp((share - 0.5 * studFillyOld) * 2, 0.01, 1.0);

  unracedLeft_ = hz_.deregisteredUnraced ? p_.unracedDeregistered : 0;
  for (int y = firstFoalYear; y <= p_.lastFoalYear; ++y) {
    const bool racehorses = y >= p_.racehorseFrom && y <= p_.racehorseTo;
    const bool late = y > p_.racehorseTo;
    int n = (racehorses || late) ? p_.racehorseFoalsPerYear : p_.oldFoalsPerYear;
    std::vector<int> mares;
    Weighted sires;
    for (int b = 0; b < static_cast<int>(w_.breeding.size()); ++b) {
      const BreedingHorse& h = w_.breeding[static_cast<std::size_t>(b)];
      if (h.sex == '2') {
        if (h.lastFoalYear < y && y <= h.birthYear + p_.damAgeMax) mares.push_back(b);
      } else if (h.lastFoalYear < y && y <= h.birthYear + 24) {
        sires.Add(b, h.quality);
      }
    }
    if (mares.empty() || sires.empty()) continue;
    rng.Shuffle(mares);
    n = std::min<int>(n, static_cast<int>(mares.size()));
    const bool stud = y <= p_.lastFoalYear - 4;
    for (int k = 0; k < n; ++k) {
      const int dam = mares[static_cast<std::size_t>(k)];
      const int sire = sires.Pick(rng);
      const bool filly = rng.Chance(0.5);
      const double pStud =
          racehorses ? (filly ? studFillyNew : studColtNew) : (filly ? studFillyOld : studColtOld);
      const bool toStud = stud && rng.Chance(pStud);
      const bool racehorse = racehorses && rng.Chance(p_.registeredShare);
      NewFoal(rng, y, dam, sire, filly, toStud, racehorse);
      w_.breeding[static_cast<std::size_t>(dam)].lastFoalYear = y;
    }
  }
}

void Builder::NewFoal(Rng& rng, int year, int dam, int sire, bool filly, bool toStud,
                      bool racehorse) {
  const bool studFilly = toStud && filly, studColt = toStud && !filly;
  Foal f;
  f.birth = {year, rng.Range(2, 5), rng.Range(1, 28)};
  f.sex = filly ? '2' : '1';
  f.coat = kCoats[rng.Below(10)];
  f.dam = dam;
  f.sire = sire;
  f.breeder = breederPick_.Pick(rng);
  f.birthplace = names_.Birthplace(rng, false);
  f.created = Min({year, 12, 1}, w_.snapshot);
  const int foal = static_cast<int>(w_.foals.size());
  w_.foals.push_back(f);
  const double sireQuality = w_.breeding[static_cast<std::size_t>(sire)].quality;
  if (racehorse) {
    Horse h;
    h.foal = foal;
    const int index = static_cast<int>(w_.horses.size());
    // Now and then a name that fills its field to the last byte.
    h.name = index % 97 == 5 ? names_.HorseOfLength(rng, 18) : names_.Horse(rng, 9);
    h.ability = rng.Bell() * 0.8 + (sireQuality > 10 ? 0.5 : sireQuality > 4 ? 0.2 : 0);
    w_.horses.push_back(std::move(h));
    w_.foals[static_cast<std::size_t>(foal)].horse = index;
    const bool unraced = unracedLeft_ > 0 && year == p_.racehorseFrom + 1;
    if (unraced) {
      --unracedLeft_;
      w_.unracedDeregistered.push_back(index);
    }
    PlanHorse(rng, index, unraced);
  }
  if (studFilly || studColt) {
    BreedingHorse b;
    b.foal = foal;
    b.sex = studColt ? '1' : '2';
    b.birthYear = year;
    const int horse = w_.foals[static_cast<std::size_t>(foal)].horse;
    b.name = horse >= 0 ? w_.horses[static_cast<std::size_t>(horse)].name : names_.Horse(rng, 9);
    b.coat = f.coat;
    b.birthplace = f.birthplace;
    b.sire = sire;
    b.dam = dam;
    b.quality = studColt ? Tail(rng) * (sireQuality > 10 ? 2 : 1) : 1 + rng.Unit();
    int firstFoal = year + (studColt ? 4 : 3);
    if (horse >= 0) {
      const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
      if (h.retire.year > 0) firstFoal = std::max(firstFoal, h.retire.year + 1);
    }
    b.lastFoalYear = firstFoal - 1;
    b.created = Min({year + 4, 3, 1}, w_.snapshot);
    w_.foals[static_cast<std::size_t>(foal)].breeding = static_cast<int>(w_.breeding.size());
    w_.breeding.push_back(std::move(b));
  }
}

int Builder::ChooseTrainer(Rng& rng, Date from, Date to, bool active) {
  const int n = static_cast<int>(w_.trainers.size());
  for (int tries = 0; tries < 200; ++tries) {
    const int t =
        static_cast<int>(rng.Below(static_cast<std::uint32_t>(active ? p_.trainersActive : n)));
    const Trainer& tr = w_.trainers[static_cast<std::size_t>(t)];
    if (tr.license <= from && (tr.revoked.year == 0 || to < tr.revoked)) return t;
  }
  return static_cast<int>(rng.Below(static_cast<std::uint32_t>(p_.trainersActive)));
}

void Builder::PlanHorse(Rng& rng, int index, bool unraced) {
  Horse& h = w_.horses[static_cast<std::size_t>(index)];
  const Foal& f = w_.foals[static_cast<std::size_t>(h.foal)];
  const int y = f.birth.year;
  h.sex = f.sex == '1' && rng.Chance(0.08) ? '3' : f.sex;
  const double sym = rng.Unit();
  h.symbol = sym < 0.92 ? "00" : sym < 0.95 ? "01" : sym < 0.97 ? "03" : "26";
  const double apt = rng.Unit();
  h.aptitude = apt < 0.5 ? kTurf : apt < 0.92 ? kDirt : kJump;
  h.distancePreference = static_cast<int>(rng.Below(3));
  const double st = rng.Unit();
  h.style = st < 0.15 ? 0 : st < 0.5 ? 1 : st < 0.8 ? 2 : 3;
  h.bodyWeight = rng.Range(420, 520) - (h.sex == '2' ? 20 : 0);
  h.owner = ownerPick_.Pick(rng);
  h.registered = {y + 2, rng.Range(1, 6), rng.Range(1, 28)};
  const double d = rng.Unit();
  if (d < 0.48) {
    h.debut = {y + 2, rng.Range(6, 12), rng.Range(1, 28)};
  } else if (d < 0.9) {
    h.debut = {y + 3, rng.Range(1, 9), rng.Range(1, 28)};
  } else {
    h.debut = {y + 4, rng.Range(1, 12), rng.Range(1, 28)};
  }
  int days = 150 + static_cast<int>(rng.Below(4 * 365));
  if (rng.Chance(0.3)) days += static_cast<int>(rng.Below(3 * 365));
  if (h.aptitude == kJump) days += 2 * 365;
  h.retire = h.debut.Plus(days);
  if (unraced) {
    h.debut = {9999, 1, 1};
    h.retire = {};
    h.deregistered = h.registered.Plus(rng.Range(120, 600));
    h.deregistration = '1';
    h.trainer = ChooseTrainer(rng, h.registered, h.deregistered, false);
    h.created = h.deregistered.Plus(3);
    return;
  }
  if (h.retire < w_.snapshot) {
    h.deregistered = h.retire.Plus(rng.Range(7, 60));
    if (h.deregistered < w_.snapshot) {
      h.deregistration = '1';
    } else {
      h.deregistered = {};
    }
  }
  const Date from = Max(h.debut, worldStart_), to = Min(h.retire, worldEnd_);
  h.inWorld = !(to < from) && h.debut <= worldEnd_;
  h.trainer = ChooseTrainer(rng, h.debut, h.retire, h.inWorld);
  if (h.inWorld) {
    pools_[y].push_back(index);
    h.nextFree = from;
  }
  History(rng, index);
}

RunFacts Builder::SyntheticRun(Rng& rng, Surface s, int distanceRow, double ability, int wins,
                               int style, bool jra, int year) const {
  RunFacts f;
  f.year = year;
  f.surface = s;
  f.jra = jra;
  int track;
  if (s == kJump) {
    track = rng.Range(51, 59);
  } else {
    const bool left = rng.Chance(0.35);
    if (s == kTurf) {
      track = rng.Chance(0.03) ? 10 : left ? rng.Range(11, 16) : rng.Range(17, 22);
    } else {
      track = rng.Chance(0.02) ? 29 : left ? 23 + 2 * rng.Range(0, 2) : 24 + 2 * rng.Range(0, 2);
    }
  }
  f.trackRow = TrackRow(track);
  const double g = rng.Unit();
  const int going = g < 0.7 ? 0 : g < 0.85 ? 1 : g < 0.95 ? 2 : 3;
  f.goingRow = (s == kTurf ? 0 : s == kDirt ? 4 : 8) + going;
  f.distanceRow = s == kJump ? -1 : (s == kDirt ? 3 : 0) + distanceRow;
  f.courseRow = (jra && s != kJump) ? rng.Range(0, 9) * 2 + (s == kDirt ? 1 : 0) : -1;
  const double score = 0.55 * (ability + 2.5) / 5 + 0.45 * rng.Unit();
  const int place = std::clamp(1 + static_cast<int>((1 - score) * 14), 1, 16);
  f.bucket = std::min(place, 6) - 1;
  f.style = std::clamp(style + rng.Range(-1, 1), 0, 3);
  static const double kShare[] = {1.0, 0.4, 0.25, 0.15, 0.1};
  if (place <= 5) {
    const Class c = static_cast<Class>(std::min(1 + wins, 5));
    f.prize = static_cast<std::int64_t>(FirstPrize(c, s == kJump) * kShare[place - 1] / 100) * 100;
    if (!jra) f.prize /= 2;
  }
  return f;
}

void Builder::History(Rng& rng, int index) {
  Horse& h = w_.horses[static_cast<std::size_t>(index)];
  const Foal& f = w_.foals[static_cast<std::size_t>(h.foal)];
  int wins = 0;
  for (Date d = h.debut; d < worldStart_ && d <= h.retire; d = d.Plus(rng.Range(21, 90))) {
    const int age = d.year - f.birth.year;
    Surface s = h.aptitude == kJump && age < 4 ? (rng.Chance(0.5) ? kTurf : kDirt) : h.aptitude;
    if (s != kJump && rng.Chance(0.15)) s = s == kTurf ? kDirt : kTurf;
    const int distanceRow = std::clamp(h.distancePreference + rng.Range(-1, 1), 0, 2);
    const RunFacts run =
        SyntheticRun(rng, s, distanceRow, h.ability, wins, h.style, !rng.Chance(0.04), d.year);
    if (run.bucket == 0) ++wins;
    h.career.Add(run);
    w_.trainers[static_cast<std::size_t>(h.trainer)].blocks[2].Add(run);
    w_.breeders[static_cast<std::size_t>(f.breeder)].results[1].Add(run);
    w_.owners[static_cast<std::size_t>(h.owner)].results[1].Add(run);
  }
  if (h.career.races > 0) h.lastBodyWeight = h.bodyWeight;
}

void Builder::OldHorses() {
  if (!hz_.bornBefore2010) return;
  Rng rng = root_.Fork(4);
  // Horses of the old race days come from foals of their years that got no horse record.
  for (const Day& day : days_) {
    if (!day.old) continue;
    int found = 0;
    for (int i = 0; i < static_cast<int>(w_.foals.size()) && found < 8 * 3; ++i) {
      Foal& f = w_.foals[static_cast<std::size_t>(i)];
      const int age = day.date.year - f.birth.year;
      if (f.horse >= 0 || age < 3 || age > 5) continue;
      Horse h;
      h.foal = i;
      h.name = names_.Horse(rng, 9);
      h.ability = rng.Bell() * 0.8;
      const int index = static_cast<int>(w_.horses.size());
      w_.horses.push_back(std::move(h));
      f.horse = index;
      Horse& nh = w_.horses.back();
      nh.sex = f.sex;
      nh.aptitude = rng.Chance(0.5) ? kTurf : kDirt;
      nh.distancePreference = static_cast<int>(rng.Below(3));
      nh.style = static_cast<int>(rng.Below(4));
      nh.bodyWeight = rng.Range(430, 510);
      nh.owner = ownerPick_.Pick(rng);
      nh.registered = {f.birth.year + 2, 4, 1};
      nh.debut = {f.birth.year + 2, 9, rng.Range(1, 28)};
      nh.retire = day.date.Plus(rng.Range(200, 700));
      nh.deregistered = nh.retire.Plus(30);
      nh.deregistration = '1';
      nh.trainer = ChooseTrainer(rng, nh.debut, nh.retire, false);
      nh.nextFree = day.date;
      // The whole career but the old race day counts from its history.
      const Date start = worldStart_;
      worldStart_ = day.date;
      History(rng, index);
      worldStart_ = start;
      oldPool_.push_back(index);
      ++found;
    }
  }
}

Program Builder::ProgramOf(Rng& rng, int r, int month, bool jumpToday) const {
  Program p;
  p.turf = rng.Chance(0.5);
  const bool juveniles = month >= 6;
  const bool spring = month <= 5;
  switch (r) {
    case 1:
    case 2:
    case 3:
      p.cls = kMaiden;
      if (juveniles && (r == 2 || month >= 10)) {
        p.minAge = p.maxAge = 2;
      } else {
        p.minAge = p.maxAge = 3;
        if (month > 9) p.minAge = p.maxAge = 2;
      }
      break;
    case 4:
      if (jumpToday) {
        p.jump = true;
        p.turf = true;
        p.cls = rng.Chance(0.5) ? kMaiden : kOpen;
        p.minAge = spring ? 4 : 3;
      } else {
        p.cls = juveniles ? kNewcomer : kMaiden;
        p.minAge = p.maxAge = juveniles ? 2 : 3;
      }
      break;
    case 5:
      p.cls = juveniles ? kNewcomer : kWin1;
      p.minAge = p.maxAge = juveniles ? 2 : 3;
      break;
    case 6:
    case 7:
    case 8:
      p.cls = kWin1;
      if (spring && r == 6) {
        p.minAge = p.maxAge = 3;
      } else {
        p.minAge = spring ? 4 : 3;
      }
      break;
    case 9:
    case 10:
      p.cls = kWin2;
      p.minAge = spring ? 4 : 3;
      if (r == 9 && spring) {
        p.cls = kWin1;
        p.minAge = p.maxAge = 3;
      }
      break;
    case 11: {
      const double g = rng.Unit();
      p.cls = g < 0.05   ? kG1
              : g < 0.13 ? kG2
              : g < 0.28 ? kG3
              : g < 0.43 ? kListed
              : g < 0.68 ? kOpen
                         : kWin3;
      p.turf = rng.Chance(0.7);
      if (month <= 6 && rng.Chance(0.3)) {
        p.minAge = p.maxAge = 3;
      } else if (month >= 10 && rng.Chance(0.15)) {
        p.minAge = p.maxAge = 2;
      } else {
        p.minAge = spring ? 4 : 3;
      }
      break;
    }
    default:
      p.cls = rng.Chance(0.5) ? kWin1 : kWin2;
      p.minAge = spring ? 4 : 3;
      break;
  }
  return p;
}

std::vector<int> Builder::PickHorses(Rng& rng, const Race& race, const Program& pr, int want,
                                     bool oldDay) {
  std::vector<int> chosen;
  const int year = race.date.year;
  Weighted years;
  if (oldDay) {
    years.Add(-1, 1);
  } else {
    for (const auto& [birth, pool] : pools_) {
      const int age = year - birth;
      if (age >= pr.minAge && age <= pr.maxAge && !pool.empty()) {
        years.Add(birth, static_cast<double>(pool.size()));
      }
    }
  }
  if (years.empty()) return chosen;
  const Surface surface = pr.jump ? kJump : pr.turf ? kTurf : kDirt;
  for (int tries = 0; tries < want * 80 && static_cast<int>(chosen.size()) < want; ++tries) {
    const int birth = years.Pick(rng);
    const std::vector<int>& pool = birth < 0 ? oldPool_ : pools_[birth];
    const int hi = pool[rng.Below(static_cast<std::uint32_t>(pool.size()))];
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

void Builder::Races() {
  Rng rng = root_.Fork(5);
  std::map<std::pair<int, int>, int> meeting;  // (course, year) -> meeting number
  std::map<int, int> lastBlock;
  int block = 0;
  Date previous;
  for (const Day& day : days_) {
    if (day.local || day.abroad) {
      Race race;
      race.date = day.date;
      race.category = day.local ? 'A' : 'B';
      race.course = day.local ? kLocalCourses[rng.Below(std::size(kLocalCourses))]
                              : kAbroadCourses[rng.Below(std::size(kAbroadCourses))];
      race.meeting = 1 + static_cast<int>(rng.Below(12));
      race.meetingDay = 1 + static_cast<int>(rng.Below(6));
      race.raceNumber = day.local ? rng.Range(9, 11) : rng.Range(1, 10);
      Program pr;
      pr.cls = day.local ? kOpen : kG1;
      pr.turf = !day.local && rng.Chance(0.8);
      pr.minAge = 3;
      std::vector<int> jockeys;
      for (int j = 0; j < static_cast<int>(w_.jockeys.size()); ++j) {
        const JockeyKind k = w_.jockeys[static_cast<std::size_t>(j)].kind;
        if (k == (day.local ? JockeyKind::kLocal : JockeyKind::kAbroad)) jockeys.push_back(j);
      }
      FillRace(rng, race, pr, jockeys, false);
      continue;
    }
    if (!(day.date.Serial() - previous.Serial() <= 2)) ++block;
    previous = day.date;
    JraDay(rng, day, meeting, lastBlock, block);
  }
}

void Builder::JraDay(Rng& rng, const Day& day, std::map<std::pair<int, int>, int>& meeting,
                     std::map<int, int>& lastBlock, int block) {
  // Riders of the day, each at one course.
  std::vector<int> riders;
  for (int j = 0; j < static_cast<int>(w_.jockeys.size()); ++j) {
    const Jockey& jk = w_.jockeys[static_cast<std::size_t>(j)];
    const bool licensed = jk.license <= day.date && (jk.revoked.year == 0 || day.date < jk.revoked);
    const bool home = jk.kind == JockeyKind::kActive || jk.kind == JockeyKind::kRetired;
    if (licensed && home) riders.push_back(j);
  }
  rng.Shuffle(riders);
  const std::size_t nc = day.courses.size();
  for (std::size_t c = 0; c < nc; ++c) {
    const int course = day.courses[c];
    std::vector<int> mine;
    for (std::size_t i = c; i < riders.size(); i += nc) mine.push_back(riders[i]);
    const auto key = std::make_pair(course, day.date.year);
    auto& lb = lastBlock[course];
    int& kai = meeting[key];
    if (day.old) {
      kai = 5;
    } else if (lb != block || kai == 0) {
      // A new meeting begins when the course returns after a break.
      if (kai == 0 || lb + 1 < block) ++kai;
      lb = block;
    }
    int& nichi = meetingDays_[{course, day.date.year, kai}];
    ++nichi;
    const bool jumpToday = rng.Chance(0.45);
    static const int kSmallProgram[] = {1, 4, 8, 11};
    static const int kOldProgram[] = {9, 10, 11};
    const int count = day.old ? 3 : p_.racesPerCourseDay;
    for (int k = 0; k < count; ++k) {
      const int r = day.old ? kOldProgram[k] : count == 12 ? k + 1 : kSmallProgram[k % 4];
      Race race;
      race.date = day.date;
      race.course = Digits(course, 2);
      race.category = '7';
      race.meeting = kai;
      race.meetingDay = nichi;
      race.raceNumber = r;
      Program pr = ProgramOf(rng, r, day.date.month, jumpToday);
      if (day.old) {
        pr.minAge = 3;
        pr.maxAge = 99;
        pr.jump = false;
      }
      FillRace(rng, race, pr, mine, day.old);
    }
  }
}

bool Builder::FillRace(Rng& rng, Race& race, const Program& given, const std::vector<int>& jockeys,
                       bool oldDay) {
  Program pr = given;
  const int want = oldDay                 ? rng.Range(5, 7)
                   : race.category == 'B' ? rng.Range(2, 4)
                   : race.category == 'A' ? rng.Range(8, 12)
                                          : rng.Range(p_.fieldMin, p_.fieldMax);
  std::vector<int> horses = PickHorses(rng, race, pr, want, oldDay);
  if (static_cast<int>(horses.size()) < std::max(2, p_.fieldMin / 2) && !oldDay) {
    // Too few for the program: make it an open race for three-year-olds and up.
    Program wider = pr;
    wider.jump = false;
    wider.minAge = 3;
    wider.maxAge = 99;
    if (wider.cls == kNewcomer || wider.cls == kMaiden) wider.cls = kWin1;
    std::vector<int> more =
        PickHorses(rng, race, wider, want - static_cast<int>(horses.size()), false);
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
  const bool jra = race.category == '7';
  const int courseNo = jra ? std::stoi(race.course) : 0;
  static const int kTurfDistances[] = {1200, 1400, 1600, 1800, 2000, 2000, 2200, 2400, 2500, 3000};
  static const int kDirtDistances[] = {1000, 1150, 1200, 1400, 1600, 1700, 1800, 1900, 2100, 2400};
  static const int kJumpDistances[] = {2750, 2860, 2880, 3000, 3110, 3140, 3170, 3200,
                                       3300, 3350, 3390, 3570, 3900, 4100, 4250};
  const Surface surface = pr.jump ? kJump : pr.turf ? kTurf : kDirt;
  const bool left = jra ? LeftHanded(courseNo) : rng.Chance(0.5);
  if (surface == kJump) {
    race.distance = kJumpDistances[rng.Below(15)];
    race.track = rng.Range(51, 59);
  } else if (surface == kTurf) {
    race.distance = kTurfDistances[rng.Below(10)];
    if (courseNo == 4 && rng.Chance(0.1)) {
      race.distance = 1000;
      race.track = 10;
    } else {
      race.track = left ? (rng.Chance(0.6) ? 11 : rng.Range(12, 16))
                        : (rng.Chance(0.6) ? 17 : rng.Range(18, 22));
    }
  } else {
    race.distance = kDirtDistances[rng.Below(10)];
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

  // Conditions.
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
  race.courseDivision = surface == kTurf && jra ? kDivisions[rng.Below(4)] : "  ";
  static const double kShare[] = {1.0, 0.4, 0.25, 0.15, 0.1};
  std::int64_t first = FirstPrize(pr.cls, pr.jump);
  if (race.category == 'A') first /= 3;
  if (race.category == 'B') first *= 2;
  for (int k = 0; k < 5; ++k) {
    race.prize[static_cast<std::size_t>(k)] =
        static_cast<std::int64_t>(static_cast<double>(first) * kShare[k] / 100) * 100;
  }
  if (race.grade != ' ') {
    race.added = {first / 50, first / 125, first / 200};
  }
  const int minutes = (race.category == 'B' ? 23 * 60 : 9 * 60 + 50) + (race.raceNumber - 1) * 30;
  race.postTime = (minutes / 60 % 24) * 100 + minutes % 60;
  race.weekday = race.date.Weekday() == 6 ? '1' : race.date.Weekday() == 0 ? '2' : '3';

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
  const int going = (surface == kDirt ? race.dirtGoing : race.turfGoing) - '1';

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

  // Field: numbers by draw, frames as the numbers spread over eight frames.
  rng.Shuffle(horses);
  const int n = static_cast<int>(horses.size());
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
  std::vector<Runner> field(static_cast<std::size_t>(n));
  std::vector<double> strength(static_cast<std::size_t>(n)), perf(static_cast<std::size_t>(n));
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
    const bool match = h.aptitude == surface;
    strength[static_cast<std::size_t>(k)] = h.ability + jk.skill + (match ? 0.3 : 0);
    perf[static_cast<std::size_t>(k)] =
        strength[static_cast<std::size_t>(k)] + rng.Bell() * (pr.jump ? 1.2 : 0.9);
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
  // Order of arrival among those that finished.
  std::vector<int> order;
  for (int k = 0; k < n; ++k) {
    if (field[static_cast<std::size_t>(k)].abnormality == '0') order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return perf[static_cast<std::size_t>(a)] > perf[static_cast<std::size_t>(b)];
  });
  const int winnerLast3 = std::accumulate(race.laps.end() - std::min(3, laps), race.laps.end(), 0);
  const int winnerLast4 = std::accumulate(race.laps.end() - std::min(4, laps), race.laps.end(), 0);
  int time = race.winnerTime;
  std::vector<int> gaps(order.size(), 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    Runner& r = field[static_cast<std::size_t>(order[i])];
    r.arrival = static_cast<int>(i) + 1;
    if (i > 0) {
      const double g = rng.Unit();
      int gap = g < 0.35   ? 0
                : g < 0.6  ? 1
                : g < 0.75 ? 2
                : g < 0.85 ? 3
                : g < 0.95 ? rng.Range(4, 6)
                           : rng.Range(7, 20);
      if (pr.jump) gap *= 2;
      gaps[i] = gap;
      time += gap;
    }
    r.time = time;
  }
  static const char* const kNear[] = {"A  ", "H  ", "K  "};
  auto marginOf = [&](int gap) -> std::string {
    if (gap <= 0) return kNear[rng.Below(3)];
    static const char* const kCodes[] = {"1/2", "1  ", "112", "2  ", "3  ", "3  ",
                                         "4  ", "5  ", "6  ", "7  ", "8  ", "9  "};
    if (gap <= 12) return kCodes[gap - 1];
    return gap < 20 ? "10 " : "Z  ";
  };
  for (std::size_t i = 0; i < order.size(); ++i) {
    Runner& r = field[static_cast<std::size_t>(order[i])];
    if (i > 0) r.margin = marginOf(gaps[i]);
    r.behind = r.time - race.winnerTime;
  }
  if (order.size() > 1) {
    Runner& winner = field[static_cast<std::size_t>(order[0])];
    winner.margin = field[static_cast<std::size_t>(order[1])].margin;
    winner.behind = -(field[static_cast<std::size_t>(order[1])].time - race.winnerTime);
  }
  // Positions at the corners follow the running style; one-turn races have two corners.
  const int corners = race.distance <= 1400 && !pr.jump ? 2 : 4;
  std::vector<int> runnersIn;
  for (int k = 0; k < n; ++k) {
    if (field[static_cast<std::size_t>(k)].abnormality != '1') runnersIn.push_back(k);
  }
  const int m = static_cast<int>(runnersIn.size());
  std::vector<std::vector<int>> cornerOrder(4);
  for (int c = 4 - corners; c < 4; ++c) {
    std::vector<std::pair<double, int>> v;
    for (int k : runnersIn) {
      const Runner& r = field[static_cast<std::size_t>(k)];
      const Horse& h = w_.horses[static_cast<std::size_t>(r.horse)];
      const double late = (c + 1) / 4.0;
      const double finishRank = r.arrival > 0 ? r.arrival : m + 1;
      v.push_back({h.style * (1.2 - late) + finishRank / m * late * 3 + rng.Unit() * 1.2, k});
    }
    std::stable_sort(v.begin(), v.end());
    for (std::size_t i = 0; i < v.size(); ++i) {
      field[static_cast<std::size_t>(v[i].second)].corners[static_cast<std::size_t>(c)] =
          static_cast<int>(i) + 1;
      cornerOrder[static_cast<std::size_t>(c)].push_back(v[i].second);
    }
  }
  for (int k : runnersIn) {
    Runner& r = field[static_cast<std::size_t>(k)];
    if (r.abnormality != '0') continue;
    const int early = r.corners[static_cast<std::size_t>(4 - corners)];
    r.style = early == 1 ? '1' : early * 3 <= m ? '2' : early * 3 <= 2 * m ? '3' : '4';
    // Closers run the last furlongs faster than the leaders.
    static const double kGive[] = {0.95, 0.75, 0.5, 0.35};
    const double give = kGive[r.style - '1'];
    int last3 = winnerLast3 + static_cast<int>(r.behind > 0 ? r.behind * give : 0) +
                static_cast<int>(rng.Bell() * 3) + (r.style - '2');
    const int fastest = winnerLast3 - 12;
    last3 = std::clamp(last3, fastest, std::max(fastest, r.time - (race.distance - 600) * 10 / 19));
    if (r.arrival == 1) last3 = winnerLast3;
    r.last3 = last3;
    r.last4 = last3 + (winnerLast4 - winnerLast3) + rng.Range(-2, 4);
  }
  // Odds from strength; favourites are the strongest on paper.
  {
    std::vector<double> w(static_cast<std::size_t>(n), 0);
    double sum = 0;
    for (int k = 0; k < n; ++k) {
      if (field[static_cast<std::size_t>(k)].abnormality == '1') continue;
      const double x = std::max(0.2, strength[static_cast<std::size_t>(k)] + 3);
      w[static_cast<std::size_t>(k)] = x * x * x * x;
      sum += w[static_cast<std::size_t>(k)];
    }
    std::vector<std::pair<int, int>> byOdds;
    for (int k = 0; k < n; ++k) {
      Runner& r = field[static_cast<std::size_t>(k)];
      if (r.abnormality == '1') continue;
      r.odds = std::clamp(static_cast<int>(7.8 * sum / w[static_cast<std::size_t>(k)]), 11, 9999);
      byOdds.push_back({r.odds, k});
    }
    std::stable_sort(byOdds.begin(), byOdds.end());
    for (std::size_t i = 0; i < byOdds.size(); ++i) {
      field[static_cast<std::size_t>(byOdds[i].second)].popularity = static_cast<int>(i) + 1;
    }
  }
  int scratched = 0, stopped = 0;
  for (int k = 0; k < n; ++k) {
    Runner& r = field[static_cast<std::size_t>(k)];
    if (r.abnormality == '1') ++scratched;
    if (r.abnormality == '4') ++stopped;
    if (r.arrival >= 1 && r.arrival <= 5)
      r.prize = race.prize[static_cast<std::size_t>(r.arrival - 1)];
    if (r.arrival >= 1 && r.arrival <= 3)
      r.added = race.added[static_cast<std::size_t>(r.arrival - 1)];
    if (r.abnormality == '0') {
      r.miningTime = race.winnerTime * 10 + static_cast<int>(rng.Bell() * 40) + r.arrival * 8;
      r.miningPlus = rng.Range(10, 90);
      r.miningMinus = rng.Range(10, 90);
    }
  }
  {
    std::vector<std::pair<int, int>> byMining;
    for (int k = 0; k < n; ++k) {
      if (field[static_cast<std::size_t>(k)].miningTime > 0) {
        byMining.push_back({field[static_cast<std::size_t>(k)].miningTime, k});
      }
    }
    std::stable_sort(byMining.begin(), byMining.end());
    for (std::size_t i = 0; i < byMining.size(); ++i) {
      field[static_cast<std::size_t>(byMining[i].second)].miningRank = static_cast<int>(i) + 1;
    }
  }
  const int base = race.firstRunner;
  if (!order.empty()) {
    const int winner = base + order[0];
    for (int k = 0; k < n; ++k) {
      Runner& r = field[static_cast<std::size_t>(k)];
      if (r.abnormality == '1') continue;
      if (base + k == winner) {
        if (order.size() > 1) r.opponents[0] = base + order[1];
      } else {
        r.opponents[0] = winner;
      }
    }
  }
  race.registered = n;
  race.starters = n - scratched;
  race.finishers = n - scratched - stopped;
  race.recordUpdate = rng.Chance(0.01) ? '1' : '0';
  race.created = race.date.Plus(rng.Range(1, 4));
  for (Runner& r : field) w_.runners.push_back(r);
  w_.races.push_back(std::move(race));
}

void Builder::TwoCourseRider() {
  if (!hz_.jockeyTwoCourses) return;
  // Two races of one day and race number at two JRA courses.
  for (std::size_t a = 0; a < w_.races.size(); ++a) {
    const Race& ra = w_.races[a];
    if (ra.category != '7' || ra.date.year < w_.firstYear || ra.runnerCount < 3) continue;
    for (std::size_t b = a + 1; b < w_.races.size() && w_.races[b].date == ra.date; ++b) {
      const Race& rb = w_.races[b];
      if (rb.category != '7' || rb.course == ra.course || rb.raceNumber != ra.raceNumber) continue;
      const int number = std::min(ra.runnerCount, rb.runnerCount);
      Runner& x = w_.runners[static_cast<std::size_t>(ra.firstRunner + number - 1)];
      Runner& y = w_.runners[static_cast<std::size_t>(rb.firstRunner + number - 1)];
      y.jockey = x.jockey;
      w_.twoCourseRunners = {ra.firstRunner + number - 1, rb.firstRunner + number - 1};
      return;
    }
  }
}

void Builder::Aggregate() {
  Rng rng = root_.Fork(6);
  const int year = w_.lastYear;
  for (std::size_t i = 0; i < w_.runners.size(); ++i) {
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
    lastRun[static_cast<std::size_t>(r.horse)] = w_.races[static_cast<std::size_t>(r.race)].date;
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

void Builder::Sales() {
  Rng rng = root_.Fork(8);
  // Markets: foals in July, yearlings in July, August and October, two-year-olds in April.
  struct Market {
    int age, month, day, length;
  };
  static const Market kMarkets[] = {
      {0, 7, 10, 2}, {1, 7, 12, 2}, {1, 8, 20, 5}, {1, 10, 4, 3}, {2, 4, 20, 2}};
  for (std::size_t i = 0; i < w_.horses.size(); ++i) {
    const Horse& h = w_.horses[i];
    const Foal& f = w_.foals[static_cast<std::size_t>(h.foal)];
    if (f.birth.year < p_.racehorseFrom) continue;
    const double u = rng.Unit();
    const int count = u < p_.saleTwice ? 2 : u < p_.saleTwice + p_.saleOnce ? 1 : 0;
    const double sire = w_.breeding[static_cast<std::size_t>(f.sire)].quality;
    for (int s = 0; s < count; ++s) {
      const int m = count == 2 ? (s == 0 ? 0 : 1 + static_cast<int>(rng.Below(3)))
                               : static_cast<int>(rng.Below(5));
      const Market& mk = kMarkets[m];
      Sale sale;
      sale.horse = static_cast<int>(i);
      sale.saleAge = mk.age;
      sale.start = {f.birth.year + mk.age, mk.month, mk.day};
      sale.end = sale.start.Plus(mk.length - 1);
      if (w_.snapshot < sale.end) continue;
      sale.market = m;
      sale.marketCode = Digits(sale.start.year, 4) + Digits(m + 1, 2);
      const double base = 1000000.0 + 400000.0 * rng.Unit() * std::min(sire, 60.0) *
                                          (1 + h.ability * 0.3 + (m == 1 ? 2 : 0));
      sale.price = static_cast<std::int64_t>(std::max(500000.0, base) / 10000) * 10000;
      sale.created = sale.end.Plus(10);
      w_.sales.push_back(std::move(sale));
    }
  }
  std::stable_sort(w_.sales.begin(), w_.sales.end(),
                   [](const Sale& a, const Sale& b) { return a.start < b.start; });
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

}  // namespace

RunFacts FactsOf(const World& world, const Runner& r) {
  const Race& race = world.races[static_cast<std::size_t>(r.race)];
  RunFacts f;
  f.year = race.date.year;
  f.surface = SurfaceOfTrack(race.track);
  f.trackRow = TrackRow(race.track);
  const char going = f.surface == kDirt ? race.dirtGoing : race.turfGoing;
  f.goingRow = (f.surface == kTurf ? 0 : f.surface == kDirt ? 4 : 8) + (going - '1');
  f.distanceRow = DistanceRow(f.surface, race.distance);
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
  return Builder(size, seed, hazards).Build();
}

}  // namespace meridax::sample
