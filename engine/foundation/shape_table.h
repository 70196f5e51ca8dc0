// ShapeTable: the shapes of the database, with an index from shape id to
// entry.
//
// Entries stay in the order they were added or read; the data store gives
// each new shape an id above every other, so its own tables ascend, but a
// table read from a file is taken as stored. The index is sized by the
// largest id, names the first entry of each id, and is rebuilt after every
// change of the entries; pointers it hands out stay valid until the next
// change.
#pragma once

#include <cstdint>
#include <utility>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {

class ShapeTable {
 public:
  ShapeTable() = default;
  ShapeTable(const ShapeTable&) = delete;
  ShapeTable& operator=(const ShapeTable&) = delete;

  // The entry with that id through the index; null when there is none.
  Shape* find_by_id(std::uint32_t id);
  const Shape* find_by_id(std::uint32_t id) const;
  // The position of the entry the index holds for that id; -1 when none.
  int search_by_id(std::uint16_t id) const;

  // Appends a copy without touching the index; -1 when the table cannot grow.
  int push_back(const Shape& shape);
  int push_back(Shape&& shape) { return entries_.push_back(std::move(shape)); }
  // push_back, then rebuild_index; on failure the table is as it was.
  int add(const Shape& shape);
  int add(Shape&& shape);
  // Makes room for n more entries; false when the table cannot grow.
  bool reserve(std::uint32_t n) { return entries_.reserve(n); }
  // Appends a fresh entry (id 0, no samples) for a reader to fill, without
  // touching the index; null when the table cannot grow.
  Shape* push_default() { return entries_.push_default(); }
  // Erases the entry at `position` (its samples freed); -2 when out of range.
  int remove(std::uint32_t position);
  // Stores each entry's address under its id (the first entry of an id
  // that several share): 0, or -1 (the index then stays empty) when it
  // cannot grow.
  int rebuild_index();

  // The four statistics of a shape from its samples (see the .cc).
  static void compute_stats(Shape& shape);

  // Writes the listing of the table in code page 1251.
  void dump(FileHolder& out) const;

  std::uint32_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  Shape* at(std::uint32_t position) { return entries_.item_checked(position); }
  const Shape* at(std::uint32_t position) const { return entries_.item_checked(position); }
  const DynArray<Shape>& entries() const { return entries_; }
  std::uint32_t index_size() const { return index_.size(); }

  void swap(ShapeTable& other) noexcept {
    entries_.swap(other.entries_);
    index_.swap(other.index_);
  }

 private:
  DynArray<Shape> entries_;
  DynArray<Shape*> index_;
};

}  // namespace inkrec
