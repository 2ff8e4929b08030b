#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace meridax::records {

// One row of a record layout, as the layouts are written: a field, an array of `repeat`
// fields, or a group of `repeat` elements whose `members` rows follow it. `pos` is the
// stored position (from 1; for a member, the offset in its element). `width` is the
// delivered width and `storedWidth` the stored one: they differ only where a stored
// record cuts a field (the money totals of jockey and trainer records). A table row
// splits each entry into `cells` equal cells (six counts per row of finish counts); the
// cells are what a parse takes.
struct FieldSpec {
  std::string_view name;
  int pos;
  int width;
  int storedWidth;
  int repeat = 1;
  int members = 0;
  int cells = 1;
};

constexpr FieldSpec F(std::string_view name, int pos, int width, int repeat = 1) {
  return {name, pos, width, width, repeat, 0};
}
// A field whose stored width is cut from its delivered width.
constexpr FieldSpec Cut(std::string_view name, int pos, int width, int storedWidth) {
  return {name, pos, width, storedWidth, 1, 0};
}
// A group of `repeat` elements of `width` stored bytes; the next `members` rows are its
// members.
constexpr FieldSpec G(std::string_view name, int pos, int width, int repeat, int members) {
  return {name, pos, width, width, repeat, members};
}
// A table of `rows` rows of `width` bytes, each row `cells` cells of width / cells bytes.
constexpr FieldSpec T(std::string_view name, int pos, int width, int rows, int cells) {
  return {name, pos, width, width, rows, 0, cells};
}

struct Layout {
  std::string_view kind;  // "RA", "SE", ...
  std::span<const FieldSpec> fields;
  int deliveredLength;
  int storedLength;
};

// Where a field stands in a stored record: entry k of an array at pos + (k - 1) x stride,
// element e of a group at pos + (e - 1) x elementStride, cell c of a table row at
// pos + (c - 1) x width / cells. An index not yet chosen stands for the first.
struct FieldRef {
  int pos = 0;
  int width = 0;
  int count = 1;
  int stride = 0;
  int elements = 1;
  int elementStride = 0;
  int cells = 1;

  constexpr FieldRef At(int entry) const {
    return {pos + (entry - 1) * stride, width, 1, 0, elements, elementStride, cells};
  }
  constexpr FieldRef In(int element) const {
    return {pos + (element - 1) * elementStride, width, count, stride, 1, 0, cells};
  }
  constexpr FieldRef Cell(int cell) const {
    const int cellWidth = width / cells;
    return {pos + (cell - 1) * cellWidth, cellWidth, count, stride, elements, elementStride, 1};
  }
  constexpr int end() const { return pos + width - 1; }
  constexpr bool operator==(const FieldRef&) const = default;
};

// A run of adjacent fields seen as one, such as a date kept as year, month and day.
constexpr FieldRef Span(FieldRef first, FieldRef last) {
  return {first.pos, last.end() - first.pos + 1, 1, 0, 1, 0, 1};
}

// The bytes of a field of a stored record; a record too short for it gives what is there.
inline std::string_view View(std::string_view record, FieldRef f) {
  const auto start = static_cast<std::size_t>(f.pos - 1);
  if (start >= record.size()) return {};
  return record.substr(start, static_cast<std::size_t>(f.width));
}

// Sets a field of a record buffer as fixed fields are set: the text left-aligned, padded
// with blanks and cut on the right. A buffer too short for the field is lengthened.
inline void Put(std::string& record, FieldRef f, std::string_view text) {
  const auto start = static_cast<std::size_t>(f.pos - 1);
  const auto width = static_cast<std::size_t>(f.width);
  if (record.size() < start + width) record.resize(start + width, ' ');
  const std::size_t n = std::min(width, text.size());
  record.replace(start, n, text.substr(0, n));
  record.replace(start + n, width - n, width - n, ' ');
}

namespace detail {

// Stored bytes of one row: an element of a group for a group row.
constexpr int RowStoredBytes(std::span<const FieldSpec> fields, std::size_t i, bool delivered) {
  const FieldSpec& f = fields[i];
  if (f.members == 0) return (delivered ? f.width : f.storedWidth) * f.repeat;
  int element = 0;
  for (std::size_t m = i + 1; m <= i + static_cast<std::size_t>(f.members); ++m) {
    element += RowStoredBytes(fields, m, delivered);
  }
  return element * f.repeat;
}

constexpr int ElementBytes(std::span<const FieldSpec> fields, std::size_t i, bool delivered) {
  return RowStoredBytes(fields, i, delivered) / fields[i].repeat;
}

}  // namespace detail

