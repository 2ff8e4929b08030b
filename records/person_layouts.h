#pragma once

// Jockey (KS) and trainer (CH) records. Both end in three Performance blocks (this year,
// last year, career) whose four money totals are delivered as 10 bytes and stored as their
// first 9, so a stored block is 1048 bytes against 1052 delivered and every later field
// sits nearer the start. FieldOf gives stored positions, DeliveredFieldOf delivered ones.

#include "records/layout.h"

namespace meridax::records {

// The blocks that jockey and trainer records both carry: the three most recent graded-race
// wins and the Performance block, whose money totals are the fields a stored record cuts.
inline constexpr FieldSpec kGradedWinMembers[] = {
    F("RecentGradedWins.RaceYear", 0, 4),         F("RecentGradedWins.RaceMonthDay", 4, 4),
    F("RecentGradedWins.RacecourseCode", 8, 2),   F("RecentGradedWins.MeetingNumber", 10, 2),
    F("RecentGradedWins.MeetingDay", 12, 2),      F("RecentGradedWins.RaceNumber", 14, 2),
    F("RecentGradedWins.RaceName", 16, 60),       F("RecentGradedWins.RaceShortName10", 76, 20),
    F("RecentGradedWins.RaceShortName6", 96, 12), F("RecentGradedWins.RaceShortName3", 108, 6),
    F("RecentGradedWins.GradeCode", 114, 1),      F("RecentGradedWins.StarterCount", 115, 2),
    F("RecentGradedWins.HorseId", 117, 10),       F("RecentGradedWins.HorseName", 127, 36),
};
inline constexpr FieldSpec kPerformanceMembers[] = {
    F("Performance.SetYear", 0, 4),
    Cut("Performance.FlatPrizeTotal", 4, 10, 9),
    Cut("Performance.JumpPrizeTotal", 13, 10, 9),
    Cut("Performance.FlatAddedTotal", 22, 10, 9),
    Cut("Performance.JumpAddedTotal", 31, 10, 9),
    F("Performance.FlatFinishCounts", 40, 6, 6),
    F("Performance.JumpFinishCounts", 76, 6, 6),
    T("Performance.CourseFinishCounts", 112, 36, 20, 6),
    T("Performance.DistanceFinishCounts", 832, 36, 6, 6),
};

inline constexpr auto kJockeyLayoutFields = JoinRows(
    {
        F("RecordSpec", 1, 2),
        F("DataCategory", 3, 1),
        F("CreatedYear", 4, 4),
        F("CreatedMonth", 8, 2),
        F("CreatedDay", 10, 2),
        F("JockeyCode", 12, 5),
        F("DeregistrationCode", 17, 1),
        F("LicenseIssueYear", 18, 4),
        F("LicenseIssueMonth", 22, 2),
        F("LicenseIssueDay", 24, 2),
        F("LicenseRevokedYear", 26, 4),
        F("LicenseRevokedMonth", 30, 2),
        F("LicenseRevokedDay", 32, 2),
        F("BirthYear", 34, 4),
        F("BirthMonth", 38, 2),
        F("BirthDay", 40, 2),
        F("JockeyName", 42, 34),
        F("Reserved1", 76, 34),
        F("JockeyNameKana", 110, 30),
        F("JockeyShortName", 140, 8),
        F("JockeyNameEnglish", 148, 80),
        F("SexCode", 228, 1),
        F("RidingQualificationCode", 229, 1),
        F("ApprenticeCode", 230, 1),
        F("AffiliationCode", 231, 1),
        F("InvitationRegion", 232, 20),
        F("TrainerCode", 252, 5),
        F("TrainerShortName", 257, 8),
        G("FirstRides", 265, 67, 2, 11),
        F("FirstRides.RaceYear", 0, 4),
        F("FirstRides.RaceMonthDay", 4, 4),
        F("FirstRides.RacecourseCode", 8, 2),
        F("FirstRides.MeetingNumber", 10, 2),
        F("FirstRides.MeetingDay", 12, 2),
        F("FirstRides.RaceNumber", 14, 2),
        F("FirstRides.StarterCount", 16, 2),
        F("FirstRides.HorseId", 18, 10),
        F("FirstRides.HorseName", 28, 36),
        F("FirstRides.FinishPosition", 64, 2),
        F("FirstRides.AbnormalityCode", 66, 1),
        G("FirstWins", 399, 64, 2, 9),
        F("FirstWins.RaceYear", 0, 4),
        F("FirstWins.RaceMonthDay", 4, 4),
        F("FirstWins.RacecourseCode", 8, 2),
        F("FirstWins.MeetingNumber", 10, 2),
        F("FirstWins.MeetingDay", 12, 2),
        F("FirstWins.RaceNumber", 14, 2),
        F("FirstWins.StarterCount", 16, 2),
        F("FirstWins.HorseId", 18, 10),
        F("FirstWins.HorseName", 28, 36),
        G("RecentGradedWins", 527, 163, 3, 14),
    },
    kGradedWinMembers,
    {
        G("Performance", 1016, 1048, 3, 9),
    },
    kPerformanceMembers,
    {
        F("LineEnd", 4160, 2),
    });
inline constexpr Layout kJockeyLayout{"KS", kJockeyLayoutFields, 4173, 4161};
static_assert(LayoutIsValid(kJockeyLayout));

namespace ks {
inline constexpr FieldRef RecordSpec = FieldOf(kJockeyLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kJockeyLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kJockeyLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kJockeyLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kJockeyLayout, "CreatedDay");
inline constexpr FieldRef JockeyCode = FieldOf(kJockeyLayout, "JockeyCode");
inline constexpr FieldRef DeregistrationCode = FieldOf(kJockeyLayout, "DeregistrationCode");
inline constexpr FieldRef LicenseIssueYear = FieldOf(kJockeyLayout, "LicenseIssueYear");
inline constexpr FieldRef LicenseIssueMonth = FieldOf(kJockeyLayout, "LicenseIssueMonth");
inline constexpr FieldRef LicenseIssueDay = FieldOf(kJockeyLayout, "LicenseIssueDay");
inline constexpr FieldRef LicenseRevokedYear = FieldOf(kJockeyLayout, "LicenseRevokedYear");
inline constexpr FieldRef LicenseRevokedMonth = FieldOf(kJockeyLayout, "LicenseRevokedMonth");
inline constexpr FieldRef LicenseRevokedDay = FieldOf(kJockeyLayout, "LicenseRevokedDay");
inline constexpr FieldRef BirthYear = FieldOf(kJockeyLayout, "BirthYear");
inline constexpr FieldRef BirthMonth = FieldOf(kJockeyLayout, "BirthMonth");
inline constexpr FieldRef BirthDay = FieldOf(kJockeyLayout, "BirthDay");
inline constexpr FieldRef JockeyName = FieldOf(kJockeyLayout, "JockeyName");
inline constexpr FieldRef Reserved1 = FieldOf(kJockeyLayout, "Reserved1");
inline constexpr FieldRef JockeyNameKana = FieldOf(kJockeyLayout, "JockeyNameKana");
inline constexpr FieldRef JockeyShortName = FieldOf(kJockeyLayout, "JockeyShortName");
inline constexpr FieldRef JockeyNameEnglish = FieldOf(kJockeyLayout, "JockeyNameEnglish");
inline constexpr FieldRef SexCode = FieldOf(kJockeyLayout, "SexCode");
inline constexpr FieldRef RidingQualificationCode =
    FieldOf(kJockeyLayout, "RidingQualificationCode");
inline constexpr FieldRef ApprenticeCode = FieldOf(kJockeyLayout, "ApprenticeCode");
inline constexpr FieldRef AffiliationCode = FieldOf(kJockeyLayout, "AffiliationCode");
inline constexpr FieldRef InvitationRegion = FieldOf(kJockeyLayout, "InvitationRegion");
inline constexpr FieldRef TrainerCode = FieldOf(kJockeyLayout, "TrainerCode");
inline constexpr FieldRef TrainerShortName = FieldOf(kJockeyLayout, "TrainerShortName");
inline constexpr FieldRef FirstRides = FieldOf(kJockeyLayout, "FirstRides");
inline constexpr FieldRef FirstRides_RaceYear = FieldOf(kJockeyLayout, "FirstRides.RaceYear");
inline constexpr FieldRef FirstRides_RaceMonthDay =
    FieldOf(kJockeyLayout, "FirstRides.RaceMonthDay");
inline constexpr FieldRef FirstRides_RacecourseCode =
    FieldOf(kJockeyLayout, "FirstRides.RacecourseCode");
inline constexpr FieldRef FirstRides_MeetingNumber =
    FieldOf(kJockeyLayout, "FirstRides.MeetingNumber");
inline constexpr FieldRef FirstRides_MeetingDay = FieldOf(kJockeyLayout, "FirstRides.MeetingDay");
inline constexpr FieldRef FirstRides_RaceNumber = FieldOf(kJockeyLayout, "FirstRides.RaceNumber");
inline constexpr FieldRef FirstRides_StarterCount =
    FieldOf(kJockeyLayout, "FirstRides.StarterCount");
inline constexpr FieldRef FirstRides_HorseId = FieldOf(kJockeyLayout, "FirstRides.HorseId");
inline constexpr FieldRef FirstRides_HorseName = FieldOf(kJockeyLayout, "FirstRides.HorseName");
inline constexpr FieldRef FirstRides_FinishPosition =
    FieldOf(kJockeyLayout, "FirstRides.FinishPosition");
inline constexpr FieldRef FirstRides_AbnormalityCode =
    FieldOf(kJockeyLayout, "FirstRides.AbnormalityCode");
inline constexpr FieldRef FirstWins = FieldOf(kJockeyLayout, "FirstWins");
inline constexpr FieldRef FirstWins_RaceYear = FieldOf(kJockeyLayout, "FirstWins.RaceYear");
inline constexpr FieldRef FirstWins_RaceMonthDay = FieldOf(kJockeyLayout, "FirstWins.RaceMonthDay");
inline constexpr FieldRef FirstWins_RacecourseCode =
    FieldOf(kJockeyLayout, "FirstWins.RacecourseCode");
inline constexpr FieldRef FirstWins_MeetingNumber =
    FieldOf(kJockeyLayout, "FirstWins.MeetingNumber");
inline constexpr FieldRef FirstWins_MeetingDay = FieldOf(kJockeyLayout, "FirstWins.MeetingDay");
inline constexpr FieldRef FirstWins_RaceNumber = FieldOf(kJockeyLayout, "FirstWins.RaceNumber");
inline constexpr FieldRef FirstWins_StarterCount = FieldOf(kJockeyLayout, "FirstWins.StarterCount");
inline constexpr FieldRef FirstWins_HorseId = FieldOf(kJockeyLayout, "FirstWins.HorseId");
inline constexpr FieldRef FirstWins_HorseName = FieldOf(kJockeyLayout, "FirstWins.HorseName");
inline constexpr FieldRef RecentGradedWins = FieldOf(kJockeyLayout, "RecentGradedWins");
inline constexpr FieldRef RecentGradedWins_RaceYear =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceYear");
inline constexpr FieldRef RecentGradedWins_RaceMonthDay =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceMonthDay");
inline constexpr FieldRef RecentGradedWins_RacecourseCode =
    FieldOf(kJockeyLayout, "RecentGradedWins.RacecourseCode");
inline constexpr FieldRef RecentGradedWins_MeetingNumber =
    FieldOf(kJockeyLayout, "RecentGradedWins.MeetingNumber");
inline constexpr FieldRef RecentGradedWins_MeetingDay =
    FieldOf(kJockeyLayout, "RecentGradedWins.MeetingDay");
inline constexpr FieldRef RecentGradedWins_RaceNumber =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceNumber");
inline constexpr FieldRef RecentGradedWins_RaceName =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceName");
inline constexpr FieldRef RecentGradedWins_RaceShortName10 =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceShortName10");
inline constexpr FieldRef RecentGradedWins_RaceShortName6 =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceShortName6");
inline constexpr FieldRef RecentGradedWins_RaceShortName3 =
    FieldOf(kJockeyLayout, "RecentGradedWins.RaceShortName3");
inline constexpr FieldRef RecentGradedWins_GradeCode =
    FieldOf(kJockeyLayout, "RecentGradedWins.GradeCode");
inline constexpr FieldRef RecentGradedWins_StarterCount =
    FieldOf(kJockeyLayout, "RecentGradedWins.StarterCount");
inline constexpr FieldRef RecentGradedWins_HorseId =
    FieldOf(kJockeyLayout, "RecentGradedWins.HorseId");
inline constexpr FieldRef RecentGradedWins_HorseName =
    FieldOf(kJockeyLayout, "RecentGradedWins.HorseName");
inline constexpr FieldRef Performance = FieldOf(kJockeyLayout, "Performance");
inline constexpr FieldRef Performance_SetYear = FieldOf(kJockeyLayout, "Performance.SetYear");
inline constexpr FieldRef Performance_FlatPrizeTotal =
    FieldOf(kJockeyLayout, "Performance.FlatPrizeTotal");
inline constexpr FieldRef Performance_JumpPrizeTotal =
    FieldOf(kJockeyLayout, "Performance.JumpPrizeTotal");
inline constexpr FieldRef Performance_FlatAddedTotal =
    FieldOf(kJockeyLayout, "Performance.FlatAddedTotal");
inline constexpr FieldRef Performance_JumpAddedTotal =
    FieldOf(kJockeyLayout, "Performance.JumpAddedTotal");
inline constexpr FieldRef Performance_FlatFinishCounts =
    FieldOf(kJockeyLayout, "Performance.FlatFinishCounts");
inline constexpr FieldRef Performance_JumpFinishCounts =
    FieldOf(kJockeyLayout, "Performance.JumpFinishCounts");
inline constexpr FieldRef Performance_CourseFinishCounts =
    FieldOf(kJockeyLayout, "Performance.CourseFinishCounts");
inline constexpr FieldRef Performance_DistanceFinishCounts =
    FieldOf(kJockeyLayout, "Performance.DistanceFinishCounts");
inline constexpr FieldRef LineEnd = FieldOf(kJockeyLayout, "LineEnd");
}  // namespace ks

namespace ks {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
inline constexpr FieldRef LicenseIssueDate = Span(LicenseIssueYear, LicenseIssueDay);
inline constexpr FieldRef LicenseRevokedDate = Span(LicenseRevokedYear, LicenseRevokedDay);
inline constexpr FieldRef BirthDate = Span(BirthYear, BirthDay);
}  // namespace ks

inline constexpr auto kTrainerLayoutFields = JoinRows(
    {
        F("RecordSpec", 1, 2),          F("DataCategory", 3, 1),
        F("CreatedYear", 4, 4),         F("CreatedMonth", 8, 2),
        F("CreatedDay", 10, 2),         F("TrainerCode", 12, 5),
        F("DeregistrationCode", 17, 1), F("LicenseIssueYear", 18, 4),
        F("LicenseIssueMonth", 22, 2),  F("LicenseIssueDay", 24, 2),
        F("LicenseRevokedYear", 26, 4), F("LicenseRevokedMonth", 30, 2),
        F("LicenseRevokedDay", 32, 2),  F("BirthYear", 34, 4),
        F("BirthMonth", 38, 2),         F("BirthDay", 40, 2),
        F("TrainerName", 42, 34),       F("TrainerNameKana", 76, 30),
        F("TrainerShortName", 106, 8),  F("TrainerNameEnglish", 114, 80),
        F("SexCode", 194, 1),           F("AffiliationCode", 195, 1),
        F("InvitationRegion", 196, 20), G("RecentGradedWins", 216, 163, 3, 14),
    },
    kGradedWinMembers,
    {
        G("Performance", 705, 1048, 3, 9),
    },
    kPerformanceMembers,
    {
        F("LineEnd", 3849, 2),
    });
inline constexpr Layout kTrainerLayout{"CH", kTrainerLayoutFields, 3862, 3850};
static_assert(LayoutIsValid(kTrainerLayout));

namespace ch {
inline constexpr FieldRef RecordSpec = FieldOf(kTrainerLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kTrainerLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kTrainerLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kTrainerLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kTrainerLayout, "CreatedDay");
inline constexpr FieldRef TrainerCode = FieldOf(kTrainerLayout, "TrainerCode");
inline constexpr FieldRef DeregistrationCode = FieldOf(kTrainerLayout, "DeregistrationCode");
inline constexpr FieldRef LicenseIssueYear = FieldOf(kTrainerLayout, "LicenseIssueYear");
inline constexpr FieldRef LicenseIssueMonth = FieldOf(kTrainerLayout, "LicenseIssueMonth");
inline constexpr FieldRef LicenseIssueDay = FieldOf(kTrainerLayout, "LicenseIssueDay");
inline constexpr FieldRef LicenseRevokedYear = FieldOf(kTrainerLayout, "LicenseRevokedYear");
inline constexpr FieldRef LicenseRevokedMonth = FieldOf(kTrainerLayout, "LicenseRevokedMonth");
inline constexpr FieldRef LicenseRevokedDay = FieldOf(kTrainerLayout, "LicenseRevokedDay");
inline constexpr FieldRef BirthYear = FieldOf(kTrainerLayout, "BirthYear");
inline constexpr FieldRef BirthMonth = FieldOf(kTrainerLayout, "BirthMonth");
inline constexpr FieldRef BirthDay = FieldOf(kTrainerLayout, "BirthDay");
inline constexpr FieldRef TrainerName = FieldOf(kTrainerLayout, "TrainerName");
inline constexpr FieldRef TrainerNameKana = FieldOf(kTrainerLayout, "TrainerNameKana");
inline constexpr FieldRef TrainerShortName = FieldOf(kTrainerLayout, "TrainerShortName");
inline constexpr FieldRef TrainerNameEnglish = FieldOf(kTrainerLayout, "TrainerNameEnglish");
inline constexpr FieldRef SexCode = FieldOf(kTrainerLayout, "SexCode");
inline constexpr FieldRef AffiliationCode = FieldOf(kTrainerLayout, "AffiliationCode");
inline constexpr FieldRef InvitationRegion = FieldOf(kTrainerLayout, "InvitationRegion");
inline constexpr FieldRef RecentGradedWins = FieldOf(kTrainerLayout, "RecentGradedWins");
inline constexpr FieldRef RecentGradedWins_RaceYear =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceYear");
inline constexpr FieldRef RecentGradedWins_RaceMonthDay =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceMonthDay");
inline constexpr FieldRef RecentGradedWins_RacecourseCode =
    FieldOf(kTrainerLayout, "RecentGradedWins.RacecourseCode");
inline constexpr FieldRef RecentGradedWins_MeetingNumber =
    FieldOf(kTrainerLayout, "RecentGradedWins.MeetingNumber");
inline constexpr FieldRef RecentGradedWins_MeetingDay =
    FieldOf(kTrainerLayout, "RecentGradedWins.MeetingDay");
inline constexpr FieldRef RecentGradedWins_RaceNumber =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceNumber");
inline constexpr FieldRef RecentGradedWins_RaceName =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceName");
inline constexpr FieldRef RecentGradedWins_RaceShortName10 =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceShortName10");
inline constexpr FieldRef RecentGradedWins_RaceShortName6 =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceShortName6");
inline constexpr FieldRef RecentGradedWins_RaceShortName3 =
    FieldOf(kTrainerLayout, "RecentGradedWins.RaceShortName3");
inline constexpr FieldRef RecentGradedWins_GradeCode =
    FieldOf(kTrainerLayout, "RecentGradedWins.GradeCode");
inline constexpr FieldRef RecentGradedWins_StarterCount =
    FieldOf(kTrainerLayout, "RecentGradedWins.StarterCount");
inline constexpr FieldRef RecentGradedWins_HorseId =
    FieldOf(kTrainerLayout, "RecentGradedWins.HorseId");
inline constexpr FieldRef RecentGradedWins_HorseName =
    FieldOf(kTrainerLayout, "RecentGradedWins.HorseName");
inline constexpr FieldRef Performance = FieldOf(kTrainerLayout, "Performance");
inline constexpr FieldRef Performance_SetYear = FieldOf(kTrainerLayout, "Performance.SetYear");
inline constexpr FieldRef Performance_FlatPrizeTotal =
    FieldOf(kTrainerLayout, "Performance.FlatPrizeTotal");
inline constexpr FieldRef Performance_JumpPrizeTotal =
    FieldOf(kTrainerLayout, "Performance.JumpPrizeTotal");
inline constexpr FieldRef Performance_FlatAddedTotal =
    FieldOf(kTrainerLayout, "Performance.FlatAddedTotal");
inline constexpr FieldRef Performance_JumpAddedTotal =
    FieldOf(kTrainerLayout, "Performance.JumpAddedTotal");
inline constexpr FieldRef Performance_FlatFinishCounts =
    FieldOf(kTrainerLayout, "Performance.FlatFinishCounts");
inline constexpr FieldRef Performance_JumpFinishCounts =
    FieldOf(kTrainerLayout, "Performance.JumpFinishCounts");
inline constexpr FieldRef Performance_CourseFinishCounts =
    FieldOf(kTrainerLayout, "Performance.CourseFinishCounts");
inline constexpr FieldRef Performance_DistanceFinishCounts =
    FieldOf(kTrainerLayout, "Performance.DistanceFinishCounts");
inline constexpr FieldRef LineEnd = FieldOf(kTrainerLayout, "LineEnd");
}  // namespace ch

namespace ch {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
inline constexpr FieldRef LicenseIssueDate = Span(LicenseIssueYear, LicenseIssueDay);
inline constexpr FieldRef LicenseRevokedDate = Span(LicenseRevokedYear, LicenseRevokedDay);
inline constexpr FieldRef BirthDate = Span(BirthYear, BirthDay);
}  // namespace ch

// Spot checks of positions that later steps rely on, stored and delivered.
static_assert(ks::Performance.In(1).pos == 1016 && ks::Performance.In(2).pos == 2064 &&
              ks::Performance.In(3).pos == 3112 && ks::Performance.width == 1048);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance").In(2).pos == 2068 &&
              DeliveredFieldOf(kJockeyLayout, "Performance").In(3).pos == 3120 &&
              DeliveredFieldOf(kJockeyLayout, "Performance").width == 1052);
