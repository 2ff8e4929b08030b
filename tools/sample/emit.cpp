#include "tools/sample/emit.h"

#include <algorithm>
#include <cstdio>

namespace meridax::sample {

using records::FieldRef;
using records::ParsedRecord;

std::string Digits(long long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, value < 0 ? 0 : value);
  const std::string s = buf;
  return s.substr(s.size() - static_cast<std::size_t>(width));
}

std::string RaceTime(int tenths) {
  if (tenths <= 0) return "0000";
  return Digits(std::min(9, tenths / 600), 1) + Digits(tenths % 600, 3);
}

namespace {

void Num(ParsedRecord& p, FieldRef f, long long v) {
  p.Set(f, Digits(v, f.width));
}
void Num(ParsedRecord& p, FieldRef f, long long v, int width) {
  p.Set(f, Digits(v, width));
}
void Text(ParsedRecord& p, FieldRef f, std::string_view t) {
  p.Set(f, FitBytes(t, static_cast<std::size_t>(f.width)));
}
void Char(ParsedRecord& p, FieldRef f, char c) {
  p.Set(f, std::string(1, c));
}

void Header(ParsedRecord& p, const char* kind, char category, const Date& created) {
  namespace h = records::header;
  p.Set(h::RecordSpec, kind);
  Char(p, h::DataCategory, category);
  p.Set(p.Ref("CreatedYear"), Digits(created.year, 4));
  p.Set(p.Ref("CreatedMonth"), Digits(created.month, 2));
  p.Set(p.Ref("CreatedDay"), Digits(created.day, 2));
  p.Set(p.Ref("LineEnd"), "\r\n");
}

// A date as three fields; a date of year 0 is all zeros.
void DateFields(ParsedRecord& p, FieldRef y, FieldRef m, FieldRef d, const Date& date) {
  Num(p, y, date.year);
  Num(p, m, date.month);
  Num(p, d, date.day);
}

// The fourteen ancestors of a horse in pedigree order: sire, dam, then each one's parents.
std::array<int, 15> Ancestors(const World& w, int sire, int dam) {
  std::array<int, 15> a;
  a.fill(-1);
  a[1] = sire;
  a[2] = dam;
  for (int e = 3; e <= 14; ++e) {
    const int child = a[static_cast<std::size_t>((e - 1) / 2)];
    if (child < 0) continue;
    const BreedingHorse& b = w.breeding[static_cast<std::size_t>(child)];
    a[static_cast<std::size_t>(e)] = e % 2 == 1 ? b.sire : b.dam;
  }
  return a;
}

const std::string& NumberOr(const World& w, int breeding) {
  static const std::string kNone = "0000000000";
  return breeding < 0 ? kNone : w.breeding[static_cast<std::size_t>(breeding)].number;
}

// Horse numbers in their order at a corner, cut at a comma to fit the field.
std::string PassingOrder(const World& w, const Race& race, int corner, std::size_t width) {
  std::vector<std::pair<int, int>> v;
  for (int k = 0; k < race.runnerCount; ++k) {
    const Runner& r = w.runners[static_cast<std::size_t>(race.firstRunner + k)];
    if (r.corners[static_cast<std::size_t>(corner)] > 0) {
      v.push_back({r.corners[static_cast<std::size_t>(corner)], r.number});
    }
  }
  std::sort(v.begin(), v.end());
  std::string s;
  for (const auto& [pos, number] : v) {
    const std::string next = (s.empty() ? "" : ",") + std::to_string(number);
    if (s.size() + next.size() > width) break;
    s += next;
  }
  return s;
}

template <class Block>
void PersonBlocks(ParsedRecord& p, const std::array<PersonBlock, 3>& blocks, const Block& f) {
  for (int b = 0; b < 3; ++b) {
    const PersonBlock& pb = blocks[static_cast<std::size_t>(b)];
    Num(p, f.setYear.In(b + 1), pb.setYear);
    // The money totals are ten digits as delivered; the stored record keeps nine.
    Num(p, f.flatPrize.In(b + 1), pb.flatPrize, 10);
    Num(p, f.jumpPrize.In(b + 1), pb.jumpPrize, 10);
    Num(p, f.flatAdded.In(b + 1), pb.flatAdded, 10);
    Num(p, f.jumpAdded.In(b + 1), pb.jumpAdded, 10);
    for (int c = 1; c <= 6; ++c) {
      Num(p, f.flat.In(b + 1).At(c), pb.flat[static_cast<std::size_t>(c - 1)]);
      Num(p, f.jump.In(b + 1).At(c), pb.jump[static_cast<std::size_t>(c - 1)]);
    }
    for (int r = 1; r <= 20; ++r) {
      for (int c = 1; c <= 6; ++c) {
        Num(p, f.course.In(b + 1).At(r).Cell(c),
            pb.course[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)]);
      }
    }
    for (int r = 1; r <= 6; ++r) {
      for (int c = 1; c <= 6; ++c) {
        Num(p, f.distance.In(b + 1).At(r).Cell(c),
            pb.distance[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)]);
      }
    }
  }
}

