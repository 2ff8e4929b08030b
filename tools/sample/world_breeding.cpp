#include <algorithm>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

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
  if (place <= 5) {
    const Class c = static_cast<Class>(std::min(1 + wins, 5));
    f.prize =
        static_cast<std::int64_t>(FirstPrize(c, s == kJump) * kPlaceShare[place - 1] / 100) * 100;
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
      const Foal& f = w_.foals[static_cast<std::size_t>(i)];
      const int age = day.date.year - f.birth.year;
      if (f.horse >= 0 || age < 3 || age > 5) continue;
      oldPool_.push_back(AddRetiredHorse(rng, i, day.date));
      ++found;
    }
  }
}

int Builder::AddRetiredHorse(Rng& rng, int foal, Date firstRace) {
  Foal& f = w_.foals[static_cast<std::size_t>(foal)];
  Horse h;
  h.foal = foal;
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
  nh.retire = firstRace.Plus(rng.Range(200, 700));
  nh.deregistered = nh.retire.Plus(30);
  nh.deregistration = '1';
  nh.trainer = ChooseTrainer(rng, nh.debut, nh.retire, false);
  nh.nextFree = firstRace;
  // The whole career before its first race in the world counts from its history.
  const Date start = worldStart_;
  worldStart_ = firstRace;
  History(rng, index);
  worldStart_ = start;
  return index;
}

}  // namespace meridax::sample::build
