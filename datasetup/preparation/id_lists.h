#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/record_map.h"
#include "platform/step_host.h"
#include "platform/text_file.h"

namespace meridax {

// A horse left out of the horse list: deregistered ("1") with no race on record ("000").
bool IsDeregisteredWithoutRaces(std::string_view horseRecord);

// KETTOMASSHO.dat holds at most this many lines: the category window reads it into a
// table of this many rows and stops there.
inline constexpr std::int64_t kRegistrationStatusRows = 270000;

// What the horse step's status adds when its cleaned file holds more horses than
// KETTOMASSHO.dat takes, so the operator sees who is missing from it; empty otherwise.
std::string RegistrationStatusCapNote(std::int64_t horses);

// Writes to `list` the JockeyCode of every record of a cleaned jockey file, in its order.
void WriteJockeyCodeList(const RecordMap& jockeys, const std::filesystem::path& list);

// Whether a horse whose last race year is no number is a recent runner: it is for the
// step "血統Q、騎手", whose error rule runs the branch of a failed test.
enum class YearNotANumber { kListed, kNotListed };

// Writes to `recent` the horses of KETTONUM20190101.dat whose last run (the last record of
// their race file) is from 2000 or later, each by the HorseId of that record, and lets the
// message loop run once per horse. Returns the number of entries that cannot name a file.
std::int64_t WriteRecentHorseList(StepHost& host, TextWriter& recent, YearNotANumber rule);

}  // namespace meridax
