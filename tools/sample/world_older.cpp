// The older era: a few race days of 2001 to 2008 at courses 01 to 10 with horses of the
// foal years before the racehorse years. Its draws come from a stream of their own, and
// its races and horses follow the world's others, so the world's own years come out as
// they would without it.

#include <algorithm>
#include <map>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

namespace {

// Distances of the base-time samples, by course kind.
constexpr int kSampleTurf[] = {1200, 1600, 1800, 2000};
constexpr int kSampleDirt[] = {1200, 1600, 1700, 1800};

}  // namespace

std::vector<Builder::Day> Builder::OlderDays() const {
  std::vector<Date> dates = p_.olderSampleDays;
  if (p_.fullCalendar && p_.olderDays > 0) {
    // Spread evenly, each moved on to the weekend day that follows.
    const int from = Date{p_.olderFrom, 1, 10}.Serial(), to = Date{p_.olderTo, 12, 10}.Serial();
    for (int k = 0; k < p_.olderDays; ++k) {
      const Date d = Date::FromSerial(from + (to - from) * k / std::max(1, p_.olderDays - 1));
      const int weekday = k % 2 == 0 ? 6 : 0;
      dates.push_back(d.Plus((weekday - d.Weekday() + 7) % 7));
    }
  }
  std::vector<Day> days;
  for (std::size_t k = 0; k < dates.size(); ++k) {
    Day day{dates[k], {}};
    // Not on an old race day of the hazards, whose races would share their keys.
    while (std::any_of(days_.begin(), days_.end(),
                       [&](const Day& d) { return d.old && d.date == day.date; })) {
      day.date = day.date.Plus(7);
    }
    for (int c = 0; c < p_.olderCoursesPerDay; ++c) {
      day.courses.push_back(1 + static_cast<int>(k * p_.olderCoursesPerDay + c) % 10);
    }
    days.push_back(day);
  }
  return days;
}

void Builder::OlderProgram(Rng& rng, int k, Program& pr) const {
  if (k == 0) {
    // The first race of a course's day is a one-win race for three-year-olds over a distance
    // the base-time export takes.
    pr = Program{};
    pr.cls = kWin1;
    pr.minAge = pr.maxAge = 3;
    pr.turf = rng.Chance(0.5);
    pr.distance = pr.turf ? kSampleTurf[rng.Below(4)] : kSampleDirt[rng.Below(4)];
  } else if (pr.maxAge == 2) {
    // No two-year-olds are drawn for the older era.
    pr.minAge = pr.maxAge = 3;
  }
}

void Builder::OlderEra() {
  Rng rng = root_.Fork(10);
  // Foals without a horse record by year of birth: first those that never went to stud,
  // then those that went to stud after their races.
  std::map<int, std::vector<int>> free;
  for (int i = 0; i < static_cast<int>(w_.foals.size()); ++i) {
    const Foal& f = w_.foals[static_cast<std::size_t>(i)];
    if (f.horse < 0) free[f.birth.year].push_back(i);
  }
  for (auto& [year, foals] : free) {
    std::stable_partition(foals.begin(), foals.end(), [&](int i) {
      return w_.foals[static_cast<std::size_t>(i)].breeding < 0;
    });
  }
  std::map<int, std::size_t> taken;
  Meetings meetings;
  int block = 0;
  Date previous;
  for (const Day& day : OlderDays()) {
    // New three- and four-year-olds for about half the day's runs; the rest run again.
    const int want = static_cast<int>(day.courses.size()) * p_.racesPerCourseDay *
                     (p_.fieldMin + p_.fieldMax) / 4;
    for (int k = 0, made = 0; made < want && k < 2 * want; ++k) {
      const int year = day.date.year - 3 - k % 2;
      const std::vector<int>& foals = free[year];
      std::size_t& next = taken[year];
      if (next >= foals.size()) continue;
      const int foal = foals[next++];
      const int horse = AddRetiredHorse(rng, foal, day.date);
      // A horse that went to stud keeps its name.
      const int breeding = w_.foals[static_cast<std::size_t>(foal)].breeding;
      if (breeding >= 0) {
        w_.horses[static_cast<std::size_t>(horse)].name =
            w_.breeding[static_cast<std::size_t>(breeding)].name;
      }
      olderPools_[year].push_back(horse);
      ++made;
    }
    if (!(day.date.Serial() - previous.Serial() <= 2)) ++block;
    previous = day.date;
    JraDay(rng, day, meetings, block, Pool::kOlder);
  }
}

}  // namespace meridax::sample::build
