#include <algorithm>
#include <iterator>

#include "tools/sample/builder.h"
#include "tools/sample/emit.h"

namespace meridax::sample::build {

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

void Builder::Races() {
  Rng rng = root_.Fork(5);
  Meetings meetings;
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
      FillRace(rng, race, pr, jockeys, Pool::kCurrent);
      continue;
    }
    if (!(day.date.Serial() - previous.Serial() <= 2)) ++block;
    previous = day.date;
    JraDay(rng, day, meetings, block, day.old ? Pool::kOld : Pool::kCurrent);
  }
}

void Builder::JraDay(Rng& rng, const Day& day, Meetings& meetings, int block, Pool pool) {
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
    auto& lb = meetings.lastBlock[course];
    int& kai = meetings.meeting[key];
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
      // Race numbers of a shorter day spread over the twelve, each once.
      const int r = day.old       ? kOldProgram[k]
                    : count == 12 ? k + 1
                    : count == 4  ? kSmallProgram[k]
                                  : 1 + k * 12 / count;
      Race race;
      race.date = day.date;
      race.course = Digits(course, 2);
      race.category = '7';
      race.meeting = kai;
      race.meetingDay = nichi;
      race.raceNumber = r;
      Program pr = ProgramOf(rng, r, day.date.month, jumpToday);
      if (pool == Pool::kOlder) OlderProgram(rng, k, pr);
      if (day.old) {
        pr.minAge = 3;
        pr.maxAge = 99;
        pr.jump = false;
      }
      FillRace(rng, race, pr, mine, pool);
    }
  }
}

}  // namespace meridax::sample::build
