#include "appplatform/dialog/item_list.h"

#include <algorithm>

#include "appplatform/text.h"

namespace ductra::platform {
namespace {

bool text_before(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return fold_case(x) < fold_case(y); });
}

}  // namespace

int ItemList::add(std::u16string_view text) {
  int index = count();
  if (sorted_) {
    auto at = std::upper_bound(items_.begin(), items_.end(), text,
                               [](std::u16string_view t, const Item& item) { return text_before(t, item.text); });
    index = static_cast<int>(at - items_.begin());
  }
  items_.insert(items_.begin() + index, Item{std::u16string(text), 0});
  if (selected_ >= index) ++selected_;
  return index;
}

void ItemList::clear() {
  items_.clear();
  selected_ = kNoItem;
}

const std::u16string* ItemList::text(int index) const { return valid(index) ? &items_[index].text : nullptr; }

bool ItemList::set_data(int index, std::uintptr_t data) {
  if (!valid(index)) return false;
  items_[index].data = data;
  return true;
}

std::uintptr_t ItemList::data(int index) const {
  return valid(index) ? items_[index].data : static_cast<std::uintptr_t>(kNoItem);
}

bool ItemList::select(int index) {
  selected_ = valid(index) ? index : kNoItem;
  return valid(index);
}

}  // namespace ductra::platform
