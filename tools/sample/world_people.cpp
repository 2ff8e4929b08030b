#include <algorithm>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

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

}  // namespace meridax::sample::build
