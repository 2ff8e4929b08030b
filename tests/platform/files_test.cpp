#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "tests/support/temp_drive.h"
#include "tests/support/unprivileged.h"

namespace meridax {
namespace {

using testing::ReadFile;
using testing::TempDrive;
using testing::WriteFile;

TEST(RecordCountTest, RoundsToNearestHalvesToEven) {
  struct Case {
    std::uint64_t length;
    std::size_t recordLength;
    std::int64_t count;
  } cases[] = {{0, 10, 0},  {10, 10, 1}, {14, 10, 1}, {15, 10, 2}, {25, 10, 2},
               {26, 10, 3}, {35, 10, 4}, {5, 10, 0},  {6, 10, 1},  {45, 10, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(RecordCountOf(c.length, c.recordLength), c.count)
        << c.length << "/" << c.recordLength;
  }
}

TEST(RecordFileTest, CreatesEmptyNeverTruncatesAndAddressesRecordsFromOne) {
  TempDrive drive;
  const auto path = drive.data() / "R.dat";
  {
    RecordFile f(path, 4);
    EXPECT_EQ(f.Count(), 0);
    f.Write(1, "AAAA");
    f.Write(2, "BBBB");
    f.Write(1, "aaaa");  // overwrite in place
    f.Close();
  }
  EXPECT_EQ(ReadFile(path), "aaaaBBBB");
  RecordFile again(path, 4);
  EXPECT_EQ(again.Count(), 2);
  EXPECT_EQ(again.Read(2), "BBBB");
  again.Write(4, "DDDD");  // a gap reads back as NUL bytes
  EXPECT_EQ(again.Read(3), std::string(4, '\0'));
  EXPECT_EQ(again.Read(5), "    ");  // past the end: blanks
  again.Truncate(1);
  EXPECT_EQ(again.Count(), 1);
  again.Close();
  EXPECT_EQ(ReadFile(path), "aaaa");
}

TEST(RecordFileTest, ReadsSeeWritesAndPartialLastRecordIsPadded) {
  TempDrive drive;
  const auto path = drive.data() / "P.dat";
  WriteFile(path, "1234567");  // 1.75 records of 4: counts 2
  RecordFile f(path, 4);
  EXPECT_EQ(f.Count(), 2);
  EXPECT_EQ(f.Read(2), "567 ");
  f.Write(1, "wxyz");
  EXPECT_EQ(f.Read(1), "wxyz");
  EXPECT_THROW(f.Write(1, "toolong"), std::invalid_argument);
}

TEST(RecordFileTest, LargeOffsetsUse64Bits) {
  TempDrive drive;
  const auto path = drive.data() / "Big.dat";
  RecordFile f(path, 4161);
  const std::int64_t n = 1'100'000;  // beyond 4 GiB
  f.Write(n, std::string(4161, 'K'));
  f.Flush();
  EXPECT_EQ(FileLength(path), static_cast<std::uint64_t>(n) * 4161);
  EXPECT_EQ(f.Read(n), std::string(4161, 'K'));
  f.Truncate(0);
}

TEST(RecordFileTest, MissingFolderFails) {
  TempDrive drive;
  EXPECT_THROW(RecordFile(drive.data() / "NOFOLDER" / "x.dat", 4), IoError);
}

TEST(TextWriterTest, WritesTheItemFormatExactly) {
  TempDrive drive;
  const auto path = drive.data() / "T.dat";
  {
    TextWriter w(path, TextWriter::Mode::kOutput);
    w.Str("2019104567").EndLine();
    w.Str("2019104567").Str("1000").EndLine();
    w.Num(12).Num(-3).Str("").EndLine();
  }
  EXPECT_EQ(ReadFile(path), "\"2019104567\"\r\n\"2019104567\",\"1000\"\r\n12,-3,\"\"\r\n");
  {
    TextWriter w(path, TextWriter::Mode::kAppend);
    w.Raw("HS\r\n");
  }
  EXPECT_EQ(ReadFile(path).substr(ReadFile(path).size() - 4), "HS\r\n");
  {
    TextWriter w(path, TextWriter::Mode::kOutput);  // empties
  }
  EXPECT_EQ(ReadFile(path), "");
}

TEST(ItemReaderTest, ReadsItemsBackInOrder) {
  TempDrive drive;
  const auto path = drive.data() / "I.dat";
  WriteFile(path, "\"a b\",\"\",12,  7 \r\n\"x,y\"\r\n\r\n\"last\"");
  ItemReader r(path);
  std::vector<std::string> items;
  while (!r.AtEnd()) items.push_back(r.Next());
  EXPECT_EQ(items, (std::vector<std::string>{"a b", "", "12", "7", "x,y", "", "last"}));
}

TEST(ItemReaderTest, AQuotedItemThatGoesOnPastItsClosingQuoteIsNotCutShort) {
  TempDrive drive;
  const auto path = drive.data() / "I.dat";
  WriteFile(path, "\"AB\"CD12345\"\r\n\"ok\"  ,\"x\"y\r\n\"cut");
  ItemReader r(path);
  std::vector<std::string> items;
  while (!r.AtEnd()) items.push_back(r.Next());
  EXPECT_EQ(items, (std::vector<std::string>{"\"AB\"CD12345\"", "ok", "\"x\"y", "\"cut"}));
}

// What ended each item tells a line of too many or too few items, and a last line cut
// before its line end, from a whole file.
TEST(ItemReaderTest, TellsWhatEndedEachItem) {
  TempDrive drive;
  const auto path = drive.data() / "I.dat";
  using End = ItemReader::End;
  WriteFile(path, "1,\"a,b\"\r\n2\n\"x\"  \r\"c\"\"d\",\"cu");
  ItemReader r(path);
  std::vector<std::pair<std::string, End>> items;
  while (!r.AtEnd()) {
    std::string item = r.Next();
    items.emplace_back(item, r.LastEnd());
  }
  EXPECT_EQ(items, (std::vector<std::pair<std::string, End>>{{"1", End::kComma},
                                                             {"a,b", End::kLine},
                                                             {"2", End::kLine},
                                                             {"x", End::kLine},
                                                             {"\"c\"\"d\"", End::kComma},
                                                             {"\"cu", End::kFile}}));
}

TEST(ItemReaderTest, MissingFileIsEmptyMissingFolderFails) {
  TempDrive drive;
  ItemReader r(drive.data() / "none.dat");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(FileExists(drive.data() / "none.dat"));  // reading creates nothing
  EXPECT_THROW(ItemReader(drive.data() / "NOFOLDER" / "x.dat"), IoError);
}

TEST(LineReaderTest, LinesEndAtCrLfWhichIsNotKept) {
  TempDrive drive;
  const auto path = drive.data() / "L.dat";
  WriteFile(path, "one\r\ntwo\r\n\r\nlast");
  LineReader r(path);
  std::vector<std::string> lines;
  std::string line;
  while (r.Next(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "last"}));
}

TEST(FileReplacementTest, KeepsTheOldFileUntilCommit) {
  TempDrive drive;
  const auto target = drive.data() / "W.dat";
  WriteFile(target, "old");
  {
    FileReplacement rep(target);
    TextWriter w(rep.temp(), TextWriter::Mode::kOutput);
    w.Raw("new");
    w.Close();
    EXPECT_EQ(ReadFile(target), "old");
    // no commit: abandoned
  }
  EXPECT_EQ(ReadFile(target), "old");
  {
    FileReplacement rep(target);
    RecordFile f(rep.temp(), 3);
    f.Write(1, "NEW");
    f.Close();
    rep.Commit();
  }
  EXPECT_EQ(ReadFile(target), "NEW");
  {
    FileReplacement rep(target);  // nothing written: an empty file replaces it
    rep.Commit();
  }
  EXPECT_EQ(ReadFile(target), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data()),
                          std::filesystem::directory_iterator()),
            13);  // twelve sub-folders and W.dat: no temporary file left behind
}