struct PerformanceRefs {
  FieldRef setYear, flatPrize, jumpPrize, flatAdded, jumpAdded, flat, jump, course, distance;
};

template <class Refs>
void GradedWins(const World& w, ParsedRecord& p, const std::vector<GradedWin>& wins,
                const Refs& f) {
  for (int e = 1; e <= 3; ++e) {
    if (e > static_cast<int>(wins.size())) {
      for (FieldRef ref : {f.year, f.monthDay, f.course, f.meeting, f.day, f.number, f.starters}) {
        Num(p, ref.In(e), 0);
      }
      Num(p, f.horseId.In(e), 0);
      continue;
    }
    const Race& race =
        w.races[static_cast<std::size_t>(wins[static_cast<std::size_t>(e - 1)].race)];
    const Horse& h =
        w.horses[static_cast<std::size_t>(wins[static_cast<std::size_t>(e - 1)].horse)];
    Num(p, f.year.In(e), race.date.year);
    p.Set(f.monthDay.In(e), race.date.MonthDay());
    p.Set(f.course.In(e), race.course);
    Num(p, f.meeting.In(e), race.meeting);
    Num(p, f.day.In(e), race.meetingDay);
    Num(p, f.number.In(e), race.raceNumber);
    Text(p, f.name.In(e), race.name.text);
    Text(p, f.short10.In(e), race.name.text);
    Text(p, f.short6.In(e), race.name.text);
    Text(p, f.short3.In(e), race.name.text);
    Char(p, f.grade.In(e), race.grade);
    Num(p, f.starters.In(e), race.starters);
    p.Set(f.horseId.In(e), w.foals[static_cast<std::size_t>(h.foal)].horseId);
    Text(p, f.horseName.In(e), h.name.text);
  }
}

struct GradedRefs {
  FieldRef year, monthDay, course, meeting, day, number, name, short10, short6, short3, grade,
      starters, horseId, horseName;
};

// Jockey and trainer records share the names of these blocks' members.
PerformanceRefs PerformanceOf(const records::Layout& l) {
  using records::FieldOf;
  return {FieldOf(l, "Performance.SetYear"),
          FieldOf(l, "Performance.FlatPrizeTotal"),
          FieldOf(l, "Performance.JumpPrizeTotal"),
          FieldOf(l, "Performance.FlatAddedTotal"),
          FieldOf(l, "Performance.JumpAddedTotal"),
          FieldOf(l, "Performance.FlatFinishCounts"),
          FieldOf(l, "Performance.JumpFinishCounts"),
          FieldOf(l, "Performance.CourseFinishCounts"),
          FieldOf(l, "Performance.DistanceFinishCounts")};
}

GradedRefs GradedOf(const records::Layout& l) {
  using records::FieldOf;
  return {
      FieldOf(l, "RecentGradedWins.RaceYear"),       FieldOf(l, "RecentGradedWins.RaceMonthDay"),
      FieldOf(l, "RecentGradedWins.RacecourseCode"), FieldOf(l, "RecentGradedWins.MeetingNumber"),
      FieldOf(l, "RecentGradedWins.MeetingDay"),     FieldOf(l, "RecentGradedWins.RaceNumber"),
      FieldOf(l, "RecentGradedWins.RaceName"),       FieldOf(l, "RecentGradedWins.RaceShortName10"),
      FieldOf(l, "RecentGradedWins.RaceShortName6"), FieldOf(l, "RecentGradedWins.RaceShortName3"),
      FieldOf(l, "RecentGradedWins.GradeCode"),      FieldOf(l, "RecentGradedWins.StarterCount"),
      FieldOf(l, "RecentGradedWins.HorseId"),        FieldOf(l, "RecentGradedWins.HorseName")};
}

