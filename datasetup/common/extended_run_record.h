#pragma once

// ExtendedRunRecord (UMAGOTOEXSETUP\<HorseId>EX.dat): 1341 bytes, one run of a horse joined
// with its race, horse, sire and dam numbers, foal order, jockey and last market sale.
// Record j of a horse's file belongs to record j of its race file. Positions 1-40 repeat
// the runner record's; 745-1339 hold the race record's fields from GradeCode to the end of
// CornerPassings in their order, without ConditionName.

#include <cstdint>
#include <span>
#include <string_view>

#include "records/layouts.h"

namespace meridax {

namespace extended_run_detail {
using records::F;
using records::G;
inline constexpr records::FieldSpec kFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("RaceYear", 12, 4),
    F("RaceMonthDay", 16, 4),
    F("RacecourseCode", 20, 2),
    F("MeetingNumber", 22, 2),
    F("MeetingDay", 24, 2),
    F("RaceNumber", 26, 2),
    F("FrameNumber", 28, 1),
    F("HorseNumber", 29, 2),
    F("HorseId", 31, 10),
    F("FoalOrder", 41, 2),
    F("WeekdayCode", 43, 1),
    F("MarketCode", 44, 6),
    F("MarketOrganizer", 50, 40),
    F("MarketName", 90, 80),
    F("MarketStartDate", 170, 8),
    F("MarketEndDate", 178, 8),
    F("SaleAge", 186, 1),
    F("SalePrice", 187, 10),
    F("BirthYear", 197, 4),
    F("BirthMonth", 201, 2),
    F("BirthDay", 203, 2),
    F("InvitationRegion", 205, 20),
    F("BreederCode", 225, 8),
    F("BirthplaceName", 233, 20),
    // Seven ancestor blocks; the builder fills only the sire and dam numbers (1 and 2).
    G("AncestorBlocks", 253, 34, 7, 3),
    F("AncestorBlocks.BreedingNumber", 0, 10),
    F("AncestorBlocks.BirthYear", 10, 4),
    F("AncestorBlocks.BirthplaceName", 14, 20),
    F("HorseName", 491, 36),
    F("Unassigned527", 527, 1),
    F("HorseSymbolCode", 528, 2),
    F("SexCode", 530, 1),
    F("BreedCode", 531, 1),
    F("CoatColorCode", 532, 2),
    F("AffiliationCode", 534, 1),
    F("TrainerCode", 535, 5),
    F("OwnerCode", 540, 6),
    F("SilksDescription", 546, 60),
    F("WeightCarried", 606, 3),
    F("WeightCarriedBefore", 609, 3),
    F("BlinkerCode", 612, 1),
    F("Reserved2", 613, 1),
    F("JockeyCode", 614, 5),
    F("JockeyBirthYear", 619, 4),
    F("JockeyBirthMonth", 623, 2),
    F("JockeyBirthDay", 625, 2),
    F("JockeySexCode", 627, 1),
    F("JockeyInvitationRegion", 628, 20),
    F("RidingQualificationCode", 648, 1),
    F("JockeyCodeBefore", 649, 5),
    F("JockeyShortName", 654, 8),
    F("JockeyShortNameBefore", 662, 8),
    F("ApprenticeCode", 670, 1),
    F("ApprenticeCodeBefore", 671, 1),
    F("BodyWeight", 672, 3),
    F("BodyWeightChangeSign", 675, 1),
    F("BodyWeightChange", 676, 3),
    F("AbnormalityCode", 679, 1),
    F("ArrivalOrder", 680, 2),
    F("FinishPosition", 682, 2),
    F("DeadHeatCode", 684, 1),
    F("DeadHeatCount", 685, 1),
    F("FinishTime", 686, 4),
    F("MarginCode", 690, 3),
    F("MarginCodePlus", 693, 3),
    F("MarginCodePlusPlus", 696, 3),
    F("CornerPositions", 699, 2, 4),
    F("WinOdds", 707, 4),
    F("WinPopularity", 711, 2),
    F("PrizeMoney", 713, 8),
    F("AddedMoney", 721, 8),
    F("Reserved3", 729, 3),
    F("Reserved4", 732, 3),
    F("Last4FurlongTime", 735, 3),
    F("Last3FurlongTime", 738, 3),
    F("TimeBehindWinner", 741, 4),
    F("GradeCode", 745, 1),
    F("GradeCodeBefore", 746, 1),
    F("RaceConditionKind", 747, 2),
    F("RaceConditionSymbol", 749, 3),
    F("RaceWeightKind", 752, 1),
    F("RaceAgeConditions", 753, 3, 5),
    F("Distance", 768, 4),
    F("DistanceBefore", 772, 4),
    F("TrackCode", 776, 2),
    F("TrackCodeBefore", 778, 2),
    F("CourseDivision", 780, 2),
    F("CourseDivisionBefore", 782, 2),
    F("PrizeMoneyByPlace", 784, 8, 7),
    F("PrizeMoneyByPlaceBefore", 840, 8, 5),
    F("AddedMoneyByPlace", 880, 8, 5),
    F("AddedMoneyByPlaceBefore", 920, 8, 3),
    F("PostTime", 944, 4),
    F("PostTimeBefore", 948, 4),
    F("RegisteredCount", 952, 2),
    F("StarterCount", 954, 2),
    F("FinisherCount", 956, 2),
    F("WeatherCode", 958, 1),
    F("TurfGoingCode", 959, 1),
    F("DirtGoingCode", 960, 1),
    F("FurlongLeaderTimes", 961, 3, 25),
    F("JumpMileTime", 1036, 4),
    F("First3FurlongLapTime", 1040, 3),
    F("First4FurlongLapTime", 1043, 3),
    F("Last3FurlongLapTime", 1046, 3),
    F("Last4FurlongLapTime", 1049, 3),
    G("CornerPassings", 1052, 72, 4, 3),
    F("CornerPassings.CornerNumber", 0, 1),
    F("CornerPassings.LapCount", 1, 1),
    F("CornerPassings.PassingOrder", 2, 70),
    F("LineEnd", 1340, 2),
};
}  // namespace extended_run_detail

