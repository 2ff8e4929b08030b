#pragma once

#include <string>

#include "records/parsers.h"
#include "tools/sample/world.h"

namespace meridax::sample {

// The delivered bytes of the world's records, one call per record. Fields are set through
// the parsed record of their kind and laid out by the records module, so no position is
// written here.
class Emitter {
 public:
  explicit Emitter(const World& world) : w_(world) {}

  std::string Race(int race);
  std::string Runner(int runner);
  std::string Horse(int horse);
  std::string BreedingHorse(int breeding);
  std::string Offspring(int foal);
  std::string Jockey(int jockey);
  std::string Trainer(int trainer);
  std::string Breeder(int breeder);
  std::string Owner(int owner);
  std::string Sale(int sale);

 private:
  const World& w_;
  records::ParsedRA ra_;
  records::ParsedSE se_;
  records::ParsedUM um_;
  records::ParsedHN hn_;
  records::ParsedSK sk_;
  records::ParsedKS ks_;
  records::ParsedCH ch_;
  records::ParsedBR br_;
  records::ParsedBN bn_;
  records::ParsedHS hs_;
};

// A copy of a delivered record with another data category and creation date.
std::string WithHeader(std::string_view delivered, char category, const Date& created);

// Decimal digits of a whole number, zero-padded to `width` (the last `width` digits).
std::string Digits(long long value, int width);

// A race time of tenths of a second as minutes and seconds with tenths ("1345").
std::string RaceTime(int tenths);

}  // namespace meridax::sample
