#pragma once

// The female-line table FL20190101.dat as the category window keeps it: per mare her
// number and the root its line look-up finds, not the 78 values the file gives for her.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace meridax {

class FemaleLineTable {
 public:
  // Values per generation and generations per mare, as the file gives them: generation 0
  // is the mare, 1 to 12 her female line.
  static constexpr int kValues = 6;
  static constexpr int kGenerations = 13;

  // Starts mare Count() + 1 with every value empty; the file's values follow one by one.
  void AddMare();
  // The next value of the last mare, in file order: generation 0 to 12, value 0 to 5.
  // Values past the 78th are ignored.
  void AddValue(std::string_view value);
  std::int32_t Count() const { return static_cast<std::int32_t>(mares_.size()); }

  // The root of the last mare numbered `mare` that has one: value 0 of the first
  // generation from 1 to 12 whose value 1 is empty (an unread value is empty). None when no
  // such mare exists.
  std::optional<std::string_view> Root(std::string_view mare) const;

 private:
  struct Mare {
    std::string number;     // generation 0, value 0
    std::string candidate;  // value 0 of the generation being read
    std::optional<std::string> root;
    int read = 0;  // values read so far
  };
  // The root of a mare with the values not yet read taken as empty.
  static std::optional<std::string_view> RootOf(const Mare& mare);

  std::vector<Mare> mares_;
  // The last mare with a root, by number; rebuilt at the first look-up after a change.
  mutable std::unordered_map<std::string_view, std::size_t> lastWithRoot_;
  mutable bool indexed_ = false;
};

}  // namespace meridax
