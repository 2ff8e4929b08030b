// A small world read back through the record parsers: every key that one file names exists
// in the file that owns it, and the figures that later steps add up agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "records/parsers.h"
#include "tests/sample/service_files.h"

namespace meridax {
namespace {

using namespace records;
using sample::Hazards;
using sample::Size;

int Num(std::string_view text) {
  return text.empty() ? 0 : std::stoi(std::string(text));
}

// The served records of one kind, parsed.
template <class P>
std::vector<P> ParseAll(const std::vector<std::string>& records) {
  std::vector<P> out(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) Parse(records[i], out[i]);
  return out;
}

class WorldKeysTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing::SampleFolder(Size::kSmall, 21, Hazards::None());
    kinds_ = new std::map<std::string, std::vector<std::string>>(
        testing::ByKind(testing::ServedRecords(folder_->service())));
  }
  static void TearDownTestSuite() {
    delete kinds_;
    delete folder_;
  }
  static const std::vector<std::string>& Of(const char* kind) { return kinds_->at(kind); }

  static testing::SampleFolder* folder_;
  static std::map<std::string, std::vector<std::string>>* kinds_;
};
testing::SampleFolder* WorldKeysTest::folder_ = nullptr;
std::map<std::string, std::vector<std::string>>* WorldKeysTest::kinds_ = nullptr;

std::string RaceKeyOf(const ParsedRecord& p, FieldRef year, FieldRef md, FieldRef course,
                      FieldRef meeting, FieldRef day, FieldRef number) {
  return std::string(p[year]) + std::string(p[md]) + std::string(p[course]) +
         std::string(p[meeting]) + std::string(p[day]) + std::string(p[number]);
}

TEST_F(WorldKeysTest, RunnersBelongToTheirRacesWithOneWinnerAndDistinctNumbers) {
  const auto races = ParseAll<ParsedRA>(Of("RA"));
  const auto runners = ParseAll<ParsedSE>(Of("SE"));
  std::map<std::string, const ParsedRA*> byKey;
  for (const auto& r : races) {
    const std::string key = RaceKeyOf(r, ra::RaceYear, ra::RaceMonthDay, ra::RacecourseCode,
                                      ra::MeetingNumber, ra::MeetingDay, ra::RaceNumber);
    EXPECT_TRUE(byKey.emplace(key, &r).second) << key;
  }
  std::map<std::string, std::vector<const ParsedSE*>> field;
  for (const auto& s : runners) {
    field[RaceKeyOf(s, se::RaceYear, se::RaceMonthDay, se::RacecourseCode, se::MeetingNumber,
                    se::MeetingDay, se::RaceNumber)]
        .push_back(&s);
  }
  EXPECT_EQ(field.size(), byKey.size());
  std::set<int> weekdays, years;
  std::set<std::string> courses;
  std::set<char> kinds;
  for (const auto& [key, list] : field) {
    ASSERT_TRUE(byKey.count(key)) << "runners of a race that has no record: " << key;
    const ParsedRA& race = *byKey.at(key);
    int winners = 0, previousFrame = 0, starters = 0;
    std::set<int> numbers;
    for (const ParsedSE* s : list) {
      winners += (*s)[se::ArrivalOrder] == "01";
      const int number = Num((*s)[se::HorseNumber]), frame = Num((*s)[se::FrameNumber]);
      EXPECT_TRUE(numbers.insert(number).second) << key;
      EXPECT_GE(frame, previousFrame) << "frames follow the horse numbers in " << key;
      EXPECT_TRUE(frame >= 1 && frame <= 8) << key;
      previousFrame = frame;
      starters += (*s)[se::AbnormalityCode] != "1";
      if ((*s)[se::AbnormalityCode] == "0") {
        // A plausible time: between 50 and 75 km/h over the race distance.
        const std::string_view t = (*s)[se::FinishTime];
        const double tenths = Num(t.substr(0, 1)) * 600 + Num(t.substr(1, 3));
        const double kmh = Num(race[ra::Distance]) / tenths * 36;
        const bool jump = Num(race[ra::TrackCode]) >= 51;
        EXPECT_TRUE(kmh > (jump ? 40 : 50) && kmh < 75) << key << " " << t << " " << kmh;
        EXPECT_LT(Num((*s)[se::Last3FurlongTime]), tenths) << key;
        EXPECT_GT(Num((*s)[se::WinOdds]), 10) << key;
        EXPECT_GE(Num((*s)[se::BodyWeight]), 360) << key;
      }
    }
    EXPECT_EQ(winners, 1) << key;
    EXPECT_EQ(*numbers.rbegin(), static_cast<int>(list.size())) << key;
    EXPECT_EQ(Num(race[ra::RegisteredCount]), static_cast<int>(list.size())) << key;
    EXPECT_EQ(Num(race[ra::StarterCount]), starters) << key;
    // The leader's furlongs add up to the winner's time.
    int laps = 0;
    for (int k = 1; k <= 25; ++k) laps += Num(race[ra::FurlongLeaderTimes.At(k)]);
    for (const ParsedSE* s : list) {
      if ((*s)[se::ArrivalOrder] == "01") {
        const std::string_view t = (*s)[se::FinishTime];
        EXPECT_EQ(laps, Num(t.substr(0, 1)) * 600 + Num(t.substr(1, 3))) << key;
      }
    }
    const int year = Num(race[ra::RaceYear]);
    const int md = Num(race[ra::RaceMonthDay]);
    const sample::Date date{year, md / 100, md % 100};
    weekdays.insert(date.Weekday());
    years.insert(year);
    courses.insert(std::string(race[ra::RacecourseCode]));
    const int track = Num(race[ra::TrackCode]);
    kinds.insert(track <= 22 ? 'T' : track <= 29 ? 'D' : 'J');
    EXPECT_TRUE((track >= 10 && track <= 29) || (track >= 51 && track <= 59)) << key;
  }
  EXPECT_TRUE(weekdays.count(6) && weekdays.count(0) && weekdays.size() > 2);
  // The world's own years and, before them, the older era.
  EXPECT_TRUE(years.count(2019) && years.count(2023));
  EXPECT_EQ(*years.rbegin(), 2023);
  EXPECT_GE(*years.begin(), 2001);
  EXPECT_LE(*years.begin(), 2008);
  EXPECT_EQ(std::count_if(years.begin(), years.end(), [](int y) { return y > 2008 && y < 2019; }),
            0);
  EXPECT_TRUE(courses.count("05") && courses.size() > 4);
  EXPECT_TRUE(*courses.rbegin() > "10") << "races at courses other than 01 to 10";
  EXPECT_EQ(kinds.size(), 3u) << "turf, dirt and jump";
}