inline constexpr int kExtendedRunLength = 1341;
inline constexpr records::Layout kExtendedRunLayout{"ExtendedRun", extended_run_detail::kFields,
                                                    kExtendedRunLength, kExtendedRunLength};
static_assert(records::LayoutIsValid(kExtendedRunLayout));

namespace extended_run {
using records::FieldOf;
using records::FieldRef;
inline constexpr FieldRef RecordSpec = FieldOf(kExtendedRunLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kExtendedRunLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kExtendedRunLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kExtendedRunLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kExtendedRunLayout, "CreatedDay");
inline constexpr FieldRef RaceYear = FieldOf(kExtendedRunLayout, "RaceYear");
inline constexpr FieldRef RaceMonthDay = FieldOf(kExtendedRunLayout, "RaceMonthDay");
inline constexpr FieldRef RacecourseCode = FieldOf(kExtendedRunLayout, "RacecourseCode");
inline constexpr FieldRef MeetingNumber = FieldOf(kExtendedRunLayout, "MeetingNumber");
inline constexpr FieldRef MeetingDay = FieldOf(kExtendedRunLayout, "MeetingDay");
inline constexpr FieldRef RaceNumber = FieldOf(kExtendedRunLayout, "RaceNumber");
inline constexpr FieldRef FrameNumber = FieldOf(kExtendedRunLayout, "FrameNumber");
inline constexpr FieldRef HorseNumber = FieldOf(kExtendedRunLayout, "HorseNumber");
inline constexpr FieldRef HorseId = FieldOf(kExtendedRunLayout, "HorseId");
inline constexpr FieldRef FoalOrder = FieldOf(kExtendedRunLayout, "FoalOrder");
inline constexpr FieldRef WeekdayCode = FieldOf(kExtendedRunLayout, "WeekdayCode");
inline constexpr FieldRef MarketCode = FieldOf(kExtendedRunLayout, "MarketCode");
inline constexpr FieldRef MarketOrganizer = FieldOf(kExtendedRunLayout, "MarketOrganizer");
inline constexpr FieldRef MarketName = FieldOf(kExtendedRunLayout, "MarketName");
inline constexpr FieldRef MarketStartDate = FieldOf(kExtendedRunLayout, "MarketStartDate");
inline constexpr FieldRef MarketEndDate = FieldOf(kExtendedRunLayout, "MarketEndDate");
inline constexpr FieldRef SaleAge = FieldOf(kExtendedRunLayout, "SaleAge");
inline constexpr FieldRef SalePrice = FieldOf(kExtendedRunLayout, "SalePrice");
inline constexpr FieldRef BirthYear = FieldOf(kExtendedRunLayout, "BirthYear");
inline constexpr FieldRef BirthMonth = FieldOf(kExtendedRunLayout, "BirthMonth");
inline constexpr FieldRef BirthDay = FieldOf(kExtendedRunLayout, "BirthDay");
inline constexpr FieldRef InvitationRegion = FieldOf(kExtendedRunLayout, "InvitationRegion");
inline constexpr FieldRef BreederCode = FieldOf(kExtendedRunLayout, "BreederCode");
inline constexpr FieldRef BirthplaceName = FieldOf(kExtendedRunLayout, "BirthplaceName");
inline constexpr FieldRef AncestorBlocks = FieldOf(kExtendedRunLayout, "AncestorBlocks");
inline constexpr FieldRef AncestorBlocks_BreedingNumber =
    FieldOf(kExtendedRunLayout, "AncestorBlocks.BreedingNumber");
inline constexpr FieldRef AncestorBlocks_BirthYear =
    FieldOf(kExtendedRunLayout, "AncestorBlocks.BirthYear");
inline constexpr FieldRef AncestorBlocks_BirthplaceName =
    FieldOf(kExtendedRunLayout, "AncestorBlocks.BirthplaceName");
inline constexpr FieldRef HorseName = FieldOf(kExtendedRunLayout, "HorseName");
inline constexpr FieldRef Unassigned527 = FieldOf(kExtendedRunLayout, "Unassigned527");
inline constexpr FieldRef HorseSymbolCode = FieldOf(kExtendedRunLayout, "HorseSymbolCode");
inline constexpr FieldRef SexCode = FieldOf(kExtendedRunLayout, "SexCode");
inline constexpr FieldRef BreedCode = FieldOf(kExtendedRunLayout, "BreedCode");
inline constexpr FieldRef CoatColorCode = FieldOf(kExtendedRunLayout, "CoatColorCode");
inline constexpr FieldRef AffiliationCode = FieldOf(kExtendedRunLayout, "AffiliationCode");
inline constexpr FieldRef TrainerCode = FieldOf(kExtendedRunLayout, "TrainerCode");
inline constexpr FieldRef OwnerCode = FieldOf(kExtendedRunLayout, "OwnerCode");
inline constexpr FieldRef SilksDescription = FieldOf(kExtendedRunLayout, "SilksDescription");
inline constexpr FieldRef WeightCarried = FieldOf(kExtendedRunLayout, "WeightCarried");
inline constexpr FieldRef WeightCarriedBefore = FieldOf(kExtendedRunLayout, "WeightCarriedBefore");
inline constexpr FieldRef BlinkerCode = FieldOf(kExtendedRunLayout, "BlinkerCode");
inline constexpr FieldRef Reserved2 = FieldOf(kExtendedRunLayout, "Reserved2");
inline constexpr FieldRef JockeyCode = FieldOf(kExtendedRunLayout, "JockeyCode");
inline constexpr FieldRef JockeyBirthYear = FieldOf(kExtendedRunLayout, "JockeyBirthYear");
inline constexpr FieldRef JockeyBirthMonth = FieldOf(kExtendedRunLayout, "JockeyBirthMonth");
inline constexpr FieldRef JockeyBirthDay = FieldOf(kExtendedRunLayout, "JockeyBirthDay");
inline constexpr FieldRef JockeySexCode = FieldOf(kExtendedRunLayout, "JockeySexCode");
inline constexpr FieldRef JockeyInvitationRegion =
    FieldOf(kExtendedRunLayout, "JockeyInvitationRegion");
inline constexpr FieldRef RidingQualificationCode =
    FieldOf(kExtendedRunLayout, "RidingQualificationCode");
inline constexpr FieldRef JockeyCodeBefore = FieldOf(kExtendedRunLayout, "JockeyCodeBefore");
inline constexpr FieldRef JockeyShortName = FieldOf(kExtendedRunLayout, "JockeyShortName");
inline constexpr FieldRef JockeyShortNameBefore =
    FieldOf(kExtendedRunLayout, "JockeyShortNameBefore");
inline constexpr FieldRef ApprenticeCode = FieldOf(kExtendedRunLayout, "ApprenticeCode");
inline constexpr FieldRef ApprenticeCodeBefore =
    FieldOf(kExtendedRunLayout, "ApprenticeCodeBefore");
inline constexpr FieldRef BodyWeight = FieldOf(kExtendedRunLayout, "BodyWeight");
inline constexpr FieldRef BodyWeightChangeSign =
    FieldOf(kExtendedRunLayout, "BodyWeightChangeSign");
inline constexpr FieldRef BodyWeightChange = FieldOf(kExtendedRunLayout, "BodyWeightChange");
inline constexpr FieldRef AbnormalityCode = FieldOf(kExtendedRunLayout, "AbnormalityCode");
inline constexpr FieldRef ArrivalOrder = FieldOf(kExtendedRunLayout, "ArrivalOrder");
inline constexpr FieldRef FinishPosition = FieldOf(kExtendedRunLayout, "FinishPosition");
inline constexpr FieldRef DeadHeatCode = FieldOf(kExtendedRunLayout, "DeadHeatCode");
inline constexpr FieldRef DeadHeatCount = FieldOf(kExtendedRunLayout, "DeadHeatCount");
inline constexpr FieldRef FinishTime = FieldOf(kExtendedRunLayout, "FinishTime");
inline constexpr FieldRef MarginCode = FieldOf(kExtendedRunLayout, "MarginCode");
inline constexpr FieldRef MarginCodePlus = FieldOf(kExtendedRunLayout, "MarginCodePlus");
inline constexpr FieldRef MarginCodePlusPlus = FieldOf(kExtendedRunLayout, "MarginCodePlusPlus");
inline constexpr FieldRef CornerPositions = FieldOf(kExtendedRunLayout, "CornerPositions");
inline constexpr FieldRef WinOdds = FieldOf(kExtendedRunLayout, "WinOdds");
inline constexpr FieldRef WinPopularity = FieldOf(kExtendedRunLayout, "WinPopularity");
inline constexpr FieldRef PrizeMoney = FieldOf(kExtendedRunLayout, "PrizeMoney");
inline constexpr FieldRef AddedMoney = FieldOf(kExtendedRunLayout, "AddedMoney");
inline constexpr FieldRef Reserved3 = FieldOf(kExtendedRunLayout, "Reserved3");
inline constexpr FieldRef Reserved4 = FieldOf(kExtendedRunLayout, "Reserved4");
inline constexpr FieldRef Last4FurlongTime = FieldOf(kExtendedRunLayout, "Last4FurlongTime");
inline constexpr FieldRef Last3FurlongTime = FieldOf(kExtendedRunLayout, "Last3FurlongTime");
inline constexpr FieldRef TimeBehindWinner = FieldOf(kExtendedRunLayout, "TimeBehindWinner");
inline constexpr FieldRef GradeCode = FieldOf(kExtendedRunLayout, "GradeCode");
inline constexpr FieldRef GradeCodeBefore = FieldOf(kExtendedRunLayout, "GradeCodeBefore");
inline constexpr FieldRef RaceConditionKind = FieldOf(kExtendedRunLayout, "RaceConditionKind");
inline constexpr FieldRef RaceConditionSymbol = FieldOf(kExtendedRunLayout, "RaceConditionSymbol");
inline constexpr FieldRef RaceWeightKind = FieldOf(kExtendedRunLayout, "RaceWeightKind");
inline constexpr FieldRef RaceAgeConditions = FieldOf(kExtendedRunLayout, "RaceAgeConditions");
inline constexpr FieldRef Distance = FieldOf(kExtendedRunLayout, "Distance");
inline constexpr FieldRef DistanceBefore = FieldOf(kExtendedRunLayout, "DistanceBefore");
inline constexpr FieldRef TrackCode = FieldOf(kExtendedRunLayout, "TrackCode");
inline constexpr FieldRef TrackCodeBefore = FieldOf(kExtendedRunLayout, "TrackCodeBefore");
inline constexpr FieldRef CourseDivision = FieldOf(kExtendedRunLayout, "CourseDivision");
inline constexpr FieldRef CourseDivisionBefore =
    FieldOf(kExtendedRunLayout, "CourseDivisionBefore");
inline constexpr FieldRef PrizeMoneyByPlace = FieldOf(kExtendedRunLayout, "PrizeMoneyByPlace");
inline constexpr FieldRef PrizeMoneyByPlaceBefore =
    FieldOf(kExtendedRunLayout, "PrizeMoneyByPlaceBefore");
inline constexpr FieldRef AddedMoneyByPlace = FieldOf(kExtendedRunLayout, "AddedMoneyByPlace");
inline constexpr FieldRef AddedMoneyByPlaceBefore =
    FieldOf(kExtendedRunLayout, "AddedMoneyByPlaceBefore");
inline constexpr FieldRef PostTime = FieldOf(kExtendedRunLayout, "PostTime");
inline constexpr FieldRef PostTimeBefore = FieldOf(kExtendedRunLayout, "PostTimeBefore");
inline constexpr FieldRef RegisteredCount = FieldOf(kExtendedRunLayout, "RegisteredCount");
inline constexpr FieldRef StarterCount = FieldOf(kExtendedRunLayout, "StarterCount");
inline constexpr FieldRef FinisherCount = FieldOf(kExtendedRunLayout, "FinisherCount");
inline constexpr FieldRef WeatherCode = FieldOf(kExtendedRunLayout, "WeatherCode");
inline constexpr FieldRef TurfGoingCode = FieldOf(kExtendedRunLayout, "TurfGoingCode");
inline constexpr FieldRef DirtGoingCode = FieldOf(kExtendedRunLayout, "DirtGoingCode");
inline constexpr FieldRef FurlongLeaderTimes = FieldOf(kExtendedRunLayout, "FurlongLeaderTimes");
inline constexpr FieldRef JumpMileTime = FieldOf(kExtendedRunLayout, "JumpMileTime");
inline constexpr FieldRef First3FurlongLapTime =
    FieldOf(kExtendedRunLayout, "First3FurlongLapTime");
inline constexpr FieldRef First4FurlongLapTime =
    FieldOf(kExtendedRunLayout, "First4FurlongLapTime");
inline constexpr FieldRef Last3FurlongLapTime = FieldOf(kExtendedRunLayout, "Last3FurlongLapTime");
inline constexpr FieldRef Last4FurlongLapTime = FieldOf(kExtendedRunLayout, "Last4FurlongLapTime");
inline constexpr FieldRef CornerPassings = FieldOf(kExtendedRunLayout, "CornerPassings");
inline constexpr FieldRef CornerPassings_CornerNumber =
    FieldOf(kExtendedRunLayout, "CornerPassings.CornerNumber");
inline constexpr FieldRef CornerPassings_LapCount =
    FieldOf(kExtendedRunLayout, "CornerPassings.LapCount");
inline constexpr FieldRef CornerPassings_PassingOrder =
    FieldOf(kExtendedRunLayout, "CornerPassings.PassingOrder");
inline constexpr FieldRef LineEnd = FieldOf(kExtendedRunLayout, "LineEnd");
// Dates kept as year, month and day, seen whole.
inline constexpr FieldRef CreatedDate = records::Span(CreatedYear, CreatedDay);
inline constexpr FieldRef BirthDate = records::Span(BirthYear, BirthDay);
inline constexpr FieldRef JockeyBirthDate = records::Span(JockeyBirthYear, JockeyBirthDay);
// The youngest-age condition is the last of the race's age conditions.
inline constexpr FieldRef YoungestAgeCondition = RaceAgeConditions.At(5);
}  // namespace extended_run