// The fields jockey and trainer records share, named after `who` ("Jockey", "Trainer").
void PersonFields(const World& w, ParsedRecord& p, const char* kind, const std::string& who,
                  const Person& person) {
  Header(p, kind, person.category, person.created);
  p.Set(p.Ref(who + "Code"), person.code);
  Char(p, p.Ref("DeregistrationCode"), person.revoked.year > 0 ? '1' : '0');
  DateFields(p, p.Ref("LicenseIssueYear"), p.Ref("LicenseIssueMonth"), p.Ref("LicenseIssueDay"),
             person.license);
  DateFields(p, p.Ref("LicenseRevokedYear"), p.Ref("LicenseRevokedMonth"),
             p.Ref("LicenseRevokedDay"), person.revoked);
  DateFields(p, p.Ref("BirthYear"), p.Ref("BirthMonth"), p.Ref("BirthDay"), person.birth);
  Text(p, p.Ref(who + "Name"), person.name.full.text);
  Text(p, p.Ref(who + "NameKana"), person.name.full.kana);
  Text(p, p.Ref(who + "ShortName"), person.name.shortName);
  Text(p, p.Ref(who + "NameEnglish"), person.name.full.latin);
  Char(p, p.Ref("SexCode"), person.sex);
  Char(p, p.Ref("AffiliationCode"), person.affiliation);
  Text(p, p.Ref("InvitationRegion"), person.invitation);
  GradedWins(w, p, person.gradedWins, GradedOf(p.layout()));
  PersonBlocks(p, person.blocks, PerformanceOf(p.layout()));
}

// The fields breeder and owner records share, named after `who` ("Breeder", "Owner").
void HolderFields(ParsedRecord& p, const char* kind, const std::string& who, const Holder& h) {
  Header(p, kind, h.category, h.created);
  p.Set(p.Ref(who + "Code"), h.code);
  Text(p, p.Ref(who + "NameCorporate"), h.corporate);
  Text(p, p.Ref(who + "Name"), h.name.text);
  Text(p, p.Ref(who + "NameKana"), h.name.kana);
  Text(p, p.Ref(who + "NameEnglish"), h.name.latin);
  for (int e = 1; e <= 2; ++e) {
    const YearBlock& b = h.results[static_cast<std::size_t>(e - 1)];
    Num(p, p.Ref("YearResults.SetYear").In(e), b.setYear);
    Num(p, p.Ref("YearResults.PrizeTotal").In(e), b.prize);
    Num(p, p.Ref("YearResults.AddedTotal").In(e), b.added);
    for (int k = 1; k <= 6; ++k) {
      Num(p, p.Ref("YearResults.FinishCounts").In(e).At(k),
          b.counts[static_cast<std::size_t>(k - 1)]);
    }
  }
}

}  // namespace

std::string WithHeader(std::string_view delivered, char category, const Date& created) {
  std::string out(delivered);
  const auto put = [&](FieldRef f, const std::string& text) {
    out.replace(static_cast<std::size_t>(f.pos - 1), text.size(), text);
  };
  // The header precedes every cut field, so stored and delivered positions agree here.
  put(records::header::DataCategory, std::string(1, category));
  put(records::header::CreatedDate, created.Text());
  return out;
}

