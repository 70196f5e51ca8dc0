// The items of a list box or combo box: texts with a value each, kept in
// the order they were added or sorted by text (without case), and the
// selected one.
// Indices out of range are refused with kNoItem, never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ductra::platform {

inline constexpr int kNoItem = -1;  // CB_ERR / LB_ERR

class ItemList {
 public:
  explicit ItemList(bool sorted = false) : sorted_(sorted) {}

  // The index the text was put at: the end, or its place by text.
  int add(std::u16string_view text);
  void clear();

  int count() const { return static_cast<int>(items_.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
  const std::u16string* text(int index) const;

  bool set_data(int index, std::uintptr_t data);
  std::uintptr_t data(int index) const;  // kNoItem when out of range

  // Selects `index` (-1: none); false when out of range (the selection is
  // then cleared, as the platform does).
  bool select(int index);
  int selected() const { return selected_; }

 private:
  struct Item {
    std::u16string text;
    std::uintptr_t data = 0;
  };

  bool sorted_;
  std::vector<Item> items_;
  int selected_ = kNoItem;
};

}  // namespace ductra::platform