static_assert(extended_run::RaceYear == records::se::RaceYear &&
              extended_run::RacecourseCode == records::se::RacecourseCode &&
              extended_run::RaceNumber == records::se::RaceNumber &&
              extended_run::HorseId == records::se::HorseId &&
              extended_run::ArrivalOrder.width == records::se::ArrivalOrder.width &&
              extended_run::MarginCode.width == records::se::MarginCode.width);
static_assert(extended_run::TrainerCode.pos == 535 && extended_run::TrackCode.pos == 776 &&
              extended_run::LineEnd.pos == 1340 && extended_run::CornerPassings.end() == 1123 &&
              extended_run::CornerPassings_PassingOrder.In(4).end() == 1339 &&
              extended_run::AncestorBlocks_BreedingNumber.In(2).pos == 287 &&
              extended_run::YoungestAgeCondition.pos == 765);

// Where each field of a record comes from, in record order: a field of the run's runner
// record, of the race, horse or jockey record found for it, of the horse's last market sale
// (the sale table keeps each sale at its market-sale record positions), the horse's foal
// order, or blanks. The builder is one loop over this table.
enum class Origin : std::uint8_t { kRun, kRace, kHorse, kJockey, kSale, kFoalOrder, kBlank };

struct FieldOrigin {
  records::FieldRef field;  // the whole field in the extended run record
  Origin origin;
  records::FieldRef source;  // the whole field in its source record, for sourced origins
  // For a sale field, the text of a horse without a sale (code page 932).
  std::string_view fallback = {};
};

