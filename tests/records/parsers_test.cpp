#include "records/parsers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace meridax::records {
namespace {

// A text of `width` bytes that no other slot of the record repeats: the slot number in
// base 94 over the printable bytes, then letters.
std::string Pattern(std::size_t slot, int width) {
  std::string text;
  std::size_t n = slot;
  for (int k = 0; k < width; ++k) {
    if (k < 2) {
      text += static_cast<char>(0x21 + n % 94);
      n /= 94;
    } else {
      text += static_cast<char>('a' + (slot + static_cast<std::size_t>(k)) % 26);
    }
  }
  return text;
}

// The ref of a slot by its row's name, as a later step would write it.
FieldRef RefByName(const Layout& layout, const FieldSlot& slot, bool delivered) {
  const std::string_view name = layout.fields[static_cast<std::size_t>(slot.row)].name;
  const FieldRef ref = delivered ? DeliveredFieldOf(layout, name) : FieldOf(layout, name);
  return ref.In(slot.element).At(slot.entry).Cell(slot.cell);
}

// Every field filled with its own pattern at its delivered width.
ParsedRecord Filled(const Layout& layout) {
  ParsedRecord parsed(layout);
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const FieldSlot& slot = parsed.slots()[i];
    parsed.Set(RefByName(layout, slot, false), Pattern(i, slot.deliveredWidth));
  }
  return parsed;
}

// Whether a delivered slot is one of the money totals that jockey and trainer records cut.
bool IsCut(const Layout& layout, const FieldSlot& slot) {
  return layout.fields[static_cast<std::size_t>(slot.row)].storedWidth !=
         layout.fields[static_cast<std::size_t>(slot.row)].width;
}

class EveryKindTest : public ::testing::TestWithParam<std::string_view> {};

TEST_P(EveryKindTest, ParsesEveryFieldByNameAndStoresTheDeliveredBytes) {
  const Layout& layout = *LayoutOfKind(GetParam());
  const std::string delivered = ToDelivered(Filled(layout));
  ASSERT_EQ(static_cast<int>(delivered.size()), layout.deliveredLength);

  ParsedRecord parsed(layout);
  Parse(delivered, parsed);
  const std::string stored = ToFixed(parsed);
  ASSERT_EQ(static_cast<int>(stored.size()), layout.storedLength);

  std::string expectedStored;  // the delivered bytes less the tenth byte of each cut total
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const FieldSlot& slot = parsed.slots()[i];
    const std::string pattern = Pattern(i, slot.deliveredWidth);
    const FieldRef storedRef = RefByName(layout, slot, false);
    EXPECT_EQ(parsed.Text(storedRef), pattern) << layout.kind << " slot " << i;
    EXPECT_EQ(View(delivered, RefByName(layout, slot, true)), pattern)
        << layout.kind << " slot " << i;
    const std::string kept = IsCut(layout, slot) ? pattern.substr(0, 9) : pattern;
    EXPECT_EQ(View(stored, storedRef), kept) << layout.kind << " slot " << i;
    expectedStored += kept;
  }
  EXPECT_EQ(stored, expectedStored);
  if (layout.deliveredLength == layout.storedLength) {
    EXPECT_EQ(stored, delivered);
  }
}

INSTANTIATE_TEST_SUITE_P(Records, EveryKindTest,
                         ::testing::Values("RA", "SE", "UM", "HN", "KS", "SK", "CH", "BR", "BN",
                                           "HS"),
                         [](const auto& info) { return std::string(info.param); });

// A delivered jockey or trainer record with block b's money totals "b<k>2345678" + a tenth
// byte that stands out, and its line end.
std::string PersonRecord(const Layout& layout) {
  ParsedRecord parsed(layout);
  const char* const totals[] = {"Performance.FlatPrizeTotal", "Performance.JumpPrizeTotal",
                                "Performance.FlatAddedTotal", "Performance.JumpAddedTotal"};
  for (int block = 1; block <= 3; ++block) {
    for (int k = 0; k < 4; ++k) {
      std::string total = std::to_string(block) + std::to_string(k + 1) + "2345678X";
      parsed.Set(parsed.Ref(totals[k]).In(block), total);
    }
    parsed.Set(parsed.Ref("Performance.FlatFinishCounts").In(block).At(1),
               "F" + std::to_string(block) + "0001");
    parsed.Set(parsed.Ref("Performance.DistanceFinishCounts").In(block).At(1).Cell(1),
               "D" + std::to_string(block) + "0001");
  }
  parsed.Set("LineEnd", "\r\n");
  return ToDelivered(parsed);
}

