#include "tests/parents/literal_steps.h"

#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/parent_stat_record.h"
#include "datasetup/common/sorts.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"
#include "tests/parents/parent_fixtures.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax::testing {

namespace fs = std::filesystem;
namespace sk = records::sk;

std::string LiteralFemaleLines(const std::vector<std::string>& cleaned) {
  namespace hn = records::hn;
  const std::size_t n = cleaned.size();
  std::vector<std::vector<std::vector<std::string>>> table(
      n + 1, std::vector<std::vector<std::string>>(13, std::vector<std::string>(6)));
  std::size_t mareCount = 0;
  for (const std::string& r : cleaned) {
    if (records::View(r, hn::SexCode) != "2") continue;
    auto& e = table[++mareCount];
    e[0] = {std::string(records::View(r, hn::BreedingNumber)),
            std::string(records::View(r, hn::HorseName)),
            std::string(records::View(r, hn::BirthYear)),
            std::string(records::View(r, hn::BirthplaceName)),
            std::string(records::View(r, hn::SireBreedingNumber)),
            std::string(records::View(r, hn::DamBreedingNumber))};
    e[1][0] = e[0][5];
  }
  for (int g = 1; g <= 11; ++g) {
    for (std::size_t i = 1; i <= mareCount; ++i) {
      const std::string x = table[i][g][0];
      if (x.empty()) continue;
      for (std::size_t j = 1; j <= mareCount; ++j) {
        if (table[j][0][0] == x) {
          for (int v = 1; v <= 5; ++v) table[i][g][v] = table[j][0][v];
          table[i][g + 1][0] = table[j][1][0];
          break;
        }
      }
    }
  }
  std::string out;
  for (std::size_t i = 1; i <= mareCount; ++i) {
    for (int g = 0; g <= 12; ++g) {
      for (int v = 0; v <= 5; ++v) out += (v ? ",\"" : "\"") + table[i][g][v] + "\"";
      out += "\r\n";
    }
  }
  return out;
}