std::string Emitter::Race(int index) {
  namespace f = records::ra;
  const meridax::sample::Race& race = w_.races[static_cast<std::size_t>(index)];
  ParsedRecord& p = ra_;
  p.Clear();
  Header(p, "RA", race.category, race.created);
  Num(p, f::RaceYear, race.date.year);
  p.Set(f::RaceMonthDay, race.date.MonthDay());
  p.Set(f::RacecourseCode, race.course);
  Num(p, f::MeetingNumber, race.meeting);
  Num(p, f::MeetingDay, race.meetingDay);
  Num(p, f::RaceNumber, race.raceNumber);
  Char(p, f::WeekdayCode, race.weekday);
  Num(p, f::SpecialRaceNumber, race.specialNumber);
  Text(p, f::RaceName, race.name.text);
  Text(p, f::RaceNameEnglish, race.name.latin);
  Text(p, f::RaceShortName10, race.name.text);
  Text(p, f::RaceShortName6, race.name.text);
  Text(p, f::RaceShortName3, race.name.text);
  Char(p, f::RaceNameKind, race.name.text.empty() ? '0' : '1');
  Num(p, f::GradedRaceEdition, race.edition);
  Char(p, f::GradeCode, race.grade);
  Char(p, f::GradeCodeBefore, ' ');
  p.Set(f::RaceConditionKind, race.conditionKind);
  p.Set(f::RaceConditionSymbol, race.conditionSymbol);
  Char(p, f::RaceWeightKind, race.weightKind);
  for (int k = 1; k <= 5; ++k) {
    p.Set(f::RaceAgeConditions.At(k), race.ageConditions[static_cast<std::size_t>(k - 1)]);
  }
  Text(p, f::ConditionName, race.conditionName);
  Num(p, f::Distance, race.distance);
  Num(p, f::DistanceBefore, 0);
  Num(p, f::TrackCode, race.track);
  Num(p, f::TrackCodeBefore, 0);
  p.Set(f::CourseDivision, race.courseDivision);
  p.Set(f::CourseDivisionBefore, "  ");
  for (int k = 1; k <= 7; ++k) {
    Num(p, f::PrizeMoneyByPlace.At(k), k <= 5 ? race.prize[static_cast<std::size_t>(k - 1)] : 0);
  }
  for (int k = 1; k <= 5; ++k) Num(p, f::PrizeMoneyByPlaceBefore.At(k), 0);
  for (int k = 1; k <= 5; ++k) {
    Num(p, f::AddedMoneyByPlace.At(k), k <= 3 ? race.added[static_cast<std::size_t>(k - 1)] : 0);
  }
  for (int k = 1; k <= 3; ++k) Num(p, f::AddedMoneyByPlaceBefore.At(k), 0);
  Num(p, f::PostTime, race.postTime);
  Num(p, f::PostTimeBefore, 0);
  Num(p, f::RegisteredCount, race.registered);
  Num(p, f::StarterCount, race.starters);
  Num(p, f::FinisherCount, race.finishers);
  Char(p, f::WeatherCode, race.weather);
  Char(p, f::TurfGoingCode, race.turfGoing);
  Char(p, f::DirtGoingCode, race.dirtGoing);
  const int laps = static_cast<int>(race.laps.size());
  for (int k = 1; k <= 25; ++k) {
    Num(p, f::FurlongLeaderTimes.At(k), k <= laps ? race.laps[static_cast<std::size_t>(k - 1)] : 0);
  }
  const auto sum = [&](int from, int count) {
    int s = 0;
    for (int k = from; k < from + count && k < laps; ++k)
      s += race.laps[static_cast<std::size_t>(k)];
    return s;
  };
  const bool jump = SurfaceOfTrack(race.track) == kJump;
  p.Set(f::JumpMileTime, jump ? RaceTime(race.winnerTime * 1600 / race.distance) : "0000");
  Num(p, f::First3FurlongLapTime, sum(0, 3));
  Num(p, f::First4FurlongLapTime, sum(0, 4));
  Num(p, f::Last3FurlongLapTime, sum(std::max(0, laps - 3), 3));
  Num(p, f::Last4FurlongLapTime, sum(std::max(0, laps - 4), 4));
  // Corners run 1 to 4, or 3 and 4 on a one-turn course.
  std::vector<int> corners;
  for (int c = 0; c < 4; ++c) {
    for (int k = 0; k < race.runnerCount; ++k) {
      if (w_.runners[static_cast<std::size_t>(race.firstRunner + k)]
              .corners[static_cast<std::size_t>(c)] > 0) {
        corners.push_back(c);
        break;
      }
    }
  }
  for (int e = 1; e <= 4; ++e) {
    if (e <= static_cast<int>(corners.size())) {
      const int c = corners[static_cast<std::size_t>(e - 1)];
      Char(p, f::CornerPassings_CornerNumber.In(e), static_cast<char>('1' + c));
      Char(p, f::CornerPassings_LapCount.In(e), '1');
      p.Set(f::CornerPassings_PassingOrder.In(e),
            PassingOrder(w_, race, c,
                         static_cast<std::size_t>(f::CornerPassings_PassingOrder.width)));
    } else {
      Char(p, f::CornerPassings_CornerNumber.In(e), '0');
      Char(p, f::CornerPassings_LapCount.In(e), '0');
    }
  }
  Char(p, f::RecordUpdateCode, race.recordUpdate);
  return records::ToDelivered(p);
}