TEST(PersonRecordTest, JockeyStoresNineOfTenDigitsAndShiftsLaterFields) {
  const std::string delivered = PersonRecord(kJockeyLayout);
  EXPECT_EQ(delivered.substr(1020 - 1, 10), "112345678X");
  EXPECT_EQ(delivered.substr(1060 - 1, 6), "F10001");

  ParsedKS parsed;
  ParseKS(delivered, parsed);
  EXPECT_EQ(parsed.Text(ks::Performance_FlatPrizeTotal.In(1)), "112345678X");
  std::string stored;
  ToFixedKS(parsed, stored);
  ASSERT_EQ(stored.size(), 4161u);
  EXPECT_EQ(stored.substr(1020 - 1, 9), "112345678");
  EXPECT_EQ(stored.substr(1029 - 1, 9), "122345678");  // the jump total follows at once
  EXPECT_EQ(stored.substr(1056 - 1, 6), "F10001");
  EXPECT_EQ(View(stored, ks::Performance_JumpAddedTotal.In(3)), "342345678");
  EXPECT_EQ(View(stored, ks::Performance_DistanceFinishCounts.In(3).Cell(1)), "D30001");
  EXPECT_EQ(stored.find('X'), std::string::npos);
  EXPECT_EQ(stored.substr(4160 - 1), "\r\n");
}

TEST(PersonRecordTest, TrainerBlockThreeAndLineEndAtTheirStoredPositions) {
  const std::string delivered = PersonRecord(kTrainerLayout);
  EXPECT_EQ(delivered.substr(3645 - 1, 6), "D30001");
  EXPECT_EQ(delivered.substr(3861 - 1), "\r\n");

  ParsedCH parsed;
  ParseCH(delivered, parsed);
  std::string stored;
  ToFixedCH(parsed, stored);
  ASSERT_EQ(stored.size(), 3850u);
  EXPECT_EQ(stored.substr(3633 - 1, 6), "D30001");
  EXPECT_EQ(stored.substr(3849 - 1, 2), "\r\n");
  EXPECT_EQ(View(stored, ch::Performance_FlatPrizeTotal.In(2)), "212345678");
  EXPECT_EQ(stored.find('X'), std::string::npos);
}

TEST(ParseTest, ShortAndLongRecords) {
  const std::string full = ToDelivered(Filled(kBreedingHorseLayout));
  struct Case {
    std::size_t length;
    std::string lineEnd;            // what is left of it
    std::string damBreedingNumber;  // positions 240 to 249
  };
  const Case cases[] = {
      {251, full.substr(249, 2), full.substr(239, 10)},  // whole
      {250, full.substr(249, 1), full.substr(239, 10)},  // line end cut short
      {244, "", full.substr(239, 5)},                    // a field that runs past the end
      {230, "", ""},                                     // fields past the end
      {0, "", ""},
  };
  for (const Case& c : cases) {
    ParsedHN parsed;
    ParseHN(full.substr(0, c.length), parsed);
    EXPECT_EQ(parsed.Text(hn::LineEnd), c.lineEnd) << c.length;
    EXPECT_EQ(parsed.Text(hn::DamBreedingNumber), c.damBreedingNumber) << c.length;
    std::string stored;
    ToFixedHN(parsed, stored);
    ASSERT_EQ(stored.size(), 251u);
    // What was delivered is kept, the rest is blanks.
    EXPECT_EQ(stored.substr(0, c.length), full.substr(0, c.length)) << c.length;
    EXPECT_EQ(stored.substr(c.length), std::string(251 - c.length, ' ')) << c.length;
  }

  ParsedHN parsed;
  ParseHN(full + "EXCESS", parsed);  // excess bytes are not read
  EXPECT_EQ(ToFixed(parsed), full);
}

TEST(ParseTest, SecondParseLeavesNothingOfTheFirst) {
  const std::string first = ToDelivered(Filled(kRaceLayout));
  ParsedRA parsed;
  ParseRA(first, parsed);
  ParseRA("RA7", parsed);
  EXPECT_EQ(parsed.Text(ra::RecordSpec), "RA");
  EXPECT_EQ(parsed.Text(ra::DataCategory), "7");
  for (std::size_t i = 2; i < parsed.size(); ++i) EXPECT_EQ(parsed.TextAt(i), "") << i;
  std::string stored = first;
  ToFixedRA(parsed, stored);  // a reused buffer keeps nothing of the earlier record either
  EXPECT_EQ(stored, "RA7" + std::string(1272 - 3, ' '));
}