TEST_F(WorldKeysTest, EveryCodeARecordNamesExistsInItsOwnFile) {
  std::map<std::string, ParsedUM> horses;
  for (const auto& r : Of("UM")) Parse(r, horses[r.substr(um::HorseId.pos - 1, 10)]);
  std::map<std::string, char> breeding;  // number -> sex
  for (const auto& h : ParseAll<ParsedHN>(Of("HN"))) {
    breeding[std::string(h[hn::BreedingNumber])] = h[hn::SexCode][0];
  }
  std::set<std::string> jockeys, trainers, owners, breeders;
  for (const auto& k : ParseAll<ParsedKS>(Of("KS"))) jockeys.insert(std::string(k[ks::JockeyCode]));
  for (const auto& c : ParseAll<ParsedCH>(Of("CH")))
    trainers.insert(std::string(c[ch::TrainerCode]));
  for (const auto& b : ParseAll<ParsedBN>(Of("BN"))) owners.insert(std::string(b[bn::OwnerCode]));
  for (const auto& b : ParseAll<ParsedBR>(Of("BR")))
    breeders.insert(std::string(b[br::BreederCode]));
  EXPECT_EQ(horses.size(), Of("UM").size());
  EXPECT_EQ(breeding.size(), Of("HN").size());

  std::map<std::string, std::set<std::string>> raceYears;  // by horse
  for (const auto& s : ParseAll<ParsedSE>(Of("SE"))) {
    const std::string id(s[se::HorseId]);
    raceYears[id].insert(std::string(s[se::RaceYear]));
    ASSERT_TRUE(horses.count(id)) << id;
    EXPECT_TRUE(jockeys.count(std::string(s[se::JockeyCode])));
    EXPECT_TRUE(trainers.count(std::string(s[se::TrainerCode])));
    EXPECT_TRUE(owners.count(std::string(s[se::OwnerCode])));
    EXPECT_EQ(s[se::TrainerCode], horses.at(id)[um::TrainerCode]);
    EXPECT_EQ(s[se::HorseName], horses.at(id)[um::HorseName]);
  }
  for (const auto& [id, h] : horses) {
    EXPECT_EQ(id.substr(0, 4), h[um::BirthYear]) << "the id begins with the year of birth";
    if (id.substr(0, 4) < "2010") {
      // Horses born before 2010 are the older era's and run only in its years.
      for (const std::string& year : raceYears[id]) {
        EXPECT_TRUE(year >= "2001" && year <= "2008") << id << " in " << year;
      }
    }
    EXPECT_EQ(breeding.at(std::string(h[um::Pedigree_BreedingNumber.In(1)])), '1') << id;
    EXPECT_EQ(breeding.at(std::string(h[um::Pedigree_BreedingNumber.In(2)])), '2') << id;
    EXPECT_TRUE(trainers.count(std::string(h[um::TrainerCode]))) << id;
    EXPECT_TRUE(owners.count(std::string(h[um::OwnerCode]))) << id;
    EXPECT_TRUE(breeders.count(std::string(h[um::BreederCode]))) << id;
    if (h[um::DeregistrationCode] == "1") {
      EXPECT_NE(h[um::RegisteredRaceCount], "000") << id;
    }
  }
  for (const auto& hs : ParseAll<ParsedHS>(Of("HS"))) {
    const std::string id(hs[hs::HorseId]);
    ASSERT_TRUE(horses.count(id)) << id;
    EXPECT_EQ(hs[hs::SireBreedingNumber], horses.at(id)[um::Pedigree_BreedingNumber.In(1)]);
    EXPECT_EQ(hs[hs::DamBreedingNumber], horses.at(id)[um::Pedigree_BreedingNumber.In(2)]);
  }
  std::set<std::string> prefixes;
  for (const auto& b : breeders) EXPECT_TRUE(prefixes.insert(b.substr(0, 6)).second) << b;
}

