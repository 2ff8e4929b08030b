#pragma once

// Horse (UM), breeding-horse (HN) and offspring (SK) records. Stored and delivered layouts
// are the same.

#include "records/layout.h"

namespace meridax::records {

inline constexpr FieldSpec kHorseLayoutFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("HorseId", 12, 10),
    F("DeregistrationCode", 22, 1),
    F("RegisteredYear", 23, 4),
    F("RegisteredMonth", 27, 2),
    F("RegisteredDay", 29, 2),
    F("DeregisteredYear", 31, 4),
    F("DeregisteredMonth", 35, 2),
    F("DeregisteredDay", 37, 2),
    F("BirthYear", 39, 4),
    F("BirthMonth", 43, 2),
    F("BirthDay", 45, 2),
    F("HorseName", 47, 36),
    F("HorseNameKana", 83, 36),
    F("HorseNameEnglish", 119, 60),
    F("JraStableFlag", 179, 1),
    F("Reserved1", 180, 19),
    F("HorseSymbolCode", 199, 2),
    F("SexCode", 201, 1),
    F("BreedCode", 202, 1),
    F("CoatColorCode", 203, 2),
    G("Pedigree", 205, 46, 14, 2),
    F("Pedigree.BreedingNumber", 0, 10),
    F("Pedigree.HorseName", 10, 36),
    F("AffiliationCode", 849, 1),
    F("TrainerCode", 850, 5),
    F("TrainerShortName", 855, 8),
    F("InvitationRegion", 863, 20),
    F("BreederCode", 883, 8),
    F("BreederName", 891, 72),
    F("BirthplaceName", 963, 20),
    F("OwnerCode", 983, 6),
    F("OwnerName", 989, 64),
    F("FlatPrizeTotal", 1053, 9),
    F("JumpPrizeTotal", 1062, 9),
    F("FlatAddedTotal", 1071, 9),
    F("JumpAddedTotal", 1080, 9),
    F("FlatEarningsTotal", 1089, 9),
    F("JumpEarningsTotal", 1098, 9),
    F("FinishCountsOverall", 1107, 3, 6),
    F("FinishCountsJra", 1125, 3, 6),
    T("FinishCountsByTrack", 1143, 18, 7, 6),
    T("FinishCountsByGoing", 1269, 18, 12, 6),
    T("FinishCountsByDistance", 1485, 18, 6, 6),
    F("RunningStyleCounts", 1593, 3, 4),
    F("RegisteredRaceCount", 1605, 3),
    F("LineEnd", 1608, 2),
};
inline constexpr Layout kHorseLayout{"UM", kHorseLayoutFields, 1609, 1609};
static_assert(LayoutIsValid(kHorseLayout));