std::string Emitter::Runner(int index) {
  namespace f = records::se;
  const meridax::sample::Runner& r = w_.runners[static_cast<std::size_t>(index)];
  const meridax::sample::Race& race = w_.races[static_cast<std::size_t>(r.race)];
  const meridax::sample::Horse& h = w_.horses[static_cast<std::size_t>(r.horse)];
  const Foal& foal = w_.foals[static_cast<std::size_t>(h.foal)];
  const meridax::sample::Trainer& t = w_.trainers[static_cast<std::size_t>(h.trainer)];
  const meridax::sample::Owner& o = w_.owners[static_cast<std::size_t>(h.owner)];
  const meridax::sample::Jockey& j = w_.jockeys[static_cast<std::size_t>(r.jockey)];
  ParsedRecord& p = se_;
  p.Clear();
  Header(p, "SE", race.category, race.created);
  Num(p, f::RaceYear, race.date.year);
  p.Set(f::RaceMonthDay, race.date.MonthDay());
  p.Set(f::RacecourseCode, race.course);
  Num(p, f::MeetingNumber, race.meeting);
  Num(p, f::MeetingDay, race.meetingDay);
  Num(p, f::RaceNumber, race.raceNumber);
  Num(p, f::FrameNumber, r.frame);
  Num(p, f::HorseNumber, r.number);
  p.Set(f::HorseId, foal.horseId);
  Text(p, f::HorseName, h.name.text);
  p.Set(f::HorseSymbolCode, h.symbol);
  Char(p, f::SexCode, h.sex);
  Char(p, f::BreedCode, '1');
  p.Set(f::CoatColorCode, foal.coat);
  Num(p, f::HorseAge, r.age);
  Char(p, f::AffiliationCode, t.affiliation);
  p.Set(f::TrainerCode, t.code);
  Text(p, f::TrainerShortName, t.name.shortName);
  p.Set(f::OwnerCode, o.code);
  Text(p, f::OwnerName, o.name.text);
  Text(p, f::SilksDescription, o.silks);
  Num(p, f::WeightCarried, r.weightCarried);
  Num(p, f::WeightCarriedBefore, 0);
  Char(p, f::BlinkerCode, r.blinker);
  p.Set(f::JockeyCode, j.code);
  Num(p, f::JockeyCodeBefore, 0);
  Text(p, f::JockeyShortName, j.name.shortName);
  Char(p, f::ApprenticeCode, j.apprentice);
  Char(p, f::ApprenticeCodeBefore, '0');
  if (r.bodyWeight > 0) Num(p, f::BodyWeight, r.bodyWeight);
  Char(p, f::BodyWeightChangeSign, r.bodySign);
  if (r.bodyChange >= 0) Num(p, f::BodyWeightChange, r.bodyChange);
  Char(p, f::AbnormalityCode, r.abnormality);
  Num(p, f::ArrivalOrder, r.arrival);
  Num(p, f::FinishPosition, r.arrival);
  Char(p, f::DeadHeatCode, '0');
  Char(p, f::DeadHeatCount, '0');
  p.Set(f::FinishTime, RaceTime(r.time));
  p.Set(f::MarginCode, r.margin);
  p.Set(f::MarginCodePlus, "   ");
  p.Set(f::MarginCodePlusPlus, "   ");
  for (int c = 1; c <= 4; ++c)
    Num(p, f::CornerPositions.At(c), r.corners[static_cast<std::size_t>(c - 1)]);
  Num(p, f::WinOdds, r.odds);
  Num(p, f::WinPopularity, r.popularity);
  Num(p, f::PrizeMoney, r.prize);
  Num(p, f::AddedMoney, r.added);
  Num(p, f::Last4FurlongTime, r.last4);
  Num(p, f::Last3FurlongTime, r.last3);
  for (int e = 1; e <= 3; ++e) {
    const int other = r.opponents[static_cast<std::size_t>(e - 1)];
    if (other < 0) {
      Num(p, f::Opponents_HorseId.In(e), 0);
      continue;
    }
    const meridax::sample::Horse& oh =
        w_.horses[static_cast<std::size_t>(w_.runners[static_cast<std::size_t>(other)].horse)];
    p.Set(f::Opponents_HorseId.In(e), w_.foals[static_cast<std::size_t>(oh.foal)].horseId);
    Text(p, f::Opponents_HorseName.In(e), oh.name.text);
  }
  if (r.arrival > 0) {
    p.Set(f::TimeBehindWinner,
          (r.behind < 0 ? "-" : "+") + Digits(r.behind < 0 ? -r.behind : r.behind, 3));
  }
  Char(p, f::RecordUpdateCode, r.arrival == 1 ? race.recordUpdate : '0');
  if (r.miningTime > 0) {
    Char(p, f::MiningCode, '1');
    p.Set(f::MiningPredictedTime,
          Digits(std::min(9, r.miningTime / 6000), 1) + Digits(r.miningTime % 6000, 4));
    Num(p, f::MiningErrorPlus, r.miningPlus);
    Num(p, f::MiningErrorMinus, r.miningMinus);
    Num(p, f::MiningPredictedRank, r.miningRank);
  } else {
    Char(p, f::MiningCode, '0');
    Num(p, f::MiningPredictedTime, 0);
    Num(p, f::MiningErrorPlus, 0);
    Num(p, f::MiningErrorMinus, 0);
    Num(p, f::MiningPredictedRank, 0);
  }
  Char(p, f::RaceRunningStyle, r.style);
  return records::ToDelivered(p);
}