TEST(ParseTest, DoubleByteAndHalfWidthTextKeepItsBytes) {
  // 18 double-byte characters in the 36-byte name, two of them extension characters that
  // a conversion would not bring back.
  std::string name;
  for (int k = 0; k < 8; ++k) name += "\x83\x4e\x83\x8a";  // katakana
  name += "\x87\x90\xed\x40";
  ASSERT_EQ(name.size(), 36u);
  const std::string kana = "\xb8\xd8\xbd\xc4\xcc\xab\xb0\xd4\xb0";  // half-width kana
  const std::string english = "\x81\x40Silver";                     // ideographic blank

  ParsedSE se;
  se.Set(se::HorseName, name);
  se.Set(se::Opponents_HorseName.In(3), name);
  se.Set(se::LineEnd, "\r\n");
  ParsedSE back;
  ParseSE(ToDelivered(se), back);
  EXPECT_EQ(back.Text(se::HorseName), name);
  std::string stored;
  ToFixedSE(back, stored);
  EXPECT_EQ(View(stored, se::HorseName), name);
  EXPECT_EQ(View(stored, se::Opponents_HorseName.In(3)), name);

  ParsedUM um;
  um.Set(um::HorseNameKana, kana);
  um.Set(um::HorseNameEnglish, english);
  um.Set(um::Pedigree_HorseName.In(2), name);
  ParsedUM umBack;
  ParseUM(ToDelivered(um), umBack);
  ToFixedUM(umBack, stored);
  EXPECT_EQ(View(stored, um::HorseNameKana), kana + std::string(36 - kana.size(), ' '));
  EXPECT_EQ(View(stored, um::HorseNameEnglish).substr(0, english.size()), english);
  EXPECT_EQ(View(stored, um::Pedigree_HorseName.In(2)), name);
}

TEST(ParseTest, MarketSaleLineWithoutItsLineEnd) {
  ParsedHS sale;
  for (std::size_t i = 0; i < sale.size(); ++i) {
    sale.SetAt(i, Pattern(i, sale.slots()[i].deliveredWidth));
  }
  sale.Set(hs::SalePrice, "0012345678");
  sale.Set(hs::LineEnd, "\r\n");
  const std::string record = ToDelivered(sale);
  ASSERT_EQ(record.size(), 200u);
  EXPECT_EQ(record.substr(188, 12), "0012345678\r\n");

  ParsedHS parsed;
  ParseHS(record, parsed);
  EXPECT_EQ(parsed.Text(hs::LineEnd), "\r\n");
  ParseHS(std::string_view(record).substr(0, 198), parsed);  // as read back from the file
  EXPECT_EQ(parsed.Text(hs::SalePrice), "0012345678");
  EXPECT_EQ(parsed.Text(hs::LineEnd), "");
  EXPECT_EQ(parsed.size(), 21u);
  // The field widths in record order.
  const int widths[] = {2, 1, 4, 2, 2, 10, 10, 10, 4, 6, 40, 80, 4, 2, 2, 4, 2, 2, 1, 10, 2};
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    EXPECT_EQ(parsed.slots()[i].deliveredWidth, widths[i]) << i;
    if (i < 20) {
      EXPECT_EQ(parsed.TextAt(i), sale.TextAt(i)) << i;
    }
  }
}

TEST(ParsedRecordTest, FieldsByNameAndRefsThatAreNotOneField) {
  ParsedKS parsed;
  parsed.Set("JockeyCode", "01234");
  parsed.Set(ks::Performance_FlatFinishCounts.In(3).At(2), "000042");
  parsed.Set(ks::Performance_CourseFinishCounts.In(2).At(20).Cell(6), "000007");
  EXPECT_EQ(parsed.Text(ks::JockeyCode), "01234");
  EXPECT_EQ(parsed[parsed.Ref("Performance.FlatFinishCounts").In(3).At(2)], "000042");
  const std::string stored = ToFixed(parsed);
  EXPECT_EQ(View(stored, ks::Performance_FlatFinishCounts.In(3).At(2)), "000042");
  EXPECT_EQ(View(stored, ks::Performance_CourseFinishCounts.In(2).At(20)).substr(30), "000007");

  EXPECT_THROW(parsed.Text(ks::Performance.In(1)), std::invalid_argument);  // a whole block
  EXPECT_THROW(parsed.Text(ks::Performance_CourseFinishCounts.At(1)), std::invalid_argument);
  EXPECT_THROW(parsed.Text(ks::BirthDate), std::invalid_argument);  // a span of three
  EXPECT_THROW(parsed.Text(FieldRef{5000, 1}), std::invalid_argument);
  EXPECT_THROW(parsed.Text("NoSuchField"), std::invalid_argument);

  parsed.Clear();
  EXPECT_EQ(ToFixed(parsed), std::string(4161, ' '));
}

}  // namespace
}  // namespace meridax::records
