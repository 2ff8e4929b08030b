#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/layout.h"

namespace meridax::records {

// One text of a parsed record: a plain field, an array entry, a member of a group element
// or a cell of a table row. Indices count from 1.
struct FieldSlot {
  int row;  // index of its row in the layout's fields
  int element;
  int entry;
  int cell;
  int deliveredPos;
  int deliveredWidth;
  int storedPos;
  int storedWidth;
};

// The texts of a layout in parse order, with a look-up by stored position.
class SlotTable {
 public:
  explicit SlotTable(const Layout& layout);

  const std::vector<FieldSlot>& slots() const { return slots_; }
  // The slot a field ref stands for, or -1 when the ref is not one text of this layout
  // (a whole group element, a whole table row, a date span, a foreign ref).
  int IndexOf(FieldRef field) const;

 private:
  std::vector<FieldSlot> slots_;
  std::vector<std::int32_t> byStoredPos_;
};

// Built once per layout and kept for the program's life.
const SlotTable& SlotsOf(const Layout& layout);

class ParsedRecord;
void Parse(std::string_view bytes, ParsedRecord& parsed);

// A record cut into its fields: one byte-text per slot, in layout order. The texts keep
// their storage from one parse to the next.
class ParsedRecord {
 public:
  explicit ParsedRecord(const Layout& layout);

  const Layout& layout() const { return *layout_; }
  const std::vector<FieldSlot>& slots() const { return slots_->slots(); }
  std::size_t size() const { return texts_.size(); }
  std::string_view TextAt(std::size_t slot) const { return texts_[slot]; }

  // The stored position of a field of this layout by name (for Text/Set by name).
  FieldRef Ref(std::string_view name) const { return FieldOf(*layout_, name); }

  // A field by ref (`se::HorseId`, `ks::Performance_FlatFinishCounts.In(3).At(2)`); a ref
  // that is not one text of this layout throws std::invalid_argument.
  std::string_view Text(FieldRef field) const { return texts_[Index(field)]; }
  std::string_view Text(std::string_view name) const { return Text(Ref(name)); }
  std::string_view operator[](FieldRef field) const { return Text(field); }

  // Sets a field's text as bytes; a builder cuts it to the width it writes.
  void Set(FieldRef field, std::string_view text) { texts_[Index(field)].assign(text); }
  void Set(std::string_view name, std::string_view text) { Set(Ref(name), text); }
  void SetAt(std::size_t slot, std::string_view text) { texts_[slot].assign(text); }

  // Every text empty.
  void Clear();

 private:
  friend void Parse(std::string_view bytes, ParsedRecord& parsed);
  std::size_t Index(FieldRef field) const;

  const Layout* layout_;
  const SlotTable* slots_;
  std::vector<std::string> texts_;
};

// Cuts `bytes` into every field of the parsed record's layout, walking the delivered
// widths from byte 1. Nothing is checked: a short record leaves its last fields short or
// empty, excess bytes are not read, and every field is replaced.
void Parse(std::string_view bytes, ParsedRecord& parsed);

// The stored record: every field at its stored position and width, left-aligned, padded
// with blanks and cut on the right. `stored` is resized to the stored length.
void ToFixed(const ParsedRecord& parsed, std::string& stored);
std::string ToFixed(const ParsedRecord& parsed);

// The same in the delivered layout, as the data service sends a record.
void ToDelivered(const ParsedRecord& parsed, std::string& delivered);
std::string ToDelivered(const ParsedRecord& parsed);

}  // namespace meridax::records