namespace um {
inline constexpr FieldRef RecordSpec = FieldOf(kHorseLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kHorseLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kHorseLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kHorseLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kHorseLayout, "CreatedDay");
inline constexpr FieldRef HorseId = FieldOf(kHorseLayout, "HorseId");
inline constexpr FieldRef DeregistrationCode = FieldOf(kHorseLayout, "DeregistrationCode");
inline constexpr FieldRef RegisteredYear = FieldOf(kHorseLayout, "RegisteredYear");
inline constexpr FieldRef RegisteredMonth = FieldOf(kHorseLayout, "RegisteredMonth");
inline constexpr FieldRef RegisteredDay = FieldOf(kHorseLayout, "RegisteredDay");
inline constexpr FieldRef DeregisteredYear = FieldOf(kHorseLayout, "DeregisteredYear");
inline constexpr FieldRef DeregisteredMonth = FieldOf(kHorseLayout, "DeregisteredMonth");
inline constexpr FieldRef DeregisteredDay = FieldOf(kHorseLayout, "DeregisteredDay");
inline constexpr FieldRef BirthYear = FieldOf(kHorseLayout, "BirthYear");
inline constexpr FieldRef BirthMonth = FieldOf(kHorseLayout, "BirthMonth");
inline constexpr FieldRef BirthDay = FieldOf(kHorseLayout, "BirthDay");
inline constexpr FieldRef HorseName = FieldOf(kHorseLayout, "HorseName");
inline constexpr FieldRef HorseNameKana = FieldOf(kHorseLayout, "HorseNameKana");
inline constexpr FieldRef HorseNameEnglish = FieldOf(kHorseLayout, "HorseNameEnglish");
inline constexpr FieldRef JraStableFlag = FieldOf(kHorseLayout, "JraStableFlag");
inline constexpr FieldRef Reserved1 = FieldOf(kHorseLayout, "Reserved1");
inline constexpr FieldRef HorseSymbolCode = FieldOf(kHorseLayout, "HorseSymbolCode");
inline constexpr FieldRef SexCode = FieldOf(kHorseLayout, "SexCode");
inline constexpr FieldRef BreedCode = FieldOf(kHorseLayout, "BreedCode");
inline constexpr FieldRef CoatColorCode = FieldOf(kHorseLayout, "CoatColorCode");
inline constexpr FieldRef Pedigree = FieldOf(kHorseLayout, "Pedigree");
inline constexpr FieldRef Pedigree_BreedingNumber =
    FieldOf(kHorseLayout, "Pedigree.BreedingNumber");
inline constexpr FieldRef Pedigree_HorseName = FieldOf(kHorseLayout, "Pedigree.HorseName");
inline constexpr FieldRef AffiliationCode = FieldOf(kHorseLayout, "AffiliationCode");
inline constexpr FieldRef TrainerCode = FieldOf(kHorseLayout, "TrainerCode");
inline constexpr FieldRef TrainerShortName = FieldOf(kHorseLayout, "TrainerShortName");
inline constexpr FieldRef InvitationRegion = FieldOf(kHorseLayout, "InvitationRegion");
inline constexpr FieldRef BreederCode = FieldOf(kHorseLayout, "BreederCode");
inline constexpr FieldRef BreederName = FieldOf(kHorseLayout, "BreederName");
inline constexpr FieldRef BirthplaceName = FieldOf(kHorseLayout, "BirthplaceName");
inline constexpr FieldRef OwnerCode = FieldOf(kHorseLayout, "OwnerCode");
inline constexpr FieldRef OwnerName = FieldOf(kHorseLayout, "OwnerName");
inline constexpr FieldRef FlatPrizeTotal = FieldOf(kHorseLayout, "FlatPrizeTotal");
inline constexpr FieldRef JumpPrizeTotal = FieldOf(kHorseLayout, "JumpPrizeTotal");
inline constexpr FieldRef FlatAddedTotal = FieldOf(kHorseLayout, "FlatAddedTotal");
inline constexpr FieldRef JumpAddedTotal = FieldOf(kHorseLayout, "JumpAddedTotal");
inline constexpr FieldRef FlatEarningsTotal = FieldOf(kHorseLayout, "FlatEarningsTotal");
inline constexpr FieldRef JumpEarningsTotal = FieldOf(kHorseLayout, "JumpEarningsTotal");
inline constexpr FieldRef FinishCountsOverall = FieldOf(kHorseLayout, "FinishCountsOverall");
inline constexpr FieldRef FinishCountsJra = FieldOf(kHorseLayout, "FinishCountsJra");
inline constexpr FieldRef FinishCountsByTrack = FieldOf(kHorseLayout, "FinishCountsByTrack");
inline constexpr FieldRef FinishCountsByGoing = FieldOf(kHorseLayout, "FinishCountsByGoing");
inline constexpr FieldRef FinishCountsByDistance = FieldOf(kHorseLayout, "FinishCountsByDistance");
inline constexpr FieldRef RunningStyleCounts = FieldOf(kHorseLayout, "RunningStyleCounts");
inline constexpr FieldRef RegisteredRaceCount = FieldOf(kHorseLayout, "RegisteredRaceCount");
inline constexpr FieldRef LineEnd = FieldOf(kHorseLayout, "LineEnd");
}  // namespace um

namespace um {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
inline constexpr FieldRef RegisteredDate = Span(RegisteredYear, RegisteredDay);
inline constexpr FieldRef DeregisteredDate = Span(DeregisteredYear, DeregisteredDay);
inline constexpr FieldRef BirthDate = Span(BirthYear, BirthDay);
}  // namespace um

inline constexpr FieldSpec kBreedingHorseLayoutFields[] = {
    F("RecordSpec", 1, 2),           F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),          F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),          F("BreedingNumber", 12, 10),
    F("Reserved1", 22, 8),           F("HorseId", 30, 10),
    F("Reserved2", 40, 1),           F("HorseName", 41, 36),
    F("HorseNameKana", 77, 40),      F("HorseNameEnglish", 117, 80),
    F("BirthYear", 197, 4),          F("SexCode", 201, 1),
    F("BreedCode", 202, 1),          F("CoatColorCode", 203, 2),
    F("ImportCode", 205, 1),         F("ImportYear", 206, 4),
    F("BirthplaceName", 210, 20),    F("SireBreedingNumber", 230, 10),
    F("DamBreedingNumber", 240, 10), F("LineEnd", 250, 2),
};
inline constexpr Layout kBreedingHorseLayout{"HN", kBreedingHorseLayoutFields, 251, 251};
static_assert(LayoutIsValid(kBreedingHorseLayout));