namespace extended_run_detail {

// A field with all its entries and elements, as one run of bytes.
constexpr records::FieldRef Whole(records::FieldRef f) {
  const int end = f.pos + (f.count - 1) * f.stride + (f.elements - 1) * f.elementStride + f.width;
  return {f.pos, end - f.pos, 1, 0, 1, 0, 1};
}

constexpr FieldOrigin From(Origin origin, records::FieldRef field, records::FieldRef source,
                           std::string_view fallback = {}) {
  return {Whole(field), origin, Whole(source), fallback};
}
constexpr FieldOrigin Computed(Origin origin, records::FieldRef field) {
  return {Whole(field), origin, {}, {}};
}

inline constexpr std::string_view kUnknown = "\x95\x73\x96\xbe";  // "不明"

namespace x = extended_run;
namespace se = records::se;
namespace ra = records::ra;
namespace um = records::um;
namespace ks = records::ks;
namespace hs = records::hs;
constexpr Origin kRun = Origin::kRun, kRace = Origin::kRace, kHorse = Origin::kHorse,
                 kJockey = Origin::kJockey, kSale = Origin::kSale;

inline constexpr FieldOrigin kOrigins[] = {
    From(kRun, x::RecordSpec, se::RecordSpec),
    From(kRun, x::DataCategory, se::DataCategory),
    From(kRun, x::CreatedDate, se::CreatedDate),
    From(kRun, x::RaceYear, se::RaceYear),
    From(kRun, x::RaceMonthDay, se::RaceMonthDay),
    From(kRun, x::RacecourseCode, se::RacecourseCode),
    From(kRun, x::MeetingNumber, se::MeetingNumber),
    From(kRun, x::MeetingDay, se::MeetingDay),
    From(kRun, x::RaceNumber, se::RaceNumber),
    From(kRun, x::FrameNumber, se::FrameNumber),
    From(kRun, x::HorseNumber, se::HorseNumber),
    From(kRun, x::HorseId, se::HorseId),
    Computed(Origin::kFoalOrder, x::FoalOrder),
    From(kRace, x::WeekdayCode, ra::WeekdayCode),
    From(kSale, x::MarketCode, hs::MarketCode),
    From(kSale, x::MarketOrganizer, hs::MarketOrganizer, kUnknown),
    From(kSale, x::MarketName, hs::MarketName, kUnknown),
    From(kSale, x::MarketStartDate, hs::MarketStartDate, kUnknown),
    From(kSale, x::MarketEndDate, hs::MarketEndDate, kUnknown),
    From(kSale, x::SaleAge, hs::SaleAge),
    From(kSale, x::SalePrice, hs::SalePrice),
    From(kHorse, x::BirthDate, um::BirthDate),
    From(kHorse, x::InvitationRegion, um::InvitationRegion),
    From(kHorse, x::BreederCode, um::BreederCode),
    From(kHorse, x::BirthplaceName, um::BirthplaceName),
    From(kHorse, x::AncestorBlocks_BreedingNumber.In(1), um::Pedigree_BreedingNumber.In(1)),
    Computed(Origin::kBlank, x::AncestorBlocks_BirthYear.In(1)),
    Computed(Origin::kBlank, x::AncestorBlocks_BirthplaceName.In(1)),
    From(kHorse, x::AncestorBlocks_BreedingNumber.In(2), um::Pedigree_BreedingNumber.In(2)),
    Computed(Origin::kBlank, x::AncestorBlocks_BirthYear.In(2)),
    Computed(Origin::kBlank, x::AncestorBlocks_BirthplaceName.In(2)),
    // Never assigned by the first builder, which left there whatever its shared buffer
    // held (another horse's bytes): blanks, like the elements after it.
    Computed(Origin::kBlank, x::AncestorBlocks.In(3)),
    Computed(Origin::kBlank, x::AncestorBlocks.In(4)),
    Computed(Origin::kBlank, x::AncestorBlocks.In(5)),
    Computed(Origin::kBlank, x::AncestorBlocks.In(6)),
    Computed(Origin::kBlank, x::AncestorBlocks.In(7)),
    From(kRun, x::HorseName, se::HorseName),
    Computed(Origin::kBlank, x::Unassigned527),  // never assigned either
    From(kRun, x::HorseSymbolCode, se::HorseSymbolCode),
    From(kRun, x::SexCode, se::SexCode),
    From(kRun, x::BreedCode, se::BreedCode),
    From(kRun, x::CoatColorCode, se::CoatColorCode),
    From(kRun, x::AffiliationCode, se::AffiliationCode),
    From(kRun, x::TrainerCode, se::TrainerCode),
    From(kRun, x::OwnerCode, se::OwnerCode),
    From(kRun, x::SilksDescription, se::SilksDescription),
    From(kRun, x::WeightCarried, se::WeightCarried),
    From(kRun, x::WeightCarriedBefore, se::WeightCarriedBefore),
    From(kRun, x::BlinkerCode, se::BlinkerCode),
    From(kRun, x::Reserved2, se::Reserved2),
    From(kRun, x::JockeyCode, se::JockeyCode),
    From(kJockey, x::JockeyBirthDate, ks::BirthDate),
    From(kJockey, x::JockeySexCode, ks::SexCode),
    From(kJockey, x::JockeyInvitationRegion, ks::InvitationRegion),
    From(kJockey, x::RidingQualificationCode, ks::RidingQualificationCode),
    From(kRun, x::JockeyCodeBefore, se::JockeyCodeBefore),
    From(kRun, x::JockeyShortName, se::JockeyShortName),
    From(kRun, x::JockeyShortNameBefore, se::JockeyShortNameBefore),
    From(kRun, x::ApprenticeCode, se::ApprenticeCode),
    From(kRun, x::ApprenticeCodeBefore, se::ApprenticeCodeBefore),
    From(kRun, x::BodyWeight, se::BodyWeight),
    From(kRun, x::BodyWeightChangeSign, se::BodyWeightChangeSign),
    From(kRun, x::BodyWeightChange, se::BodyWeightChange),
    From(kRun, x::AbnormalityCode, se::AbnormalityCode),
    From(kRun, x::ArrivalOrder, se::ArrivalOrder),
    From(kRun, x::FinishPosition, se::FinishPosition),
    From(kRun, x::DeadHeatCode, se::DeadHeatCode),
    From(kRun, x::DeadHeatCount, se::DeadHeatCount),
    From(kRun, x::FinishTime, se::FinishTime),
    From(kRun, x::MarginCode, se::MarginCode),
    From(kRun, x::MarginCodePlus, se::MarginCodePlus),
    From(kRun, x::MarginCodePlusPlus, se::MarginCodePlusPlus),
    From(kRun, x::CornerPositions, se::CornerPositions),
    From(kRun, x::WinOdds, se::WinOdds),
    From(kRun, x::WinPopularity, se::WinPopularity),
    From(kRun, x::PrizeMoney, se::PrizeMoney),
    From(kRun, x::AddedMoney, se::AddedMoney),
    From(kRun, x::Reserved3, se::Reserved3),
    From(kRun, x::Reserved4, se::Reserved4),
    From(kRun, x::Last4FurlongTime, se::Last4FurlongTime),
    From(kRun, x::Last3FurlongTime, se::Last3FurlongTime),
    From(kRun, x::TimeBehindWinner, se::TimeBehindWinner),
    From(kRace, x::GradeCode, ra::GradeCode),
    From(kRace, x::GradeCodeBefore, ra::GradeCodeBefore),
    From(kRace, x::RaceConditionKind, ra::RaceConditionKind),
    From(kRace, x::RaceConditionSymbol, ra::RaceConditionSymbol),
    From(kRace, x::RaceWeightKind, ra::RaceWeightKind),
    From(kRace, x::RaceAgeConditions, ra::RaceAgeConditions),
    From(kRace, x::Distance, ra::Distance),
    From(kRace, x::DistanceBefore, ra::DistanceBefore),
    From(kRace, x::TrackCode, ra::TrackCode),
    From(kRace, x::TrackCodeBefore, ra::TrackCodeBefore),
    From(kRace, x::CourseDivision, ra::CourseDivision),
    From(kRace, x::CourseDivisionBefore, ra::CourseDivisionBefore),
    From(kRace, x::PrizeMoneyByPlace, ra::PrizeMoneyByPlace),
    From(kRace, x::PrizeMoneyByPlaceBefore, ra::PrizeMoneyByPlaceBefore),
    From(kRace, x::AddedMoneyByPlace, ra::AddedMoneyByPlace),
    From(kRace, x::AddedMoneyByPlaceBefore, ra::AddedMoneyByPlaceBefore),
    From(kRace, x::PostTime, ra::PostTime),
    From(kRace, x::PostTimeBefore, ra::PostTimeBefore),
    From(kRace, x::RegisteredCount, ra::RegisteredCount),
    From(kRace, x::StarterCount, ra::StarterCount),
    From(kRace, x::FinisherCount, ra::FinisherCount),
    From(kRace, x::WeatherCode, ra::WeatherCode),
    From(kRace, x::TurfGoingCode, ra::TurfGoingCode),
    From(kRace, x::DirtGoingCode, ra::DirtGoingCode),
    From(kRace, x::FurlongLeaderTimes, ra::FurlongLeaderTimes),
    From(kRace, x::JumpMileTime, ra::JumpMileTime),
    From(kRace, x::First3FurlongLapTime, ra::First3FurlongLapTime),
    From(kRace, x::First4FurlongLapTime, ra::First4FurlongLapTime),
    From(kRace, x::Last3FurlongLapTime, ra::Last3FurlongLapTime),
    From(kRace, x::Last4FurlongLapTime, ra::Last4FurlongLapTime),
    From(kRace, x::CornerPassings, ra::CornerPassings),
    // The run's own line end, so every record ends in CR LF like a JV-Data record.
    From(kRun, x::LineEnd, se::LineEnd),
};

// The origins cover the record byte by byte, in order, each field once.
constexpr bool OriginsTileTheRecord() {
  int next = 1;
  for (const FieldOrigin& o : kOrigins) {
    if (o.field.pos != next || o.field.width <= 0) return false;
    next = o.field.pos + o.field.width;
  }
  return next == kExtendedRunLength + 1;
}

// A field copied from a source takes the source field whole: same width, so nothing is
// cut or padded, and the source lies within its record. Computed fields name no source.
constexpr bool OriginsMatchTheirSources() {
  for (const FieldOrigin& o : kOrigins) {
    const records::Layout* layout = nullptr;
    switch (o.origin) {
      case Origin::kRun:
        layout = &records::kRunnerLayout;
        break;
      case Origin::kRace:
        layout = &records::kRaceLayout;
        break;
      case Origin::kHorse:
        layout = &records::kHorseLayout;
        break;
      case Origin::kJockey:
        layout = &records::kJockeyLayout;
        break;
      case Origin::kSale:
        layout = &records::kMarketSaleLayout;
        break;
      case Origin::kFoalOrder:
      case Origin::kBlank:
        if (o.source.width != 0 || !o.fallback.empty()) return false;
        continue;
    }
    if (o.source.width != o.field.width || o.source.pos < 1 ||
        o.source.end() > layout->storedLength) {
      return false;
    }
    if (!o.fallback.empty() && (o.origin != Origin::kSale ||
                                o.fallback.size() > static_cast<std::size_t>(o.field.width))) {
      return false;
    }
  }
  return true;
}

}  // namespace extended_run_detail

