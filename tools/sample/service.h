#pragma once

// Writes a world as the data service's folder (the files the download's stand-in serves)
// and, beside it, the raw record files a correct download of that folder produces.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sample/earlier.h"
#include "tools/sample/world.h"

namespace meridax::sample {

struct Options {
  Size size = Size::kSmall;
  std::uint64_t seed = 1;
  Hazards hazards;
  std::filesystem::path out;       // the service folder; empty: none is written
  std::filesystem::path expected;  // empty: the service folder's name and "-expected"
  std::filesystem::path earlier;   // the data folder for the earlier generation; may be empty
  // Progress of the long steps, one line at a time; may be empty.
  std::function<void(const std::string&)> progress;
};

// The records of one kind in delivery order.
struct KindStream {
  std::string kind;
  std::vector<std::string> records;
};

struct Summary {
  std::vector<std::pair<std::string, std::size_t>> records;  // per kind, delivered
  std::size_t files = 0, pending = 0, damaged = 0;
  std::filesystem::path out, expected;
  std::optional<EarlierSummary> earlier;
  std::string Line(const Options& options) const;
};

std::optional<Size> SizeNamed(std::string_view name);
std::string_view NameOf(Size size);

// Every record of the world, kind by kind, with the hazards asked for put in.
std::vector<KindStream> Streams(const World& world, const Options& options);

// Builds the world and writes the service folder with its expected raw files, and the
// earlier generation, each when asked for.
Summary Generate(const Options& options);

// Names of the raw record files of the ten kinds, as the download writes them.
std::string RawFileName(std::string_view kind);

// The kinds the download stores, in the order of its raw files.
inline constexpr const char* kStoredKinds[] = {"RA", "SE", "UM", "HN", "KS",
                                               "SK", "CH", "BR", "BN", "HS"};

}  // namespace meridax::sample