std::string Emitter::Horse(int index) {
  namespace f = records::um;
  const meridax::sample::Horse& h = w_.horses[static_cast<std::size_t>(index)];
  const Foal& foal = w_.foals[static_cast<std::size_t>(h.foal)];
  const meridax::sample::Trainer& t = w_.trainers[static_cast<std::size_t>(h.trainer)];
  const meridax::sample::Owner& o = w_.owners[static_cast<std::size_t>(h.owner)];
  const meridax::sample::Breeder& b = w_.breeders[static_cast<std::size_t>(foal.breeder)];
  const HorseCareer& c = h.career;
  ParsedRecord& p = um_;
  p.Clear();
  Header(p, "UM", h.category, h.created);
  p.Set(f::HorseId, foal.horseId);
  Char(p, f::DeregistrationCode, h.deregistration);
  DateFields(p, f::RegisteredYear, f::RegisteredMonth, f::RegisteredDay, h.registered);
  DateFields(p, f::DeregisteredYear, f::DeregisteredMonth, f::DeregisteredDay, h.deregistered);
  DateFields(p, f::BirthYear, f::BirthMonth, f::BirthDay, foal.birth);
  Text(p, f::HorseName, h.name.text);
  Text(p, f::HorseNameKana, h.name.kana);
  Text(p, f::HorseNameEnglish, h.name.latin);
  Char(p, f::JraStableFlag, '1');
  p.Set(f::HorseSymbolCode, h.symbol);
  Char(p, f::SexCode, h.sex);
  Char(p, f::BreedCode, '1');
  p.Set(f::CoatColorCode, foal.coat);
  const auto anc = Ancestors(w_, foal.sire, foal.dam);
  for (int e = 1; e <= 14; ++e) {
    const int a = anc[static_cast<std::size_t>(e)];
    p.Set(f::Pedigree_BreedingNumber.In(e), NumberOr(w_, a));
    if (a >= 0)
      Text(p, f::Pedigree_HorseName.In(e), w_.breeding[static_cast<std::size_t>(a)].name.text);
  }
  Char(p, f::AffiliationCode, t.affiliation);
  p.Set(f::TrainerCode, t.code);
  Text(p, f::TrainerShortName, t.name.shortName);
  p.Set(f::BreederCode, b.code);
  Text(p, f::BreederName, b.name.text);
  Text(p, f::BirthplaceName, foal.birthplace);
  p.Set(f::OwnerCode, o.code);
  Text(p, f::OwnerName, o.name.text);
  Num(p, f::FlatPrizeTotal, c.flatPrize);
  Num(p, f::JumpPrizeTotal, c.jumpPrize);
  Num(p, f::FlatAddedTotal, c.flatAdded);
  Num(p, f::JumpAddedTotal, c.jumpAdded);
  Num(p, f::FlatEarningsTotal, c.flatEarnings);
  Num(p, f::JumpEarningsTotal, c.jumpEarnings);
  for (int k = 1; k <= 6; ++k) {
    Num(p, f::FinishCountsOverall.At(k), c.overall[static_cast<std::size_t>(k - 1)]);
    Num(p, f::FinishCountsJra.At(k), c.jra[static_cast<std::size_t>(k - 1)]);
  }
  const auto table = [&](FieldRef ref, const auto& rows) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (int k = 1; k <= 6; ++k) {
        Num(p, ref.At(static_cast<int>(row) + 1).Cell(k),
            rows[row][static_cast<std::size_t>(k - 1)]);
      }
    }
  };
  table(f::FinishCountsByTrack, c.track);
  table(f::FinishCountsByGoing, c.going);
  table(f::FinishCountsByDistance, c.distance);
  for (int k = 1; k <= 4; ++k)
    Num(p, f::RunningStyleCounts.At(k), c.style[static_cast<std::size_t>(k - 1)]);
  Num(p, f::RegisteredRaceCount, c.races);
  return records::ToDelivered(p);
}

