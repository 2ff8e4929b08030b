#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace meridax {

// Text output in the item format: strings in double quotes (never escaped), numbers
// bare, commas between items, CR LF after the last item of a line. Bytes are written
// exactly; there is no newline translation.
class TextWriter {
 public:
  enum class Mode { kOutput, kAppend };  // kOutput creates or empties the file

  TextWriter(const std::filesystem::path& path, Mode mode);
  ~TextWriter();  // flushes; call Close() to see errors
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  TextWriter& Str(std::string_view text);
  TextWriter& Num(std::int64_t value);
  // A bare item given as its text (a number already formatted).
  TextWriter& Bare(std::string_view text);
  TextWriter& EndLine();
  // Bytes exactly as given, outside the item format.
  TextWriter& Raw(std::string_view bytes);

  void Flush();
  void Close();
  const std::filesystem::path& path() const { return path_; }

 private:
  void Separator();

  std::filesystem::path path_;
  int fd_ = -1;
  std::string buf_;
  bool lineStarted_ = false;
};

// Buffered sequential input. A missing file in an existing folder reads as empty; a
// missing folder throws IoError.
class TextInput {
 public:
  explicit TextInput(const std::filesystem::path& path);
  ~TextInput();
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;

  bool AtEnd();
  const std::filesystem::path& path() const { return path_; }

 protected:
  int Peek();  // -1 at the end
  int Get();

 private:
  bool Fill();

  std::filesystem::path path_;
  int fd_ = -1;
  std::string buf_;
  std::size_t pos_ = 0;
  bool eof_ = false;
};

// Reads items back in the order they were written: a quoted item up to its closing
// quote, a bare item up to the next comma or line end with blanks trimmed. The delimiter
// after an item (a comma, or the line end) is consumed with it. A quoted item that does
// not end at its closing quote ("AB"CD", or no closing quote) comes back as it stands from
// its opening quote to its delimiter, never as a shorter item: no id or number takes it.
class ItemReader : public TextInput {
 public:
  // What ended an item: a comma, a line end (CR LF, or a lone CR or LF), or the file.
  enum class End { kComma, kLine, kFile };

  using TextInput::TextInput;
  std::string Next();
  // What ended the item that Next returned last.
  End LastEnd() const { return lastEnd_; }

 private:
  End lastEnd_ = End::kFile;
};

// Reads lines up to CR LF (or a lone CR or LF), which is not kept.
class LineReader : public TextInput {
 public:
  using TextInput::TextInput;
  // False at the end of the file.
  bool Next(std::string& line);
};

}  // namespace meridax
