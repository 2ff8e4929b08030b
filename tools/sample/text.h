#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/sample/rng.h"

namespace meridax::sample {

// Code page 932 bytes of a UTF-8 literal; "{EEE0}" stands for the raw bytes EE E0, so the
// pools can hold the extension codes that a conversion from Unicode never produces.
std::string Cp(std::string_view utf8);

// The longest start of a code page 932 text that fits `width` bytes without cutting a
// double-byte character in two.
std::string FitBytes(std::string_view cp932, std::size_t width);

// Number of characters (not bytes) of a code page 932 text.
std::size_t CharCount(std::string_view cp932);

// One name in its three spellings: code page 932 text (mostly double-byte), its reading
// in half-width kana, and Latin letters.
struct Name {
  std::string text;
  std::string kana;
  std::string latin;
};

// A person: full name with a full-width blank, reading, Latin name and a short name of at
// most four characters.
struct PersonName {
  Name full;
  std::string shortName;
};

// Name pools converted once; drawing only reads them.
class NameMaker {
 public:
  static const NameMaker& Get();

  // A katakana horse name of 2 to `maxChars` characters.
  Name Horse(Rng& rng, int maxChars) const;
  // A katakana name of exactly `chars` characters, to fill a field to its last byte.
  Name HorseOfLength(Rng& rng, int chars) const;
  PersonName Person(Rng& rng) const;
  // A name in katakana with a middle dot, as foreign riders are written; at most `chars`
  // characters, exactly `chars` when `fill`.
  PersonName Foreign(Rng& rng, int chars, bool fill) const;
  // Farms, companies and clubs; `corporate` adds the legal form.
  Name Farm(Rng& rng, const PersonName& owner, bool corporate, std::string* withForm) const;
  Name Company(Rng& rng, std::string* withForm) const;
  Name Race(Rng& rng, bool jump) const;
  std::string Birthplace(Rng& rng, bool abroad) const;
  std::string Country(Rng& rng) const;
  std::string Address(Rng& rng) const;
  std::string Silks(Rng& rng) const;
  // Markets: organiser and name of market number k (stable for a k).
  std::string MarketOrganizer(int k) const;
  std::string MarketName(int k, int saleAge) const;

 private:
  NameMaker();
  struct Syllable {
    std::string full, half, latin;
  };
  struct Word {
    std::string text, kana, latin;
  };
  Name Syllables(Rng& rng, int count) const;

  std::vector<Syllable> syllables_;
  Syllable longMark_;
  std::vector<Word> families_, givens_, words_, raceSuffixes_, jumpSuffixes_, companySuffixes_;
  std::vector<std::string> places_, countries_, prefectures_, colours_, patterns_;
  std::vector<std::string> organizers_, marketKinds_;
  std::string fullBlank_, halfBlank_, dot_, halfDot_;
};

}  // namespace meridax::sample
