#pragma once

// ExtendedRunRecord (UMAGOTOEXSETUP\<HorseId>EX.dat): 1341 bytes, one run of a horse
// joined with its race, horse, pedigree, jockey and market-sale data. The run-history
// window writes it and owns its layout; so far only the fields that the main window reads
// are laid out, and each "Unmapped" row stands for fields still to be named there.

#include "records/layout.h"
#include "records/race_layouts.h"

namespace meridax {

namespace extended_run_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("Unmapped1", 1, 11),
    // The race key fields are copies of the runner record's, at the same positions.
    F("RaceYear", 12, 4),
    F("Unmapped2", 16, 4),
    F("RacecourseCode", 20, 2),
    F("MeetingNumber", 22, 2),
    F("MeetingDay", 24, 2),
    F("RaceNumber", 26, 2),
    F("Unmapped3", 28, 652),
    F("ArrivalOrder", 680, 2),
    F("Unmapped4", 682, 8),
    F("MarginCode", 690, 3),
    F("Unmapped5", 693, 649),
};
}  // namespace extended_run_detail

inline constexpr records::Layout kExtendedRunLayout{"ExtendedRun", extended_run_detail::kFields,
                                                    1341, 1341};
static_assert(records::LayoutIsValid(kExtendedRunLayout));

namespace extended_run {
using records::FieldOf;
using records::FieldRef;
inline constexpr FieldRef RaceYear = FieldOf(kExtendedRunLayout, "RaceYear");
inline constexpr FieldRef RacecourseCode = FieldOf(kExtendedRunLayout, "RacecourseCode");
inline constexpr FieldRef MeetingNumber = FieldOf(kExtendedRunLayout, "MeetingNumber");
inline constexpr FieldRef MeetingDay = FieldOf(kExtendedRunLayout, "MeetingDay");
inline constexpr FieldRef RaceNumber = FieldOf(kExtendedRunLayout, "RaceNumber");
inline constexpr FieldRef ArrivalOrder = FieldOf(kExtendedRunLayout, "ArrivalOrder");
inline constexpr FieldRef MarginCode = FieldOf(kExtendedRunLayout, "MarginCode");
}  // namespace extended_run

static_assert(extended_run::RaceYear == records::se::RaceYear &&
              extended_run::RacecourseCode == records::se::RacecourseCode &&
              extended_run::RaceNumber == records::se::RaceNumber &&
              extended_run::ArrivalOrder.width == records::se::ArrivalOrder.width &&
              extended_run::MarginCode.width == records::se::MarginCode.width);

}  // namespace meridax
