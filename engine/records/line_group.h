// LineGroup: a group of figures of one text line kept by the grouping of
// the letter search, with the elements (figures taken together) that join
// it; and ElementRecord, what a line group needs of an element.
//
// A line group refers to its figures, elements and letter groups without
// owning them. Each figure keeps the index of its line group in its spare
// key (0xFFFF: none), and the operations here keep those indices in step
// as elements join and groups merge. Figures are identified by their
// number, elements by their key (the set of the numbers of their figures).
#pragma once

#include <cstdint>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"

namespace inkrec {

struct ElementRecord {
  PtrArray<FigureRecord> figures;  // not owned
  BitSet key;                      // the numbers of its figures
};

// The line group a figure belongs to, 0xFFFF for none.
inline std::uint16_t line_group_of(const FigureRecord& figure) { return figure.spare_key; }
inline void set_line_group(FigureRecord& figure, std::uint32_t g) {
  figure.spare_key = static_cast<std::uint16_t>(g);
}

class LineGroup {
 public:
  // Adds the element to group g, and with it, for every number of its key,
  // the figure of `figures` with that number (unless the group holds a
  // figure with that number) and the element of `elements` whose key is
  // that number alone (unless the group holds an element with that key);
  // the element's figures and the added ones get group index g. An element
  // of fewer than two figures changes nothing (0). -2 for g out of range, a
  // figure or one-figure element that is missing, or a null entry; -1 when
  // a list cannot grow (what was added stays).
  static int add_element(DynArray<LineGroup>& groups, const PtrArray<FigureRecord>& figures,
                         const PtrArray<ElementRecord>& elements, ElementRecord& element,
                         std::uint32_t g);

  PtrArray<FigureRecord> figures{16, false};
  PtrArray<ElementRecord> elements{16, false};
  // As a word group of a text line: its letter results (sorted by their
  // least position), the chain of them chosen to read the group (its
  // cover) and, in the debug mode that records them, the other chains
  // that covered it. None of them owns a result.
  PtrArray<FigureGroup> letter_groups{16, false};
  std::uint32_t words[4] = {0, 0, 0, 0};
  PtrArray<FigureGroup> cover{16, false};
  DynArray<PtrArray<FigureGroup>> alternatives;
};

// Merges group j into group i: j's figures, elements (and the figures of
// those elements) and letter results go to group i, except figures,
// elements and results i already holds (by number, key or address); group
// j is erased, and every figure of the lists a and b with a group index
// above j has it lowered by one. -2 for i or j
// out of range, i equal to j, or a null entry met on the way; -1 when a
// list cannot grow.
int line_groups_merge(DynArray<LineGroup>& groups, const PtrArray<FigureRecord>& a,
                      const PtrArray<FigureRecord>& b, std::uint32_t i, std::uint32_t j);

// Puts a letter result into group g: the result joins the group's letter
// results and each of its figures the group's figures (unless the group
// holds a figure with that number), all of them taking group index g. -2
// for g out of range or a null figure; -1 when a list cannot grow (what was
// added stays).
int line_group_add_element(DynArray<LineGroup>& groups, std::uint32_t g, FigureGroup& result);

// Destroys groups index..index + n - 1 and closes the gap: 0, or -2 when
// the range passes the end.
int erase_line_groups(DynArray<LineGroup>& groups, std::uint32_t index, std::uint32_t n);

}  // namespace inkrec