TEST_F(WorldKeysTest, BreedingHorsesFormFemaleLinesAndEveryFoalHasItsOffspringRecord) {
  std::map<std::string, ParsedHN> breeding;
  for (const auto& r : Of("HN")) Parse(r, breeding[r.substr(hn::BreedingNumber.pos - 1, 10)]);
  std::map<std::string, ParsedSK> offspring;
  for (const auto& r : Of("SK")) Parse(r, offspring[r.substr(sk::HorseId.pos - 1, 10)]);
  EXPECT_EQ(offspring.size(), Of("SK").size());
  const std::string none(10, '0');
  int deepest = 0;
  for (const auto& [number, h] : breeding) {
    for (FieldRef parent : {hn::SireBreedingNumber, hn::DamBreedingNumber}) {
      const std::string p(h[parent]);
      if (p == none) continue;
      ASSERT_TRUE(breeding.count(p)) << number;
      EXPECT_EQ(breeding.at(p)[hn::SexCode], parent == hn::SireBreedingNumber ? "1" : "2");
    }
    if (h[hn::SireBreedingNumber] != none) {
      // A bred horse has its offspring record, with the same parents.
      const std::string id(h[hn::HorseId]);
      ASSERT_TRUE(offspring.count(id)) << number;
      EXPECT_EQ(offspring.at(id)[sk::PedigreeBreedingNumbers.At(1)], h[hn::SireBreedingNumber]);
      EXPECT_EQ(offspring.at(id)[sk::PedigreeBreedingNumbers.At(2)], h[hn::DamBreedingNumber]);
    }
    if (h[hn::SexCode] == "2") {
      int depth = 0;
      for (std::string d(h[hn::DamBreedingNumber]); d != none;
           d = std::string(breeding.at(d)[hn::DamBreedingNumber])) {
        ++depth;
      }
      deepest = std::max(deepest, depth);
    }
  }
  EXPECT_GE(deepest, 4) << "female lines several generations deep";
  for (const auto& r : Of("UM")) {
    ParsedUM h;
    Parse(r, h);
    const std::string id(h[um::HorseId]);
    ASSERT_TRUE(offspring.count(id)) << id;
    for (int e = 1; e <= 14; ++e) {
      EXPECT_EQ(offspring.at(id)[sk::PedigreeBreedingNumbers.At(e)],
                h[um::Pedigree_BreedingNumber.In(e)])
          << id << " ancestor " << e;
    }
    EXPECT_EQ(offspring.at(id)[sk::BreederCode], h[um::BreederCode]);
  }
}