std::string Emitter::BreedingHorse(int index) {
  namespace f = records::hn;
  const meridax::sample::BreedingHorse& b = w_.breeding[static_cast<std::size_t>(index)];
  ParsedRecord& p = hn_;
  p.Clear();
  Header(p, "HN", b.created.year >= w_.lastYear ? '1' : '2', b.created);
  p.Set(f::BreedingNumber, b.number);
  p.Set(f::HorseId, b.horseId);
  Text(p, f::HorseName, b.name.text);
  Text(p, f::HorseNameKana, b.name.kana);
  Text(p, f::HorseNameEnglish, b.name.latin);
  Num(p, f::BirthYear, b.birthYear);
  Char(p, f::SexCode, b.sex);
  Char(p, f::BreedCode, '1');
  p.Set(f::CoatColorCode, b.coat);
  Char(p, f::ImportCode, b.importCode);
  Num(p, f::ImportYear, b.importYear);
  Text(p, f::BirthplaceName, b.birthplace);
  p.Set(f::SireBreedingNumber, NumberOr(w_, b.sire));
  p.Set(f::DamBreedingNumber, NumberOr(w_, b.dam));
  return records::ToDelivered(p);
}

std::string Emitter::Offspring(int index) {
  namespace f = records::sk;
  const Foal& foal = w_.foals[static_cast<std::size_t>(index)];
  ParsedRecord& p = sk_;
  p.Clear();
  Header(p, "SK", foal.created.year >= w_.lastYear ? '1' : '2', foal.created);
  p.Set(f::HorseId, foal.horseId);
  DateFields(p, f::BirthYear, f::BirthMonth, f::BirthDay, foal.birth);
  Char(p, f::SexCode, foal.sex);
  Char(p, f::BreedCode, '1');
  p.Set(f::CoatColorCode, foal.coat);
  Char(p, f::ImportCode, foal.importCode);
  Num(p, f::ImportYear, foal.importYear);
  p.Set(f::BreederCode, w_.breeders[static_cast<std::size_t>(foal.breeder)].code);
  Text(p, f::BirthplaceName, foal.birthplace);
  const auto anc = Ancestors(w_, foal.sire, foal.dam);
  for (int e = 1; e <= 14; ++e) {
    p.Set(f::PedigreeBreedingNumbers.At(e), NumberOr(w_, anc[static_cast<std::size_t>(e)]));
  }
  return records::ToDelivered(p);
}