inline constexpr std::span<const FieldOrigin> kExtendedRunOrigins{extended_run_detail::kOrigins};
static_assert(extended_run_detail::OriginsTileTheRecord());
static_assert(extended_run_detail::OriginsMatchTheirSources());
// Source positions as the record kinds deliver them to this record.
static_assert(records::ks::BirthDate.pos == 34 && records::ks::SexCode.pos == 228 &&
              records::ks::RidingQualificationCode.pos == 229 &&
              records::ks::InvitationRegion.pos == 232);
static_assert(records::um::InvitationRegion.pos == 863 && records::um::BreederCode.pos == 883 &&
              records::um::BirthplaceName.pos == 963 &&
              records::um::Pedigree_BreedingNumber.In(2).pos == 251);
static_assert(records::ra::GradeCode.pos == 615 && records::ra::Distance.pos == 698 &&
              records::ra::CornerPassings.In(4).end() == 1269 &&
              records::ra::WeekdayCode.pos == 28);
static_assert(records::se::TimeBehindWinner.pos == 532 && records::se::LineEnd.pos == 554 &&
              records::se::TrainerCode.pos == 86 && records::se::Last3FurlongTime.pos == 391);
static_assert(records::hs::MarketCode.pos == 46 && records::hs::SalePrice.pos == 189);

}  // namespace meridax