TEST_F(WorldKeysTest, FinishCountTablesAddUpToTheOverallCounts) {
  std::map<std::string, int> runs;
  for (const auto& s : ParseAll<ParsedSE>(Of("SE"))) {
    if (s[se::AbnormalityCode] != "1") ++runs[std::string(s[se::HorseId])];
  }
  bool someRaced = false;
  for (const auto& h : ParseAll<ParsedUM>(Of("UM"))) {
    const std::string id(h[um::HorseId]);
    int overall = 0, jump = 0, style = 0;
    std::array<int, 6> track{}, going{}, distance{};
    for (int c = 1; c <= 6; ++c) {
      const int n = Num(h[um::FinishCountsOverall.At(c)]);
      overall += n;
      for (int r = 1; r <= 7; ++r) track[c - 1] += Num(h[um::FinishCountsByTrack.At(r).Cell(c)]);
      for (int r = 1; r <= 12; ++r) going[c - 1] += Num(h[um::FinishCountsByGoing.At(r).Cell(c)]);
      for (int r = 1; r <= 6; ++r) {
        distance[c - 1] += Num(h[um::FinishCountsByDistance.At(r).Cell(c)]);
      }
      jump += Num(h[um::FinishCountsByTrack.At(7).Cell(c)]);
      EXPECT_EQ(track[c - 1], n) << id;
      EXPECT_EQ(going[c - 1], n) << id;
      EXPECT_EQ(distance[c - 1] + Num(h[um::FinishCountsByTrack.At(7).Cell(c)]), n)
          << id << ": distance rows hold the flat runs";
      EXPECT_LE(Num(h[um::FinishCountsJra.At(c)]), n) << id;
    }
    for (int k = 1; k <= 4; ++k) style += Num(h[um::RunningStyleCounts.At(k)]);
    EXPECT_EQ(Num(h[um::RegisteredRaceCount]), overall) << id;
    EXPECT_LE(style, overall) << id;
    EXPECT_LE(runs[id], overall) << id << ": every run in the world is counted";
    if (overall == 0) {
      EXPECT_EQ(Num(h[um::FlatPrizeTotal]) + Num(h[um::JumpPrizeTotal]), 0) << id;
    }
    someRaced = someRaced || runs[id] > 0;
  }
  EXPECT_TRUE(someRaced);
}

// The sums the jockey and trainer statistics take, as 16-bit numbers.
template <class P>
void ExpectSmallSums(const std::vector<std::string>& records) {
  const Layout& layout = P().layout();
  const FieldRef distance = FieldOf(layout, "Performance.DistanceFinishCounts");
  const FieldRef jumpCounts = FieldOf(layout, "Performance.JumpFinishCounts");
  for (const auto& p : ParseAll<P>(records)) {
    for (int b = 1; b <= 3; ++b) {
      int turf = 0, dirt = 0, jump = 0;
      for (int r = 1; r <= 6; ++r) {
        for (int c = 1; c <= 6; ++c) (r <= 3 ? turf : dirt) += Num(p[distance.In(b).At(r).Cell(c)]);
      }
      for (int c = 1; c <= 6; ++c) jump += Num(p[jumpCounts.In(b).At(c)]);
      EXPECT_LT(turf, 32767);
      EXPECT_LT(dirt, 32767);
      EXPECT_LT(jump, 32767);
    }
  }
}

TEST_F(WorldKeysTest, PersonBlocksStayWithinTheirSums) {
  ExpectSmallSums<ParsedKS>(Of("KS"));
  ExpectSmallSums<ParsedCH>(Of("CH"));
}

TEST_F(WorldKeysTest, TextFieldsHoldDoubleByteNamesHalfWidthKanaAndExtensionCharacters) {
  bool wholeField = false, halfWidth = false, extension = false;
  for (const auto& h : ParseAll<ParsedUM>(Of("UM"))) {
    const std::string_view name = h[um::HorseName];
    wholeField = wholeField || (name.size() == 36 && name.find(' ') == std::string_view::npos);
    for (unsigned char c : h[um::HorseNameKana]) halfWidth = halfWidth || (c >= 0xA1 && c <= 0xDF);
  }
  for (const auto& k : ParseAll<ParsedKS>(Of("KS"))) {
    const std::string_view name = k[ks::JockeyName];
    for (std::size_t i = 0; i < name.size(); ++i) {
      const auto c = static_cast<unsigned char>(name[i]);
      if (c == 0x87 || c == 0xED || c == 0xEE || c >= 0xFA) extension = true;
      if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ++i;
    }
  }
  for (const auto& b : ParseAll<ParsedBR>(Of("BR"))) {
    const std::string_view name = b[br::BreederNameCorporate];
    extension = extension || name.find("\x87\x8A") != std::string_view::npos ||
                name.find("\x87\x8B") != std::string_view::npos;
  }
  EXPECT_TRUE(wholeField);
  EXPECT_TRUE(halfWidth);
  EXPECT_TRUE(extension);
}

TEST_F(WorldKeysTest, SomeHorsesAreSoldTwice) {
  std::map<std::string, int> sales;
  for (const auto& s : ParseAll<ParsedHS>(Of("HS"))) ++sales[std::string(s[hs::HorseId])];
  int twice = 0;
  for (const auto& [id, n] : sales) twice += n > 1;
  EXPECT_GT(twice, 0);
  EXPECT_LT(sales.size(), Of("UM").size()) << "only part of the horses are sold";
}

}  // namespace
}  // namespace meridax