static_assert(ks::Performance_FlatPrizeTotal.In(1).pos == 1020 &&
              ks::Performance_FlatPrizeTotal.In(1).end() == 1028);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance.FlatPrizeTotal").In(1).end() == 1029);
static_assert(ks::Performance_FlatFinishCounts.In(1).pos == 1056);
static_assert(DeliveredFieldOf(kJockeyLayout, "Performance.FlatFinishCounts").In(1).pos == 1060);
static_assert(ks::Performance_DistanceFinishCounts.In(1).At(2).Cell(3).pos ==
              1848 + 36 * 1 + 6 * 2);
static_assert(ks::Performance_JumpFinishCounts.In(3).pos == 3188);
static_assert(ks::LineEnd.pos == 4160 && DeliveredFieldOf(kJockeyLayout, "LineEnd").pos == 4172);
static_assert(ks::InvitationRegion.pos == 232 && ks::BirthDate.pos == 34);
static_assert(ch::Performance.In(2).pos == 1753 && ch::Performance.In(3).pos == 2801);
static_assert(DeliveredFieldOf(kTrainerLayout, "Performance").In(2).pos == 1757 &&
              DeliveredFieldOf(kTrainerLayout, "Performance").In(3).pos == 2809);
static_assert(ch::Performance_DistanceFinishCounts.In(3).pos == 3633);
static_assert(DeliveredFieldOf(kTrainerLayout, "Performance.DistanceFinishCounts").In(3).pos ==
              3645);
static_assert(ch::LineEnd.pos == 3849 && ch::LineEnd.end() == 3850);
static_assert(DeliveredFieldOf(kTrainerLayout, "LineEnd").pos == 3861);

}  // namespace meridax::records