std::string Emitter::Jockey(int index) {
  namespace f = records::ks;
  const meridax::sample::Jockey& j = w_.jockeys[static_cast<std::size_t>(index)];
  ParsedRecord& p = ks_;
  p.Clear();
  PersonFields(w_, p, "KS", "Jockey", j);
  Char(p, f::RidingQualificationCode, j.qualification);
  Char(p, f::ApprenticeCode, j.apprentice);
  if (j.trainer >= 0) {
    const meridax::sample::Trainer& t = w_.trainers[static_cast<std::size_t>(j.trainer)];
    p.Set(f::TrainerCode, t.code);
    Text(p, f::TrainerShortName, t.name.shortName);
  } else {
    Num(p, f::TrainerCode, 0);
  }
  // First rides and first wins share their members' names but for the rides' last two.
  const auto firstRun = [&](const std::string& group, int e, const FirstRun& run) {
    const auto ref = [&](const char* member) { return p.Ref(group + "." + member).In(e); };
    Num(p, ref("RaceYear"), run.date.year);
    p.Set(ref("RaceMonthDay"), run.known ? run.date.MonthDay() : "0000");
    p.Set(ref("RacecourseCode"), run.known ? run.course : "00");
    Num(p, ref("MeetingNumber"), run.meeting);
    Num(p, ref("MeetingDay"), run.meetingDay);
    Num(p, ref("RaceNumber"), run.raceNumber);
    Num(p, ref("StarterCount"), run.starters);
    if (run.horse < 0) {
      Num(p, ref("HorseId"), 0);
    } else {
      const meridax::sample::Horse& h = w_.horses[static_cast<std::size_t>(run.horse)];
      p.Set(ref("HorseId"), w_.foals[static_cast<std::size_t>(h.foal)].horseId);
      Text(p, ref("HorseName"), h.name.text);
    }
  };
  for (int e = 1; e <= 2; ++e) {
    const FirstRun& ride = j.firstRides[static_cast<std::size_t>(e - 1)];
    firstRun("FirstRides", e, ride);
    Num(p, f::FirstRides_FinishPosition.In(e), ride.finish);
    Char(p, f::FirstRides_AbnormalityCode.In(e), ride.abnormality);
    firstRun("FirstWins", e, j.firstWins[static_cast<std::size_t>(e - 1)]);
  }
  return records::ToDelivered(p);
}

std::string Emitter::Trainer(int index) {
  const meridax::sample::Trainer& t = w_.trainers[static_cast<std::size_t>(index)];
  ParsedRecord& p = ch_;
  p.Clear();
  PersonFields(w_, p, "CH", "Trainer", t);
  return records::ToDelivered(p);
}

std::string Emitter::Breeder(int index) {
  namespace f = records::br;
  const meridax::sample::Breeder& b = w_.breeders[static_cast<std::size_t>(index)];
  ParsedRecord& p = br_;
  p.Clear();
  HolderFields(p, "BR", "Breeder", b);
  Text(p, f::BreederAddress, b.address);
  return records::ToDelivered(p);
}

std::string Emitter::Owner(int index) {
  namespace f = records::bn;
  const meridax::sample::Owner& o = w_.owners[static_cast<std::size_t>(index)];
  ParsedRecord& p = bn_;
  p.Clear();
  HolderFields(p, "BN", "Owner", o);
  Text(p, f::SilksDescription, o.silks);
  return records::ToDelivered(p);
}

std::string Emitter::Sale(int index) {
  namespace f = records::hs;
  const meridax::sample::Sale& s = w_.sales[static_cast<std::size_t>(index)];
  const meridax::sample::Horse& h = w_.horses[static_cast<std::size_t>(s.horse)];
  const Foal& foal = w_.foals[static_cast<std::size_t>(h.foal)];
  const NameMaker& names = NameMaker::Get();
  ParsedRecord& p = hs_;
  p.Clear();
  Header(p, "HS", '1', s.created);
  p.Set(f::HorseId, foal.horseId);
  p.Set(f::SireBreedingNumber, NumberOr(w_, foal.sire));
  p.Set(f::DamBreedingNumber, NumberOr(w_, foal.dam));
  Num(p, f::BirthYear, foal.birth.year);
  p.Set(f::MarketCode, s.marketCode);
  Text(p, f::MarketOrganizer, names.MarketOrganizer(s.market));
  Text(p, f::MarketName, names.MarketName(s.market, s.saleAge));
  DateFields(p, f::MarketStartYear, f::MarketStartMonth, f::MarketStartDay, s.start);
  DateFields(p, f::MarketEndYear, f::MarketEndMonth, f::MarketEndDay, s.end);
  Num(p, f::SaleAge, s.saleAge);
  Num(p, f::SalePrice, s.price);
  return records::ToDelivered(p);
}

}  // namespace meridax::sample