// Total length of the layout, delivered or stored.
constexpr int LayoutLength(const Layout& layout, bool delivered) {
  int total = 0;
  for (std::size_t i = 0; i < layout.fields.size();) {
    total += detail::RowStoredBytes(layout.fields, i, delivered);
    i += 1 + static_cast<std::size_t>(layout.fields[i].members);
  }
  return total;
}

// True when every row starts where the rows before it end (members: within their
// element), in the stored layout.
constexpr bool LayoutIsContiguous(const Layout& layout) {
  int next = 1;
  for (std::size_t i = 0; i < layout.fields.size();) {
    const FieldSpec& f = layout.fields[i];
    if (f.pos != next) return false;
    if (f.members > 0) {
      int offset = 0;
      for (std::size_t m = i + 1; m <= i + static_cast<std::size_t>(f.members); ++m) {
        if (layout.fields[m].pos != offset || layout.fields[m].members != 0) return false;
        offset += detail::RowStoredBytes(layout.fields, m, false);
      }
      if (offset != f.storedWidth) return false;
    }
    next += detail::RowStoredBytes(layout.fields, i, false);
    i += 1 + static_cast<std::size_t>(f.members);
  }
  return true;
}

// Every row is well-formed: positive widths and counts, a cut only of a plain field,
// cells that divide their row, members of a group named after it, no name twice.
constexpr bool LayoutRowsAreSound(const Layout& layout) {
  const auto& fields = layout.fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldSpec& f = fields[i];
    if (f.width <= 0 || f.storedWidth <= 0 || f.storedWidth > f.width || f.repeat <= 0 ||
        f.members < 0 || f.cells <= 0 || f.width % f.cells != 0) {
      return false;
    }
    if (f.storedWidth != f.width && (f.members > 0 || f.cells != 1)) return false;
    if (i + static_cast<std::size_t>(f.members) >= fields.size()) return false;
    for (std::size_t m = i + 1; m <= i + static_cast<std::size_t>(f.members); ++m) {
      const std::string_view member = fields[m].name;
      if (member.size() <= f.name.size() + 1 || member.substr(0, f.name.size()) != f.name ||
          member[f.name.size()] != '.') {
        return false;
      }
    }
    for (std::size_t j = i + 1; j < fields.size(); ++j) {
      if (fields[j].name == f.name) return false;
    }
  }
  return true;
}

constexpr bool LayoutIsValid(const Layout& layout) {
  return LayoutRowsAreSound(layout) && LayoutIsContiguous(layout) &&
         LayoutLength(layout, true) == layout.deliveredLength &&
         LayoutLength(layout, false) == layout.storedLength;
}

namespace detail {

[[noreturn]] void UnknownField(std::string_view name);  // throws std::invalid_argument

constexpr FieldRef FieldIn(const Layout& layout, std::string_view name, bool delivered) {
  int pos = 1;
  for (std::size_t i = 0; i < layout.fields.size();) {
    const FieldSpec& f = layout.fields[i];
    const int element = ElementBytes(layout.fields, i, delivered);
    if (f.name == name) {
      if (f.members > 0) return {pos, element, 1, 0, f.repeat, element, 1};
      const int width = delivered ? f.width : f.storedWidth;
      return {pos, width, f.repeat, width, 1, 0, f.cells};
    }
    int offset = 0;
    for (std::size_t m = i + 1; m <= i + static_cast<std::size_t>(f.members); ++m) {
      const FieldSpec& member = layout.fields[m];
      const int width = delivered ? member.width : member.storedWidth;
      if (member.name == name) {
        return {pos + offset, width, member.repeat, width, f.repeat, element, member.cells};
      }
      offset += RowStoredBytes(layout.fields, m, delivered);
    }
    pos += RowStoredBytes(layout.fields, i, delivered);
    i += 1 + static_cast<std::size_t>(f.members);
  }
  UnknownField(name);  // not a constant expression: an unknown name fails the build
}

}  // namespace detail

// The stored position of a field by name ("JockeyCode", "Opponents.HorseId"). An unknown
// name is a compile error where the result is constexpr, std::invalid_argument otherwise.
constexpr FieldRef FieldOf(const Layout& layout, std::string_view name) {
  return detail::FieldIn(layout, name, false);
}

// The same in the delivered layout (differs from FieldOf only in jockey and trainer
// records, after the first cut money total).
constexpr FieldRef DeliveredFieldOf(const Layout& layout, std::string_view name) {
  return detail::FieldIn(layout, name, true);
}

}  // namespace meridax::records

