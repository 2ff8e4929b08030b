#pragma once

// Small earlier-generation worlds for the run-history window: records of every kind it
// reads, written where the window looks for them.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/step_host.h"
#include "platform/window.h"
#include "records/layouts.h"
#include "tests/support/record_fixture.h"

namespace meridax::testing {

std::string Runner(std::initializer_list<FieldValue> fields);
std::string Race(std::initializer_list<FieldValue> fields);
std::string Horse(std::initializer_list<FieldValue> fields);
std::string Jockey(std::initializer_list<FieldValue> fields);
std::string Foal(std::string_view horseId);
// A market-sale line as delivered: 200 bytes with its CR LF.
std::string Sale(std::initializer_list<FieldValue> fields);

// Writes the files of one world in the data folder `data`; an empty vector writes no file.
struct EarlierGeneration {
  std::vector<std::string> list = {};  // KETTONUM20180101.dat
  std::vector<std::string> horses = {}, jockeys = {}, races = {}, sales = {};
};
void WriteEarlierGeneration(const std::filesystem::path& data, const EarlierGeneration& world);

// "<data>\UMAGOTOSETUP\<id>.dat" and "<data>\UMAGOTOEXSETUP\<id>EX.dat".
std::filesystem::path RaceFileOf(const std::filesystem::path& data, std::string_view id);
std::filesystem::path ExtendedFileOf(const std::filesystem::path& data, std::string_view id);

// Opens the run-history window on `steps` as the program does: its Form_Load, with Text1
// holding what `host` shows.
StepResult Load(WindowSteps& steps, StepHost& host);

}  // namespace meridax::testing
