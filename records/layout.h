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
// record cuts a field (the money totals of jockey and trainer records).
struct FieldSpec {
  std::string_view name;
  int pos;
  int width;
  int storedWidth;
  int repeat = 1;
  int members = 0;
};

constexpr FieldSpec F(std::string_view name, int pos, int width, int repeat = 1) {
  return {name, pos, width, width, repeat, 0};
}
// A field whose stored width is cut from its delivered width.
constexpr FieldSpec Cut(std::string_view name, int pos, int width, int storedWidth) {
  return {name, pos, width, storedWidth, 1, 0};
}
// A group of `repeat` elements; the next `members` rows are its members.
constexpr FieldSpec G(std::string_view name, int pos, int width, int repeat, int members) {
  return {name, pos, width, width, repeat, members};
}

struct Layout {
  std::string_view kind;  // "RA", "SE", ...
  std::span<const FieldSpec> fields;
  int deliveredLength;
  int storedLength;
};

// Where a field stands in a stored record: entry k of an array at pos + (k - 1) x stride,
// element e of a group at pos + (e - 1) x elementStride.
struct FieldRef {
  int pos = 0;
  int width = 0;
  int count = 1;
  int stride = 0;
  int elements = 1;
  int elementStride = 0;

  constexpr FieldRef At(int entry) const {
    return {pos + (entry - 1) * stride, width, 1, 0, elements, elementStride};
  }
  constexpr FieldRef In(int element) const {
    return {pos + (element - 1) * elementStride, width, count, stride, 1, 0};
  }
  constexpr int end() const { return pos + width - 1; }
};

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

constexpr bool LayoutIsValid(const Layout& layout) {
  return LayoutIsContiguous(layout) && LayoutLength(layout, true) == layout.deliveredLength &&
         LayoutLength(layout, false) == layout.storedLength;
}

// The stored position of a field by name ("JockeyCode", "Opponents.HorseId"). An unknown
// name is a compile error where the result is constexpr.
constexpr FieldRef FieldOf(const Layout& layout, std::string_view name) {
  int pos = 1;
  for (std::size_t i = 0; i < layout.fields.size();) {
    const FieldSpec& f = layout.fields[i];
    const int element = detail::ElementBytes(layout.fields, i, false);
    if (f.name == name) {
      if (f.members > 0) return {pos, element, 1, 0, f.repeat, element};
      return {pos, f.storedWidth, f.repeat, f.storedWidth, 1, 0};
    }
    for (std::size_t m = i + 1; m <= i + static_cast<std::size_t>(f.members); ++m) {
      const FieldSpec& member = layout.fields[m];
      if (member.name == name) {
        return {pos + member.pos,   member.storedWidth, member.repeat,
                member.storedWidth, f.repeat,           element};
      }
    }
    pos += detail::RowStoredBytes(layout.fields, i, false);
    i += 1 + static_cast<std::size_t>(f.members);
  }
  throw "unknown field";  // not a constant expression: fails the build
}

}  // namespace meridax::records