// ---- Layouts declared once ----
// A layout is a list macro LIST(X, M) whose rows each name a field once:
//   X(F, Name, pos, width)                  a field
//   X(F, Name, pos, width, repeat)          an array of fields
//   X(Cut, Name, pos, width, storedWidth)   a field the stored record cuts
//   X(T, Name, pos, width, rows, cells)     a table of counts
//   X(G, Name, pos, width, repeat, members) a group; its `members` member rows follow
//   M(Group, F|Cut|T, Name, offset, ...)    a member of Group, at its offset in an element
//   X(Span, Name, First, Last)              no row: the adjacent fields First to Last as one
// MERIDAX_LAYOUT_ROWS(LIST) gives the rows of the layout's table and, inside the namespace
// of its names, MERIDAX_LAYOUT_REFS(LIST, layout) a FieldRef for every row (Group_Name for
// a member) and `kLayout`, the layout itself. Comments inside a list are /* */ comments.
#define MERIDAX_LAYOUT_ROWS(LIST) LIST(MERIDAX_LAYOUT_ROW, MERIDAX_LAYOUT_MEMBER_ROW)
#define MERIDAX_LAYOUT_REFS(LIST, layout)                                \
  inline constexpr const ::meridax::records::Layout& kLayout = (layout); \
  LIST(MERIDAX_LAYOUT_REF, MERIDAX_LAYOUT_MEMBER_REF)

#define MERIDAX_LAYOUT_ROW(kind, name, ...) MERIDAX_LAYOUT_ROW_##kind(#name, __VA_ARGS__)
#define MERIDAX_LAYOUT_MEMBER_ROW(group, kind, name, ...) \
  MERIDAX_LAYOUT_ROW_##kind(#group "." #name, __VA_ARGS__)
#define MERIDAX_LAYOUT_ROW_F(text, ...) ::meridax::records::F(text, __VA_ARGS__),
#define MERIDAX_LAYOUT_ROW_Cut(text, ...) ::meridax::records::Cut(text, __VA_ARGS__),
#define MERIDAX_LAYOUT_ROW_T(text, ...) ::meridax::records::T(text, __VA_ARGS__),
#define MERIDAX_LAYOUT_ROW_G(text, ...) ::meridax::records::G(text, __VA_ARGS__),
#define MERIDAX_LAYOUT_ROW_Span(text, ...)

#define MERIDAX_LAYOUT_REF(kind, name, ...) MERIDAX_LAYOUT_REF_##kind(name, __VA_ARGS__)
#define MERIDAX_LAYOUT_MEMBER_REF(group, kind, name, ...)        \
  inline constexpr ::meridax::records::FieldRef group##_##name = \
      ::meridax::records::FieldOf(kLayout, #group "." #name);
#define MERIDAX_LAYOUT_REF_NAMED(name) \
  inline constexpr ::meridax::records::FieldRef name = ::meridax::records::FieldOf(kLayout, #name);
#define MERIDAX_LAYOUT_REF_F(name, ...) MERIDAX_LAYOUT_REF_NAMED(name)
#define MERIDAX_LAYOUT_REF_Cut(name, ...) MERIDAX_LAYOUT_REF_NAMED(name)
#define MERIDAX_LAYOUT_REF_T(name, ...) MERIDAX_LAYOUT_REF_NAMED(name)
#define MERIDAX_LAYOUT_REF_G(name, ...) MERIDAX_LAYOUT_REF_NAMED(name)
#define MERIDAX_LAYOUT_REF_Span(name, first, last) \
  inline constexpr ::meridax::records::FieldRef name = ::meridax::records::Span(first, last);

// The rows every record of the service begins with, CreatedDate spanning the last three.
#define MERIDAX_RECORD_HEADER_ROWS(X, M) \
  X(F, RecordSpec, 1, 2)                 \
  X(F, DataCategory, 3, 1)               \
  X(F, CreatedYear, 4, 4)                \
  X(F, CreatedMonth, 8, 2)               \
  X(F, CreatedDay, 10, 2)                \
  X(Span, CreatedDate, CreatedYear, CreatedDay)

// The race key as race and runner records (and the records built from them) keep it,
// right after the header.
#define MERIDAX_RACE_KEY_ROWS(X, M) \
  X(F, RaceYear, 12, 4)             \
  X(F, RaceMonthDay, 16, 4)         \
  X(F, RacecourseCode, 20, 2)       \
  X(F, MeetingNumber, 22, 2)        \
  X(F, MeetingDay, 24, 2)           \
  X(F, RaceNumber, 26, 2)

// The same race key as the members of a group, at their offsets in its element.
#define MERIDAX_RACE_KEY_MEMBER_ROWS(M, group) \
  M(group, F, RaceYear, 0, 4)                  \
  M(group, F, RaceMonthDay, 4, 4)              \
  M(group, F, RacecourseCode, 8, 2)            \
  M(group, F, MeetingNumber, 10, 2)            \
  M(group, F, MeetingDay, 12, 2)               \
  M(group, F, RaceNumber, 14, 2)
