// LineGroup: adding elements, merging groups, erasing groups.

#include "engine/records/line_group.h"

#include <algorithm>

#include "engine/foundation/status.h"
#include "engine/foundation/values.h"

namespace inkrec {

namespace {

// Whether the list holds a figure with that number; -2 at a null entry.
int holds_number(const PtrArray<FigureRecord>& list, std::uint16_t number, bool* found) {
  *found = false;
  for (const FigureRecord* figure : list) {
    if (figure == nullptr) return kBadArgument;
    if (figure->number == number) *found = true;
  }
  return kOk;
}

// Whether the list holds an element with that key; -2 at a null entry.
int holds_key(const PtrArray<ElementRecord>& list, const BitSet& key, bool* found) {
  *found = false;
  for (const ElementRecord* element : list) {
    if (element == nullptr) return kBadArgument;
    if (element->key.equals(key)) *found = true;
  }
  return kOk;
}

// Adds the figure to the group's list unless one with its number is there.
int add_figure_once(LineGroup& group, FigureRecord& figure) {
  bool found = false;
  if (const int status = holds_number(group.figures, figure.number, &found); status != kOk) {
    return status;
  }
  return found ? kOk : group.figures.push_back(&figure);
}

int add_element_once(LineGroup& group, ElementRecord& element) {
  bool found = false;
  if (const int status = holds_key(group.elements, element.key, &found); status != kOk) {
    return status;
  }
  return found ? kOk : group.elements.push_back(&element);
}

int set_group_of_figures(const PtrArray<FigureRecord>& figures, std::uint32_t g) {
  for (FigureRecord* figure : figures) {
    if (figure == nullptr) return kBadArgument;
    set_line_group(*figure, g);
  }
  return kOk;
}

FigureRecord* figure_numbered(const PtrArray<FigureRecord>& figures, std::uint32_t number) {
  for (FigureRecord* figure : figures) {
    if (figure != nullptr && figure->number == number) return figure;
  }
  return nullptr;
}

ElementRecord* element_keyed(const PtrArray<ElementRecord>& elements, const BitSet& key) {
  for (ElementRecord* element : elements) {
    if (element != nullptr && element->key.equals(key)) return element;
  }
  return nullptr;
}

// Lowers every group index above j by one; -2 at a null entry.
int close_group_gap(const PtrArray<FigureRecord>& figures, std::uint32_t j) {
  for (FigureRecord* figure : figures) {
    if (figure == nullptr) return kBadArgument;
    const std::uint16_t g = line_group_of(*figure);
    if (g != kNoKey16 && g > j) set_line_group(*figure, g - 1u);
  }
  return kOk;
}

}  // namespace

int LineGroup::add_element(DynArray<LineGroup>& groups, const PtrArray<FigureRecord>& figures,
                           const PtrArray<ElementRecord>& elements, ElementRecord& element,
                           std::uint32_t g) {
  if (element.key.count() < 2) return kOk;
  if (g >= groups.size()) return kBadArgument;
  LineGroup& group = groups[g];
  if (const int status = group.elements.push_back(&element); status != kOk) return status;
  BitSetIterator numbers(element.key);
  if (numbers.status() != kOk) return numbers.status();
  for (; !numbers.at_end(); numbers.advance()) {
    FigureRecord* figure = figure_numbered(figures, numbers.value());
    if (figure == nullptr) return kBadArgument;
    set_line_group(*figure, g);
    if (const int status = add_figure_once(group, *figure); status != kOk) return status;
    BitSet single;
    if (const int status = single.set(numbers.value()); status != kOk) return status;
    ElementRecord* part = element_keyed(elements, single);
    if (part == nullptr) return kBadArgument;
    if (const int status = add_element_once(group, *part); status != kOk) return status;
  }
  return set_group_of_figures(element.figures, g);
}

int line_group_add_element(DynArray<LineGroup>& groups, std::uint32_t g, FigureGroup& result) {
  LineGroup* group = groups.item_checked(g);
  if (group == nullptr) return kBadArgument;
  if (group->letter_groups.push_back(&result) != kOk) return kOutOfMemory;
  for (FigureRecord* figure : result.figures) {
    if (figure == nullptr) return kBadArgument;
    if (const int status = add_figure_once(*group, *figure); status != kOk) return status;
    set_line_group(*figure, g);
  }
  return kOk;
}

int line_groups_merge(DynArray<LineGroup>& groups, const PtrArray<FigureRecord>& a,
                      const PtrArray<FigureRecord>& b, std::uint32_t i, std::uint32_t j) {
  if (i >= groups.size() || j >= groups.size() || i == j) return kBadArgument;
  LineGroup& target = groups[i];
  const LineGroup& source = groups[j];
  for (FigureRecord* figure : source.figures) {
    if (figure == nullptr) return kBadArgument;
    set_line_group(*figure, i);
    if (const int status = add_figure_once(target, *figure); status != kOk) return status;
  }
  for (ElementRecord* element : source.elements) {
    if (element == nullptr) return kBadArgument;
    if (const int status = set_group_of_figures(element->figures, i); status != kOk) {
      return status;
    }
    if (const int status = add_element_once(target, *element); status != kOk) return status;
  }
  for (FigureGroup* result : source.letter_groups) {
    if (result == nullptr) return kBadArgument;
    const bool held = std::find(target.letter_groups.begin(), target.letter_groups.end(),
                                result) != target.letter_groups.end();
    if (!held && target.letter_groups.push_back(result) != kOk) return kOutOfMemory;
  }
  groups.erase(j, 1);
  if (const int status = close_group_gap(a, j); status != kOk) return status;
  return close_group_gap(b, j);
}

int erase_line_groups(DynArray<LineGroup>& groups, std::uint32_t index, std::uint32_t n) {
  return groups.erase(index, n);
}

}  // namespace inkrec
