// KnowledgeBase: the trainable part of the recognition database, its
// variants and etalons.
//
// It lives inside the DataStore, which owns the Shape and Raf tables; the
// knowledge base keeps references to both. Variants and etalons are kept in
// ascending id order. Two indexes, rebuilt by reindex() and never stored,
// give the etalon position of each variant by variant position and by
// variant id (-1 for none). The cell weights, one per feature cell, come
// from the Raf table and are rebuilt on first use after dirty_ is set.
//
// Invariants after every operation that ends with a re-index: every variant
// that is not special refers to an existing etalon; a special variant has
// etalon_id kNoEtalon; reference_count_ equals the number of variants that
// name the etalon; all etalons have cell vectors of one length.
#pragma once

#include <cstdint>

#include "engine/database/data_records.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/database/spec_pairs.h"
#include "engine/database/tuples.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/shape_table.h"

namespace inkrec {

class KnowledgeBase {
 public:
  // An empty knowledge base working on the store's Shape and Raf tables;
  // the weights are marked for rebuilding.
  KnowledgeBase(ShapeTable& shapes, DynArray<Raf>& rafs);
  KnowledgeBase(const KnowledgeBase&) = delete;
  KnowledgeBase& operator=(const KnowledgeBase&) = delete;

  DynArray<Variant>& variants() { return variants_; }
  const DynArray<Variant>& variants() const { return variants_; }
  DynArray<Etalon>& etalons() { return etalons_; }
  const DynArray<Etalon>& etalons() const { return etalons_; }
  ShapeTable& shapes() const { return shapes_; }
  DynArray<Raf>& rafs() const { return rafs_; }
  const DynArray<std::uint8_t>& cell_weights() const { return cell_weights_; }
  bool dirty() const { return dirty_ != 0; }
  void mark_dirty() { dirty_ = 1; }

  // The variant with that id (binary search), or null.
  const Variant* find_variant(std::uint16_t id) const;
  // The etalon of the variant at that position; null beyond the index or
  // for a variant without an etalon.
  const Etalon* etalon_at(std::uint32_t variant_position) const;
  // The etalon of the variant with that id (its low 16 bits) through the id
  // index, or null.
  const Etalon* find_etalon(std::uint32_t variant_id) const;

  // The variant with that id and its etalon (null for a special variant):
  // 14001 no such id, 14003 the id or its entry lies outside the id index,
  // 14004 the indexed etalon's id differs from the variant's etalon_id.
  int locate(std::uint16_t id, Variant** variant, Etalon** etalon);

  // Removes the variant; its etalon loses one reference and is erased when
  // none is left; then a re-index. locate's codes when it is not found.
  int delete_variant(std::uint16_t id);

  // Overwrites the variant with the record's id: locate's codes when it is
  // not found; 14002 when the record names another shape or etalon. A
  // record that makes a normal variant special releases its etalon (then a
  // re-index). Making a special variant normal would need an etalon built
  // from the shape's samples and is refused with 14002.
  int set_variant(const Variant& record);

  // Rebuilds both etalon indexes and marks the weights dirty: 14010 when a
  // normal variant's etalon is missing or, with check set, when the etalons'
  // cell vectors differ in length; -1 when memory runs out.
  int reindex(bool check);

  // Rebuilds the cell weights from the Raf table when they are dirty.
  int refresh();
  // Recomputes every etalon's statistics (refreshing the weights first).
  int recompute_statistics();
  // Cuts the Raf record's cell range out of every etalon and marks the
  // weights dirty; 14007 when an etalon is shorter than the range's end.
  int remove_raf_cells(const Raf& raf);

  // Checks the variants and etalons against the shapes, the Rafs, the
  // complex variants, the four special-pair tables (simple-simple,
  // simple-complex, complex-simple, complex-complex) and the tuples, and
  // writes the report, in code page 1251, to a new file: 1 when every check
  // passed, 0 when one failed; 3002 when the report cannot be created,
  // 12001 when writing it fails.
  int self_test(const char* report_path, const DynArray<ComplexVariant>& complex_variants,
                const SpecPairsTable& ss, const SpecPairsTable& sc, const SpecPairsTable& cs,
                const SpecPairsTable& cc, const TuplesTable& tuples) const;

  // Exchanges the records and indexes with other (a scratch copy read from
  // a file); both are marked dirty.
  void swap_records(KnowledgeBase& other) noexcept;

 private:
  void compute_stats(Etalon& etalon) const;

  DynArray<Variant> variants_;
  DynArray<Etalon> etalons_;
  DynArray<std::uint8_t> cell_weights_;
  std::uint32_t dirty_ = 1;
  ShapeTable& shapes_;
  DynArray<Raf>& rafs_;
  DynArray<std::int32_t> etalon_of_variant_index_;
  DynArray<std::int32_t> etalon_of_variant_id_;
};

}  // namespace inkrec