void LiteralOffspringStep(const fs::path& data, bool sireStep) {
  namespace sk = records::sk;
  const auto raw = ReadRecords(data / "SK20190101.dat", kOffspringLength);
  const std::int64_t n = static_cast<std::int64_t>(raw.size());
  std::vector<std::string> ids(n + 1), sires(n + 1), dams(n + 1);
  std::vector<std::int64_t> idNo(n + 1), sireNo(n + 1), damNo(n + 1);
  for (std::int64_t i = 1; i <= n; ++i) {
    ids[i] = records::View(raw[i - 1], sk::HorseId);
    sires[i] = records::View(raw[i - 1], sk::PedigreeBreedingNumbers.At(1));
    dams[i] = records::View(raw[i - 1], sk::PedigreeBreedingNumbers.At(2));
    idNo[i] = sireNo[i] = damNo[i] = i;
  }
  QuickSortAscending(ids, idNo, 1, n);
  {
    RecordFile out(data / "SK20190101NEW.dat", kOffspringLength);
    std::int64_t kept = 0;
    for (std::int64_t i = 0; i <= n - 1; ++i) {
      if (ids[i] == ids[i + 1]) continue;
      const std::string& r = raw[idNo[i + 1] - 1];
      if (r[2] == '1' || r[2] == '2') out.Write(++kept, r);
    }
  }
  const auto listPass = [&](std::vector<std::string>& numbers, std::vector<std::int64_t>& nos,
                            const char* list, const char* folder, bool empties) {
    QuickSortAscending(numbers, nos, 1, n);
    TextWriter(data / list, TextWriter::Mode::kOutput).Close();
    for (std::int64_t i = 0; i <= n - 1; ++i) {
      if (numbers[i] == numbers[i + 1]) continue;
      TextWriter(data / list, TextWriter::Mode::kAppend).Str(numbers[i + 1]).EndLine().Close();
      if (empties) TextWriter(data / folder / (numbers[i + 1] + ".dat"), TextWriter::Mode::kOutput);
    }
  };
  listPass(dams, damNo, "HAHAHANNUM20190101.dat", "HAHA", !sireStep);
  if (sireStep) listPass(sires, sireNo, "TITIHANNUM20190101.dat", "SHUBOBA", true);

  const char* blockFolder = sireStep ? "SHUBOBA" : "HAHA";
  const char* totalsFolder = sireStep ? "SHUBOBAN" : "HAHAN";
  const auto parent = records::um::Pedigree_BreedingNumber.In(sireStep ? 1 : 2);
  for (const std::string& horse : ReadRecords(data / "UM20190101NEW.dat", kHorseLength)) {
    TextWriter out(data / blockFolder / (std::string(records::View(horse, parent)) + ".dat"),
                   TextWriter::Mode::kAppend);
    WriteFinishCountBlock(horse, out);
  }
  std::vector<std::string> list;
  ItemReader listIn(data / (sireStep ? "TITIHANNUM20190101.dat" : "HAHAHANNUM20190101.dat"));
  while (!listIn.AtEnd()) list.push_back(listIn.Next());
  RecordFile stats(data / "OPTION1N" / (sireStep ? "STALLION.dat" : "MARE.dat"),
                   static_cast<std::size_t>(kParentStatLayout.storedLength));
  for (std::size_t i = 0; i < list.size(); ++i) {
    ParentTotals totals{};
    ItemReader blocks(data / blockFolder / (list[i] + ".dat"));
    while (!blocks.AtEnd()) {
      for (int j = 1; j <= 174; ++j) totals[j] += FinishCountValue(blocks.Next());
    }
    {
      TextWriter out(data / totalsFolder / (list[i] + ".dat"), TextWriter::Mode::kOutput);
      for (int j = 1; j <= 174; ++j) out.Num(totals[j]).EndLine();
    }
    ParentTotals readBack{};
    ItemReader totalsIn(data / totalsFolder / (list[i] + ".dat"));
    // Totals are whole numbers of 64 bits; reading one back keeps it whole.
    for (int j = 1; j <= 174 && !totalsIn.AtEnd(); ++j) {
      readBack[j] = static_cast<std::int64_t>(RoundHalfEven(Val(totalsIn.Next())));
    }
    stats.Write(static_cast<std::int64_t>(i) + 1, BuildParentStatRecord(list[i], readBack));
  }
}

std::map<std::string, std::string> FilesBelow(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  }
  return files;
}

void LiteralMareFiles(const fs::path& data) {
  std::vector<std::string> list;
  ItemReader in(data / "HAHAHANNUM20190101.dat");
  while (!in.AtEnd()) list.push_back(in.Next());
  const auto path = [&](std::string_view dam) {
    return data / "HAHAHAN" / (std::string(dam) + ".dat");
  };
  for (const std::string& dam : list) {
    DeleteFile(path(dam));
    RecordFile(path(dam), kOffspringLength).Close();
  }
  for (const std::string& rec : ReadRecords(data / "SK20190101NEW.dat", kOffspringLength)) {
    const std::string_view dam = records::View(rec, sk::PedigreeBreedingNumbers.At(2));
    for (const std::string& entry : list) {
      if (entry != dam) continue;
      RecordFile file(path(dam), kOffspringLength);
      const std::int64_t m = file.Count();
      std::int64_t place = m + 1;
      for (std::int64_t t = 1; t <= m; ++t) {
        const std::string stored = file.Read(t);
        if (records::View(stored, sk::HorseId) != records::View(rec, sk::HorseId)) continue;
        const auto newDate = ToInt32(records::View(rec, sk::CreatedDate));
        const auto oldDate = ToInt32(records::View(stored, sk::CreatedDate));
        if (!newDate || !oldDate || *newDate >= *oldDate) {
          place = t;
          break;
        }
      }
      file.Write(place, rec);
      file.Close();
    }
  }
}

}  // namespace meridax::testing
