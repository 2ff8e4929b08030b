#include "tests/runhistory/literal_builder.h"

#include <array>
#include <string>
#include <vector>

#include "datasetup/common/extended_run_record.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "records/parsers.h"

namespace meridax::testing {

namespace fs = std::filesystem;
namespace x = extended_run;
namespace se = records::se;
namespace ra = records::ra;
namespace um = records::um;
namespace ks = records::ks;
namespace hs = records::hs;
namespace sk = records::sk;
using records::Put;
using records::View;

namespace {

std::string Text(std::string_view record, records::FieldRef f) {
  return std::string(View(record, f));
}

std::string GetFoalOrder(const fs::path& data, const std::string& horse) {
  const std::string dam = Text(horse, um::Pedigree_BreedingNumber.In(2));
  RecordFile file(data / "HAHAHAN" / (dam + ".dat"), 208);
  std::int64_t remembered = 0;
  const std::int64_t count = file.Count();
  for (std::int64_t i = 1; i <= count; ++i) {
    if (Text(file.Read(i), sk::HorseId) == Text(horse, um::HorseId)) remembered = i;
  }
  file.Close();
  const std::string digits = std::to_string(remembered + 100);
  return digits.substr(digits.size() - 2);
}

}  // namespace

void LiteralBuildExtendedRuns(const fs::path& data) {
  // Form_Load.
  std::vector<std::array<std::string, 8>> marketSaleTable(1);
  {
    LineReader lines(data / "HS20180101.dat");
    records::ParsedHS parsed;
    std::string line;
    while (lines.Next(line)) {
      records::ParseHS(line, parsed);
      marketSaleTable.push_back(
          {std::string(parsed[hs::HorseId]), std::string(parsed[hs::MarketCode]),
           std::string(parsed[hs::MarketOrganizer]), std::string(parsed[hs::MarketName]),
           std::string(parsed[hs::MarketStartYear]) + std::string(parsed[hs::MarketStartMonth]) +
               std::string(parsed[hs::MarketStartDay]),
           std::string(parsed[hs::MarketEndYear]) + std::string(parsed[hs::MarketEndMonth]) +
               std::string(parsed[hs::MarketEndDay]),
           std::string(parsed[hs::SaleAge]), std::string(parsed[hs::SalePrice])});
    }
  }
  const auto marketSaleCount = static_cast<std::int64_t>(marketSaleTable.size()) - 1;

  // 1. The list, and every listed horse's file emptied.
  std::vector<std::string> extendedHorseIdTable(1);
  {
    ItemReader list(data / "KETTONUM20180101.dat");
    while (!list.AtEnd()) {
      extendedHorseIdTable.push_back(list.Next());
      const fs::path ex = data / "UMAGOTOEXSETUP" / (extendedHorseIdTable.back() + "EX.dat");
      DeleteFile(ex);
      RecordFile(ex, 1341).Close();
    }
  }
  // 2. Horse table: id, birth date, sire, dam, breeder, birthplace, invitation, foal order.
  std::vector<std::array<std::string, 8>> horseLookupTable(1);
  {
    RecordFile file(data / "UM20180101NEW.dat", 1609);
    for (std::int64_t i = 1; i <= file.Count(); ++i) {
      const std::string horse = file.Read(i);
      horseLookupTable.push_back({Text(horse, um::HorseId), Text(horse, um::BirthDate),
                                  Text(horse, um::Pedigree_BreedingNumber.In(1)),
                                  Text(horse, um::Pedigree_BreedingNumber.In(2)),
                                  Text(horse, um::BreederCode), Text(horse, um::BirthplaceName),
                                  Text(horse, um::InvitationRegion), GetFoalOrder(data, horse)});
    }
  }
  // 3. Jockey table: code, birth date, invitation region, sex, riding qualification.
  std::vector<std::array<std::string, 5>> jockeyLookupTable(1);
  {
    RecordFile file(data / "KS20180101NEW.dat", 4161);
    for (std::int64_t i = 1; i <= file.Count(); ++i) {
      const std::string jockey = file.Read(i);
      jockeyLookupTable.push_back({Text(jockey, ks::JockeyCode), Text(jockey, ks::BirthDate),
                                   Text(jockey, ks::InvitationRegion), Text(jockey, ks::SexCode),
                                   Text(jockey, ks::RidingQualificationCode)});
    }
  }
  // 4. Race table: the look-up key and the race record the fields are taken from.
  std::vector<std::array<std::string, 2>> raceLookupTable(1);
  {
    RecordFile file(data / "RA20180101NEW.dat", 1272);
    for (std::int64_t i = 1; i <= file.Count(); ++i) {
      const std::string race = file.Read(i);
      raceLookupTable.push_back({Text(race, ra::RacecourseCode) + Text(race, ra::RaceYear) +
                                     Text(race, ra::RaceMonthDay) + Text(race, ra::RaceNumber),
                                 race});
    }
  }

  // 5. One buffer for every record; nothing but the builder writes into it.
  std::string buffer(1341, ' ');
  for (std::size_t h = 1; h < extendedHorseIdTable.size(); ++h) {
    const std::string& id = extendedHorseIdTable[h];
    RecordFile ex(data / "UMAGOTOEXSETUP" / (id + "EX.dat"), 1341);
    RecordFile runs(data / "UMAGOTOSETUP" / (id + ".dat"), 555);
    const std::int64_t n = runs.Count();
    if (n == 0) continue;
    std::string run;
    for (std::int64_t j = 1; j <= n; ++j) {
      run = runs.Read(j);
      const std::string course = Text(run, se::RacecourseCode);
      if (!(course < "01") && !(course > "10")) break;
    }
    const std::string key = Text(run, se::HorseId);
    std::array<std::string, 8> horse{};
    for (std::size_t i = 1; i < horseLookupTable.size(); ++i) {
      if (horseLookupTable[i][0] == key) horse = horseLookupTable[i];
    }
    std::array<std::string, 8> sale{
        "", "\x95\x73\x96\xbe", "\x95\x73\x96\xbe", "\x95\x73\x96\xbe", "\x95\x73\x96\xbe", "", ""};
    for (std::int64_t i = 1; i <= marketSaleCount; ++i) {
      if (marketSaleTable[static_cast<std::size_t>(i)][0] == key) {
        for (int c = 1; c <= 7; ++c) {
          sale[static_cast<std::size_t>(c - 1)] =
              marketSaleTable[static_cast<std::size_t>(i)][static_cast<std::size_t>(c)];
        }
      }
    }
    for (std::int64_t j = 1; j <= n; ++j) {
      run = runs.Read(j);
      std::string race;
      std::array<std::string, 5> jockey{};
      const std::string raceKey = Text(run, se::RacecourseCode) + Text(run, se::RaceYear) +
                                  Text(run, se::RaceMonthDay) + Text(run, se::RaceNumber);
      for (std::size_t r = 1; r < raceLookupTable.size(); ++r) {
        if (raceLookupTable[r][0] != raceKey) continue;
        jockey = {};
        for (std::size_t k = 1; k < jockeyLookupTable.size(); ++k) {
          if (jockeyLookupTable[k][0] == Text(run, se::JockeyCode)) jockey = jockeyLookupTable[k];
        }
        race = raceLookupTable[r][1];
      }
      const auto R = [&](records::FieldRef f) { return race.empty() ? "" : Text(race, f); };
      Put(buffer, x::RecordSpec, Text(run, se::RecordSpec));
      Put(buffer, x::DataCategory, Text(run, se::DataCategory));
      Put(buffer, x::CreatedYear, Text(run, se::CreatedYear));
      Put(buffer, x::CreatedMonth, Text(run, se::CreatedMonth));
      Put(buffer, x::CreatedDay, Text(run, se::CreatedDay));
      Put(buffer, x::RaceYear, Text(run, se::RaceYear));
      Put(buffer, x::RaceMonthDay, Text(run, se::RaceMonthDay));
      Put(buffer, x::RacecourseCode, Text(run, se::RacecourseCode));
      Put(buffer, x::MeetingNumber, Text(run, se::MeetingNumber));
      Put(buffer, x::MeetingDay, Text(run, se::MeetingDay));
      Put(buffer, x::RaceNumber, Text(run, se::RaceNumber));
      Put(buffer, x::FrameNumber, Text(run, se::FrameNumber));
      Put(buffer, x::HorseNumber, Text(run, se::HorseNumber));
      Put(buffer, x::HorseId, Text(run, se::HorseId));
      Put(buffer, x::FoalOrder, horse[7]);
      Put(buffer, x::WeekdayCode, R(ra::WeekdayCode));
      Put(buffer, x::MarketCode, sale[0]);
      Put(buffer, x::MarketOrganizer, sale[1]);
      Put(buffer, x::MarketName, sale[2]);
      Put(buffer, x::MarketStartDate, sale[3]);
      Put(buffer, x::MarketEndDate, sale[4]);
      Put(buffer, x::SaleAge, sale[5]);
      Put(buffer, x::SalePrice, sale[6]);
      Put(buffer, x::BirthYear, horse[1].substr(0, std::min<std::size_t>(4, horse[1].size())));
      Put(buffer, x::BirthMonth, horse[1].size() > 4 ? horse[1].substr(4, 2) : "");
      Put(buffer, x::BirthDay, horse[1].size() > 6 ? horse[1].substr(6, 2) : "");
      Put(buffer, x::InvitationRegion, horse[6]);
      Put(buffer, x::BreederCode, horse[4]);
      Put(buffer, x::BirthplaceName, horse[5]);
      Put(buffer, x::AncestorBlocks_BreedingNumber.In(1), horse[2]);
      Put(buffer, x::AncestorBlocks_BirthYear.In(1), "");
      Put(buffer, x::AncestorBlocks_BirthplaceName.In(1), "");
      Put(buffer, x::AncestorBlocks_BreedingNumber.In(2), horse[3]);
      Put(buffer, x::AncestorBlocks_BirthYear.In(2), "");
      Put(buffer, x::AncestorBlocks_BirthplaceName.In(2), "");
      for (int e = 4; e <= 7; ++e) {
        Put(buffer, x::AncestorBlocks_BreedingNumber.In(e), "");
        Put(buffer, x::AncestorBlocks_BirthYear.In(e), "");
        Put(buffer, x::AncestorBlocks_BirthplaceName.In(e), "");
      }
      Put(buffer, x::HorseName, Text(run, se::HorseName));
      Put(buffer, x::HorseSymbolCode, Text(run, se::HorseSymbolCode));
      Put(buffer, x::SexCode, Text(run, se::SexCode));
      Put(buffer, x::BreedCode, Text(run, se::BreedCode));
      Put(buffer, x::CoatColorCode, Text(run, se::CoatColorCode));
      Put(buffer, x::AffiliationCode, Text(run, se::AffiliationCode));
      Put(buffer, x::TrainerCode, Text(run, se::TrainerCode));
      Put(buffer, x::OwnerCode, Text(run, se::OwnerCode));
      Put(buffer, x::SilksDescription, Text(run, se::SilksDescription));
      Put(buffer, x::WeightCarried, Text(run, se::WeightCarried));
      Put(buffer, x::WeightCarriedBefore, Text(run, se::WeightCarriedBefore));
      Put(buffer, x::BlinkerCode, Text(run, se::BlinkerCode));
      Put(buffer, x::Reserved2, Text(run, se::Reserved2));
      Put(buffer, x::JockeyCode, Text(run, se::JockeyCode));
      Put(buffer, x::JockeyBirthYear,
          jockey[1].substr(0, std::min<std::size_t>(4, jockey[1].size())));
      Put(buffer, x::JockeyBirthMonth, jockey[1].size() > 4 ? jockey[1].substr(4, 2) : "");
      Put(buffer, x::JockeyBirthDay, jockey[1].size() > 6 ? jockey[1].substr(6, 2) : "");
      Put(buffer, x::JockeySexCode, jockey[3]);
      Put(buffer, x::JockeyInvitationRegion, jockey[2]);
      Put(buffer, x::RidingQualificationCode, jockey[4]);
      Put(buffer, x::JockeyCodeBefore, Text(run, se::JockeyCodeBefore));
      Put(buffer, x::JockeyShortName, Text(run, se::JockeyShortName));
      Put(buffer, x::JockeyShortNameBefore, Text(run, se::JockeyShortNameBefore));
      Put(buffer, x::ApprenticeCode, Text(run, se::ApprenticeCode));
      Put(buffer, x::ApprenticeCodeBefore, Text(run, se::ApprenticeCodeBefore));
      Put(buffer, x::BodyWeight, Text(run, se::BodyWeight));
      Put(buffer, x::BodyWeightChangeSign, Text(run, se::BodyWeightChangeSign));
      Put(buffer, x::BodyWeightChange, Text(run, se::BodyWeightChange));
      Put(buffer, x::AbnormalityCode, Text(run, se::AbnormalityCode));
      Put(buffer, x::ArrivalOrder, Text(run, se::ArrivalOrder));
      Put(buffer, x::FinishPosition, Text(run, se::FinishPosition));
      Put(buffer, x::DeadHeatCode, Text(run, se::DeadHeatCode));
      Put(buffer, x::DeadHeatCount, Text(run, se::DeadHeatCount));
      Put(buffer, x::FinishTime, Text(run, se::FinishTime));
      Put(buffer, x::MarginCode, Text(run, se::MarginCode));
      Put(buffer, x::MarginCodePlus, Text(run, se::MarginCodePlus));
      Put(buffer, x::MarginCodePlusPlus, Text(run, se::MarginCodePlusPlus));
      for (int k = 1; k <= 4; ++k) {
        Put(buffer, x::CornerPositions.At(k), Text(run, se::CornerPositions.At(k)));
      }
      Put(buffer, x::WinOdds, Text(run, se::WinOdds));
      Put(buffer, x::WinPopularity, Text(run, se::WinPopularity));
      Put(buffer, x::PrizeMoney, Text(run, se::PrizeMoney));
      Put(buffer, x::AddedMoney, Text(run, se::AddedMoney));
      Put(buffer, x::Reserved3, Text(run, se::Reserved3));
      Put(buffer, x::Reserved4, Text(run, se::Reserved4));
      Put(buffer, x::Last4FurlongTime, Text(run, se::Last4FurlongTime));
      Put(buffer, x::Last3FurlongTime, Text(run, se::Last3FurlongTime));
      Put(buffer, x::TimeBehindWinner, Text(run, se::TimeBehindWinner));
      Put(buffer, x::GradeCode, R(ra::GradeCode));
      Put(buffer, x::GradeCodeBefore, R(ra::GradeCodeBefore));
      Put(buffer, x::RaceConditionKind, R(ra::RaceConditionKind));
      Put(buffer, x::RaceConditionSymbol, R(ra::RaceConditionSymbol));
      Put(buffer, x::RaceWeightKind, R(ra::RaceWeightKind));
      for (int k = 1; k <= 5; ++k) {
        Put(buffer, x::RaceAgeConditions.At(k), R(ra::RaceAgeConditions.At(k)));
      }
      Put(buffer, x::Distance, R(ra::Distance));
      Put(buffer, x::DistanceBefore, R(ra::DistanceBefore));
      Put(buffer, x::TrackCode, R(ra::TrackCode));
      Put(buffer, x::TrackCodeBefore, R(ra::TrackCodeBefore));
      Put(buffer, x::CourseDivision, R(ra::CourseDivision));
      Put(buffer, x::CourseDivisionBefore, R(ra::CourseDivisionBefore));
      for (int k = 1; k <= 7; ++k) {
        Put(buffer, x::PrizeMoneyByPlace.At(k), R(ra::PrizeMoneyByPlace.At(k)));
      }
      for (int k = 1; k <= 5; ++k) {
        Put(buffer, x::PrizeMoneyByPlaceBefore.At(k), R(ra::PrizeMoneyByPlaceBefore.At(k)));
        Put(buffer, x::AddedMoneyByPlace.At(k), R(ra::AddedMoneyByPlace.At(k)));
      }
      for (int k = 1; k <= 3; ++k) {
        Put(buffer, x::AddedMoneyByPlaceBefore.At(k), R(ra::AddedMoneyByPlaceBefore.At(k)));
      }
      Put(buffer, x::PostTime, R(ra::PostTime));
      Put(buffer, x::PostTimeBefore, R(ra::PostTimeBefore));
      Put(buffer, x::RegisteredCount, R(ra::RegisteredCount));
      Put(buffer, x::StarterCount, R(ra::StarterCount));
      Put(buffer, x::FinisherCount, R(ra::FinisherCount));
      Put(buffer, x::WeatherCode, R(ra::WeatherCode));
      Put(buffer, x::TurfGoingCode, R(ra::TurfGoingCode));
      Put(buffer, x::DirtGoingCode, R(ra::DirtGoingCode));
      for (int k = 1; k <= 25; ++k) {
        Put(buffer, x::FurlongLeaderTimes.At(k), R(ra::FurlongLeaderTimes.At(k)));
      }
      Put(buffer, x::JumpMileTime, R(ra::JumpMileTime));
      Put(buffer, x::First3FurlongLapTime, R(ra::First3FurlongLapTime));
      Put(buffer, x::First4FurlongLapTime, R(ra::First4FurlongLapTime));
      Put(buffer, x::Last3FurlongLapTime, R(ra::Last3FurlongLapTime));
      Put(buffer, x::Last4FurlongLapTime, R(ra::Last4FurlongLapTime));
      for (int k = 1; k <= 4; ++k) {
        Put(buffer, x::CornerPassings_CornerNumber.In(k), R(ra::CornerPassings_CornerNumber.In(k)));
        Put(buffer, x::CornerPassings_LapCount.In(k), R(ra::CornerPassings_LapCount.In(k)));
        Put(buffer, x::CornerPassings_PassingOrder.In(k), R(ra::CornerPassings_PassingOrder.In(k)));
      }
      Put(buffer, x::LineEnd, Text(run, se::LineEnd));
      ex.Write(j, buffer);
    }
    ex.Close();
  }
}

}  // namespace meridax::testing
