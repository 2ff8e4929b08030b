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

#define MERIDAX_EXTENDED_RUN_ROWS(X, M)                                                   \
  MERIDAX_RECORD_HEADER_ROWS(X, M)                                                        \
  MERIDAX_RACE_KEY_ROWS(X, M)                                                             \
  MERIDAX_RUNNER_ENTRY_ROWS(X, M)                                                         \
  X(F, FoalOrder, 41, 2)                                                                  \
  X(F, WeekdayCode, 43, 1)                                                                \
  X(F, MarketCode, 44, 6)                                                                 \
  X(F, MarketOrganizer, 50, 40)                                                           \
  X(F, MarketName, 90, 80)                                                                \
  X(F, MarketStartDate, 170, 8)                                                           \
  X(F, MarketEndDate, 178, 8)                                                             \
  X(F, SaleAge, 186, 1)                                                                   \
  X(F, SalePrice, 187, 10)                                                                \
  X(F, BirthYear, 197, 4)                                                                 \
  X(F, BirthMonth, 201, 2)                                                                \
  X(F, BirthDay, 203, 2)                                                                  \
  X(Span, BirthDate, BirthYear, BirthDay)                                                 \
  X(F, InvitationRegion, 205, 20)                                                         \
  X(F, BreederCode, 225, 8)                                                               \
  X(F, BirthplaceName, 233, 20)                                                           \
  /* Seven ancestor blocks; the builder fills only the sire and dam numbers (1 and 2). */ \
  X(G, AncestorBlocks, 253, 34, 7, 3)                                                     \
  M(AncestorBlocks, F, BreedingNumber, 0, 10)                                             \
  M(AncestorBlocks, F, BirthYear, 10, 4)                                                  \
  M(AncestorBlocks, F, BirthplaceName, 14, 20)                                            \
  X(F, HorseName, 491, 36)                                                                \
  X(F, Unassigned527, 527, 1)                                                             \
  X(F, HorseSymbolCode, 528, 2)                                                           \
  X(F, SexCode, 530, 1)                                                                   \
  X(F, BreedCode, 531, 1)                                                                 \
  X(F, CoatColorCode, 532, 2)                                                             \
  X(F, AffiliationCode, 534, 1)                                                           \
  X(F, TrainerCode, 535, 5)                                                               \
  X(F, OwnerCode, 540, 6)                                                                 \
  X(F, SilksDescription, 546, 60)                                                         \
  X(F, WeightCarried, 606, 3)                                                             \
  X(F, WeightCarriedBefore, 609, 3)                                                       \
  X(F, BlinkerCode, 612, 1)                                                               \
  X(F, Reserved2, 613, 1)                                                                 \
  X(F, JockeyCode, 614, 5)                                                                \
  X(F, JockeyBirthYear, 619, 4)                                                           \
  X(F, JockeyBirthMonth, 623, 2)                                                          \
  X(F, JockeyBirthDay, 625, 2)                                                            \
  X(Span, JockeyBirthDate, JockeyBirthYear, JockeyBirthDay)                               \
  X(F, JockeySexCode, 627, 1)                                                             \
  X(F, JockeyInvitationRegion, 628, 20)                                                   \
  X(F, RidingQualificationCode, 648, 1)                                                   \
  X(F, JockeyCodeBefore, 649, 5)                                                          \
  X(F, JockeyShortName, 654, 8)                                                           \
  X(F, JockeyShortNameBefore, 662, 8)                                                     \
  X(F, ApprenticeCode, 670, 1)                                                            \
  X(F, ApprenticeCodeBefore, 671, 1)                                                      \
  X(F, BodyWeight, 672, 3)                                                                \
  X(F, BodyWeightChangeSign, 675, 1)                                                      \
  X(F, BodyWeightChange, 676, 3)                                                          \
  X(F, AbnormalityCode, 679, 1)                                                           \
  X(F, ArrivalOrder, 680, 2)                                                              \
  X(F, FinishPosition, 682, 2)                                                            \
  X(F, DeadHeatCode, 684, 1)                                                              \
  X(F, DeadHeatCount, 685, 1)                                                             \
  X(F, FinishTime, 686, 4)                                                                \
  X(F, MarginCode, 690, 3)                                                                \
  X(F, MarginCodePlus, 693, 3)                                                            \
  X(F, MarginCodePlusPlus, 696, 3)                                                        \
  X(F, CornerPositions, 699, 2, 4)                                                        \
  X(F, WinOdds, 707, 4)                                                                   \
  X(F, WinPopularity, 711, 2)                                                             \
  X(F, PrizeMoney, 713, 8)                                                                \
  X(F, AddedMoney, 721, 8)                                                                \
  X(F, Reserved3, 729, 3)                                                                 \
  X(F, Reserved4, 732, 3)                                                                 \
  X(F, Last4FurlongTime, 735, 3)                                                          \
  X(F, Last3FurlongTime, 738, 3)                                                          \
  X(F, TimeBehindWinner, 741, 4)                                                          \
  X(F, GradeCode, 745, 1)                                                                 \
  X(F, GradeCodeBefore, 746, 1)                                                           \
  X(F, RaceConditionKind, 747, 2)                                                         \
  X(F, RaceConditionSymbol, 749, 3)                                                       \
  X(F, RaceWeightKind, 752, 1)                                                            \
  X(F, RaceAgeConditions, 753, 3, 5)                                                      \
  X(F, Distance, 768, 4)                                                                  \
  X(F, DistanceBefore, 772, 4)                                                            \
  X(F, TrackCode, 776, 2)                                                                 \
  X(F, TrackCodeBefore, 778, 2)                                                           \
  X(F, CourseDivision, 780, 2)                                                            \
  X(F, CourseDivisionBefore, 782, 2)                                                      \
  X(F, PrizeMoneyByPlace, 784, 8, 7)                                                      \
  X(F, PrizeMoneyByPlaceBefore, 840, 8, 5)                                                \
  X(F, AddedMoneyByPlace, 880, 8, 5)                                                      \
  X(F, AddedMoneyByPlaceBefore, 920, 8, 3)                                                \
  X(F, PostTime, 944, 4)                                                                  \
  X(F, PostTimeBefore, 948, 4)                                                            \
  X(F, RegisteredCount, 952, 2)                                                           \
  X(F, StarterCount, 954, 2)                                                              \
  X(F, FinisherCount, 956, 2)                                                             \
  X(F, WeatherCode, 958, 1)                                                               \
  X(F, TurfGoingCode, 959, 1)                                                             \
  X(F, DirtGoingCode, 960, 1)                                                             \
  X(F, FurlongLeaderTimes, 961, 3, 25)                                                    \
  X(F, JumpMileTime, 1036, 4)                                                             \
  X(F, First3FurlongLapTime, 1040, 3)                                                     \
  X(F, First4FurlongLapTime, 1043, 3)                                                     \
  X(F, Last3FurlongLapTime, 1046, 3)                                                      \
  X(F, Last4FurlongLapTime, 1049, 3)                                                      \
  X(G, CornerPassings, 1052, 72, 4, 3)                                                    \
  M(CornerPassings, F, CornerNumber, 0, 1)                                                \
  M(CornerPassings, F, LapCount, 1, 1)                                                    \
  M(CornerPassings, F, PassingOrder, 2, 70)                                               \
  X(F, LineEnd, 1340, 2)

namespace meridax {

inline constexpr int kExtendedRunLength = 1341;
inline constexpr records::FieldSpec kExtendedRunLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_EXTENDED_RUN_ROWS)};
inline constexpr records::Layout kExtendedRunLayout{"ExtendedRun", kExtendedRunLayoutFields,
                                                    kExtendedRunLength, kExtendedRunLength};
static_assert(records::LayoutIsValid(kExtendedRunLayout));

namespace extended_run {
using records::FieldOf;
using records::FieldRef;
MERIDAX_LAYOUT_REFS(MERIDAX_EXTENDED_RUN_ROWS, kExtendedRunLayout)
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