TEST(DeleteFileTest, MissingFileIsNoErrorMissingFolderIs) {
  TempDrive drive;
  WriteFile(drive.data() / "D.dat", "x");
  EXPECT_TRUE(DeleteFile(drive.data() / "D.dat"));
  EXPECT_FALSE(DeleteFile(drive.data() / "D.dat"));
  EXPECT_THROW(DeleteFile(drive.data() / "NOFOLDER" / "D.dat"), IoError);
  EXPECT_TRUE(FolderExists(drive.data() / "OPTION1N"));
  EXPECT_THROW(RequireFolder(drive.data() / "NOFOLDER"), IoError);
}

TEST(FolderOfTest, ABareNameStandsInTheWorkingFolder) {
  EXPECT_EQ(FolderOf("/drive/MERIDAXPROJECT/RA.dat"),
            std::filesystem::path("/drive/MERIDAXPROJECT"));
  EXPECT_EQ(FolderOf("RA.dat"), std::filesystem::path("."));
  EXPECT_FALSE(DeleteFile("meridax-no-such-file.dat"));  // the working folder exists
}

// What a failure says: `run` as it failed, or that it did not.
std::string FailureOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const IoError& e) {
    return e.what();
  }
  return "<no failure>";
}

// The drive's folders reachable by the unprivileged user, as a user's own drive is to them.
void OpenToEveryone(const TempDrive& drive) {
  std::filesystem::permissions(
      drive.root(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                        std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
}

// A folder that cannot be looked into is reported so, with why, not as missing.
TEST(RequireFolderTest, TellsAMissingFolderFromOneItCannotLookInto) {
  TempDrive drive;
  OpenToEveryone(drive);
  const std::string longName(300, 'X');
  const struct {
    const char* name;
    std::function<std::filesystem::path()> folder;  // set up, the folder to require
    std::string says;
    bool unprivileged = false;
  } cases[] = {
      {"missing", [&] { return drive.data() / "NOSUCH"; },
       "フォルダがありません " + (drive.data() / "NOSUCH").string() +
           " (C:\\MERIDAXPROJECT\\NOSUCH\\)"},
      {"a file in its place",
       [&] {
         WriteFile(drive.data() / "PLAIN", "x");
         return drive.data() / "PLAIN";
       },
       "フォルダがありません " + (drive.data() / "PLAIN").string() +
           " (C:\\MERIDAXPROJECT\\PLAIN\\): フォルダの場所にファイルがあります"},
      {"a loop of links",
       [&] {
         std::filesystem::create_directory_symlink("LOOP", drive.data() / "LOOP");
         return drive.data() / "LOOP";
       },
       "フォルダを読めません " + (drive.data() / "LOOP").string() +
           " (C:\\MERIDAXPROJECT\\LOOP\\): シンボリックリンクが循環しています"},
      {"a name too long", [&] { return drive.data() / longName; },
       "フォルダを読めません " + (drive.data() / longName).string() + " (C:\\MERIDAXPROJECT\\" +
           longName + "\\): 名前が長すぎます"},
      {"no permission on it",
       [&] {
         ::chmod(drive.data().c_str(), 0);
         return drive.data();
       },
       "フォルダを読めません " + drive.data().string() +
           " (C:\\MERIDAXPROJECT\\): 権限がありません",
       true},
      {"no permission on the folder it stands in",
       [&] {
         ::chmod(drive.data().c_str(), 0);
         return drive.data() / "KYOSOBA";
       },
       "フォルダを読めません " + (drive.data() / "KYOSOBA").string() +
           " (C:\\MERIDAXPROJECT\\KYOSOBA\\): 権限がありません",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path folder = c.folder();
    const auto require = [&] { return FailureOf([&] { RequireFolder(folder); }); };
    EXPECT_EQ(c.unprivileged ? testing::RunUnprivileged(require) : require(), c.says);
    ::chmod(drive.data().c_str(), 0755);
  }
}

// A failed file operation says why in Japanese, after the path as the host and as the system
// names it.
TEST(IoErrorTest, SaysTheCommonCausesInJapanese) {
  TempDrive drive;
  OpenToEveryone(drive);
  const auto data = drive.data();
  std::filesystem::create_symlink("/dev/full", data / "FULL.dat");
  WriteFile(data / "LOCKED.dat", "x");
  ::chmod((data / "LOCKED.dat").c_str(), 0444);
  const std::string longName = std::string(300, 'X') + ".dat";
  const struct {
    const char* name;
    std::function<void()> run;
    std::string says;
    bool unprivileged = false;
  } cases[] = {
      {"no such folder", [&] { ItemReader(data / "NOFOLDER" / "x.dat"); },
       "開けません " + (data / "NOFOLDER" / "x.dat").string() +
           " (C:\\MERIDAXPROJECT\\NOFOLDER\\x.dat): ファイルまたはフォルダがありません"},
      {"a folder in the file's place",
       [&] { TextWriter(data / "OPTION1N", TextWriter::Mode::kOutput); },
       "開けません " + (data / "OPTION1N").string() +
           " (C:\\MERIDAXPROJECT\\OPTION1N\\): ファイルの場所にフォルダがあります"},
      {"a full disk",
       [&] {
         TextWriter full(data / "FULL.dat", TextWriter::Mode::kOutput);
         full.Raw("x");
         full.Close();
       },
       "書き込めません " + (data / "FULL.dat").string() +
           " (C:\\MERIDAXPROJECT\\FULL.dat): ディスクがいっぱいです"},
      {"a name too long", [&] { RecordFile(data / longName, 4); },
       "開けません " + (data / longName).string() + " (C:\\MERIDAXPROJECT\\" + longName +
           "): 名前が長すぎます"},
      {"no permission", [&] { RecordFile(data / "LOCKED.dat", 4); },
       "開けません " + (data / "LOCKED.dat").string() +
           " (C:\\MERIDAXPROJECT\\LOCKED.dat): 権限がありません",
       true},
      {"off the drive, without the system's name",
       [&] { TextWriter("/proc/no-such-folder/x.dat", TextWriter::Mode::kOutput); },
       "開けません /proc/no-such-folder/x.dat: ファイルまたはフォルダがありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto fail = [&] { return FailureOf(c.run); };
    EXPECT_EQ(c.unprivileged ? testing::RunUnprivileged(fail) : fail(), c.says);
  }
  // Causes no test here can bring about; any other by its number and symbol.
  EXPECT_EQ(ErrorCause(EROFS), "読み取り専用のファイルシステムです");
  EXPECT_EQ(ErrorCause(EXDEV), "システムのエラー 18 EXDEV");
}

}  // namespace
}  // namespace meridax
