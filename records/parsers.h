#pragma once

// One parser per record kind and, but for market sales, one stored-record builder. The
// download parses a delivered record into the parsed record of its kind, then builds the
// stored record from it; both reuse their storage from one record to the next.

#include <string>
#include <string_view>

#include "records/layouts.h"
#include "records/parsed_record.h"

namespace meridax::records {

template <const Layout& kLayout>
class Parsed : public ParsedRecord {
 public:
  Parsed() : ParsedRecord(kLayout) {}
};

using ParsedRA = Parsed<kRaceLayout>;
using ParsedSE = Parsed<kRunnerLayout>;
using ParsedUM = Parsed<kHorseLayout>;
using ParsedHN = Parsed<kBreedingHorseLayout>;
using ParsedKS = Parsed<kJockeyLayout>;
using ParsedSK = Parsed<kOffspringLayout>;
using ParsedCH = Parsed<kTrainerLayout>;
using ParsedBR = Parsed<kBreederLayout>;
using ParsedBN = Parsed<kOwnerLayout>;
using ParsedHS = Parsed<kMarketSaleLayout>;

inline void ParseRA(std::string_view record, ParsedRA& parsed) {
  Parse(record, parsed);
}
inline void ParseSE(std::string_view record, ParsedSE& parsed) {
  Parse(record, parsed);
}
inline void ParseUM(std::string_view record, ParsedUM& parsed) {
  Parse(record, parsed);
}
inline void ParseHN(std::string_view record, ParsedHN& parsed) {
  Parse(record, parsed);
}
inline void ParseKS(std::string_view record, ParsedKS& parsed) {
  Parse(record, parsed);
}
inline void ParseSK(std::string_view record, ParsedSK& parsed) {
  Parse(record, parsed);
}
inline void ParseCH(std::string_view record, ParsedCH& parsed) {
  Parse(record, parsed);
}
inline void ParseBR(std::string_view record, ParsedBR& parsed) {
  Parse(record, parsed);
}
inline void ParseBN(std::string_view record, ParsedBN& parsed) {
  Parse(record, parsed);
}
// Also takes a line read back from a market-sale file without its CR LF: `LineEnd` is then
// empty.
inline void ParseHS(std::string_view line, ParsedHS& parsed) {
  Parse(line, parsed);
}

inline void ToFixedRA(const ParsedRA& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedSE(const ParsedSE& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedUM(const ParsedUM& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedHN(const ParsedHN& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
// Jockey and trainer records keep the first 9 bytes of each money total of a block.
inline void ToFixedKS(const ParsedKS& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedSK(const ParsedSK& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedCH(const ParsedCH& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedBR(const ParsedBR& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}
inline void ToFixedBN(const ParsedBN& parsed, std::string& stored) {
  ToFixed(parsed, stored);
}

}  // namespace meridax::records
