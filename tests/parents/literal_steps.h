#pragma once

// The breeding steps written the way the system first stated them, statement by
// statement: quadratic scans, files reopened for every record, totals read back from the
// files. Slow, but plainly right; the steps must write the same bytes on a drive where
// nothing of an earlier run stands (there the faults the steps mend do not show).

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace meridax::testing {

// FL20190101.dat from the records of a cleaned breeding-horse file: a table of 13
// generations of six texts per entry and eleven passes that scan every mare for every
// entry.
std::string LiteralFemaleLines(const std::vector<std::string>& cleaned);

// "SK（母産駒）" or "SK（父産駒）" on the data folder `data`.
void LiteralOffspringStep(const std::filesystem::path& data, bool sireStep);

// "SK/HN" on the data folder `data`: every record scans the whole list and every put
// reopens and rereads the dam's file.
void LiteralMareFiles(const std::filesystem::path& data);

// Every file below `root` by its relative name.
std::map<std::string, std::string> FilesBelow(const std::filesystem::path& root);

}  // namespace meridax::testing