namespace hn {
inline constexpr FieldRef RecordSpec = FieldOf(kBreedingHorseLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kBreedingHorseLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kBreedingHorseLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kBreedingHorseLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kBreedingHorseLayout, "CreatedDay");
inline constexpr FieldRef BreedingNumber = FieldOf(kBreedingHorseLayout, "BreedingNumber");
inline constexpr FieldRef Reserved1 = FieldOf(kBreedingHorseLayout, "Reserved1");
inline constexpr FieldRef HorseId = FieldOf(kBreedingHorseLayout, "HorseId");
inline constexpr FieldRef Reserved2 = FieldOf(kBreedingHorseLayout, "Reserved2");
inline constexpr FieldRef HorseName = FieldOf(kBreedingHorseLayout, "HorseName");
inline constexpr FieldRef HorseNameKana = FieldOf(kBreedingHorseLayout, "HorseNameKana");
inline constexpr FieldRef HorseNameEnglish = FieldOf(kBreedingHorseLayout, "HorseNameEnglish");
inline constexpr FieldRef BirthYear = FieldOf(kBreedingHorseLayout, "BirthYear");
inline constexpr FieldRef SexCode = FieldOf(kBreedingHorseLayout, "SexCode");
inline constexpr FieldRef BreedCode = FieldOf(kBreedingHorseLayout, "BreedCode");
inline constexpr FieldRef CoatColorCode = FieldOf(kBreedingHorseLayout, "CoatColorCode");
inline constexpr FieldRef ImportCode = FieldOf(kBreedingHorseLayout, "ImportCode");
inline constexpr FieldRef ImportYear = FieldOf(kBreedingHorseLayout, "ImportYear");
inline constexpr FieldRef BirthplaceName = FieldOf(kBreedingHorseLayout, "BirthplaceName");
inline constexpr FieldRef SireBreedingNumber = FieldOf(kBreedingHorseLayout, "SireBreedingNumber");
inline constexpr FieldRef DamBreedingNumber = FieldOf(kBreedingHorseLayout, "DamBreedingNumber");
inline constexpr FieldRef LineEnd = FieldOf(kBreedingHorseLayout, "LineEnd");
}  // namespace hn

namespace hn {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
}  // namespace hn

inline constexpr FieldSpec kOffspringLayoutFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("HorseId", 12, 10),
    F("BirthYear", 22, 4),
    F("BirthMonth", 26, 2),
    F("BirthDay", 28, 2),
    F("SexCode", 30, 1),
    F("BreedCode", 31, 1),
    F("CoatColorCode", 32, 2),
    F("ImportCode", 34, 1),
    F("ImportYear", 35, 4),
    F("BreederCode", 39, 8),
    F("BirthplaceName", 47, 20),
    F("PedigreeBreedingNumbers", 67, 10, 14),
    F("LineEnd", 207, 2),
};
inline constexpr Layout kOffspringLayout{"SK", kOffspringLayoutFields, 208, 208};
static_assert(LayoutIsValid(kOffspringLayout));

namespace sk {
inline constexpr FieldRef RecordSpec = FieldOf(kOffspringLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kOffspringLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kOffspringLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kOffspringLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kOffspringLayout, "CreatedDay");
inline constexpr FieldRef HorseId = FieldOf(kOffspringLayout, "HorseId");
inline constexpr FieldRef BirthYear = FieldOf(kOffspringLayout, "BirthYear");
inline constexpr FieldRef BirthMonth = FieldOf(kOffspringLayout, "BirthMonth");
inline constexpr FieldRef BirthDay = FieldOf(kOffspringLayout, "BirthDay");
inline constexpr FieldRef SexCode = FieldOf(kOffspringLayout, "SexCode");
inline constexpr FieldRef BreedCode = FieldOf(kOffspringLayout, "BreedCode");
inline constexpr FieldRef CoatColorCode = FieldOf(kOffspringLayout, "CoatColorCode");
inline constexpr FieldRef ImportCode = FieldOf(kOffspringLayout, "ImportCode");
inline constexpr FieldRef ImportYear = FieldOf(kOffspringLayout, "ImportYear");
inline constexpr FieldRef BreederCode = FieldOf(kOffspringLayout, "BreederCode");
inline constexpr FieldRef BirthplaceName = FieldOf(kOffspringLayout, "BirthplaceName");
inline constexpr FieldRef PedigreeBreedingNumbers =
    FieldOf(kOffspringLayout, "PedigreeBreedingNumbers");
inline constexpr FieldRef LineEnd = FieldOf(kOffspringLayout, "LineEnd");
}  // namespace sk

namespace sk {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
inline constexpr FieldRef BirthDate = Span(BirthYear, BirthDay);
}  // namespace sk

// Spot checks of positions that later steps rely on.
static_assert(um::Pedigree.In(2).pos == 251);
static_assert(um::Pedigree_BreedingNumber.In(2).pos == 251 &&
              um::Pedigree_BreedingNumber.In(2).end() == 260);
static_assert(um::Pedigree_HorseName.In(2).pos == 261 && um::Pedigree_HorseName.In(2).end() == 296);
static_assert(um::Pedigree.In(14).pos == 803);
static_assert(um::FinishCountsByGoing.At(12).pos == 1467);
static_assert(um::FinishCountsByGoing.At(12).Cell(6).pos == 1482 &&
              um::FinishCountsByGoing.At(12).Cell(6).end() == 1484);
static_assert(um::BirthDate.pos == 39 && um::BirthDate.width == 8);
static_assert(um::RunningStyleCounts.At(4).end() == 1604);
static_assert(hn::BirthYear.pos == 197 && hn::BirthplaceName.pos == 210);
static_assert(sk::PedigreeBreedingNumbers.At(2).pos == 77 &&
              sk::PedigreeBreedingNumbers.At(2).end() == 86);

}  // namespace meridax::records
