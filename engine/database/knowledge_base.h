// KnowledgeBase: the trainable part of the recognition database, its
// variants and etalons.
//
// It lives inside the DataStore, which owns the Shape and Raf tables; the
// knowledge base keeps references to both. A new variant or etalon takes
// the id after the largest (1 for the first), so the lists it builds ascend
// by id; lists read from a file are taken in their stored order, and
// look-ups by id then take the first record of that id. Two indexes,
// rebuilt by reindex() and never stored, give the etalon position of each
// variant by variant position and by variant id (-1 for none). The cell
// weights, one per feature cell, come from the Raf table and are rebuilt
// on first use after dirty_ is set.
//
// Invariants after every operation that ends with a re-index: every variant
// that is not special refers to an existing etalon; a special variant has
// etalon_id kNoEtalon; all etalons have cell vectors of one length. The
// operations keep reference_count_ equal to the number of variants that
// name the etalon. An etalon whose length is not the Raf table's cell count
// (a file can hold one) is kept, but recognition never sees it: etalon_at()
// answers null for it until a rebuild gives it the right length.
//
// Etalons are built from the samples of their variant's shape and trained
// with correction samples, which each etalon keeps so that a rebuild can
// replay them. Builds and training work on copies that replace the stored
// records only when they succeeded, so a failed build or step changes
// nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/database/data_records.h"
#include "engine/database/etalon_training.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/database/spec_pairs.h"
#include "engine/database/tuples.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/shape_table.h"

namespace inkrec {

class SampleCells;

// The data store's tables that the self-test checks beside the knowledge
// base.
struct SelfTestTables {
  const DynArray<ComplexVariant>& complex_variants;
  const SpecPairsTable& ss;  // simple-simple
  const SpecPairsTable& sc;  // simple-complex
  const SpecPairsTable& cs;  // complex-simple
  const SpecPairsTable& cc;  // complex-complex
  const TuplesTable& tuples;
  const DynArray<CharSet>& charsets;
  const DynArray<Symb>& symbs;
  const DynArray<CharSetSymb>& charset_symbs;
};

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
  // The end of the Raf table's last cell range: the length of every
  // etalon's cell vector. 0 for an empty table.
  std::uint32_t total_cells() const;

  // The variant with that id (binary search), or null.
  const Variant* find_variant(std::uint16_t id) const;
  // What tells the builds the cells of a sample; must outlive the base
  // (null: builds answer 14006).
  void set_sample_cells(SampleCells* cells) { sample_cells_ = cells; }
  // Whether the etalon has one cell per cell of the Raf table.
  bool etalon_fits(const Etalon& etalon) const { return etalon.cells.size() == total_cells(); }
  // The etalon of the variant at that position, for recognition; null
  // beyond the index, for a variant without an etalon, and for an etalon
  // that does not fit the Raf table.
  const Etalon* etalon_at(std::uint32_t variant_position) const;
  // The etalon of the variant with that id (its low 16 bits) through the id
  // index, or null: what training and the exports mean by a variant's
  // etalon.
  const Etalon* find_etalon_by_variant(std::uint32_t variant_id) const;
  // The etalon whose own id is etalon_id (a variant's etalon_id field), or
  // null: what recognition looks up for a candidate variant. Unlike the
  // variant index it needs no re-index after a change.
  const Etalon* find_etalon_by_id(std::uint16_t etalon_id) const;

  // The variant with that id and its etalon (null for a special variant):
  // 14001 no such id, 14003 the id or its entry lies outside the id index,
  // 14004 the indexed etalon's id differs from the variant's etalon_id.
  int locate(std::uint16_t id, Variant** variant, Etalon** etalon);

  // Adds the record as a variant with the next id. A special variant gets
  // no etalon; any other gets a new etalon built from its shape: 14008 when
  // the shape is missing, 14009 when it has no samples, else the build's
  // failure. -1 when the variant or etalon ids run out.
  int add_variant(const Variant& record);
  // add_variant under the record's own id, which must lie above every
  // variant id: -2 otherwise and for id 0. The new etalon takes that id too
  // when it lies above every etalon id, so a database builder that places
  // its variants above the ids the rules test keeps its etalons there as
  // well (the rules also test etalon ids).
  int place_variant(const Variant& record);
  // Adds the record as a variant with the next id that shares the etalon of
  // the variant base_id (locate's codes when that is missing): 14002 when
  // the record names another shape than the base or differs from it in
  // being special.
  int add_variant_with_base(const Variant& record, std::uint16_t base_id);
  // Overwrites the variant with the record's id: locate's codes when it is
  // not found; 14002 when the record names another shape or etalon. A
  // record that makes a normal variant special releases its etalon; one
  // that makes a special variant normal gets a new etalon built from the
  // shape (add_variant's codes).
  int set_variant(const Variant& record);
  // Removes the variant; its etalon loses one reference and is erased when
  // none is left. locate's codes when it is not found.
  int delete_variant(std::uint16_t id);

  // Training with a correction sample: the cells of `hits` (ascending, each
  // naming a cell) are stepped by `step` spread by p1 and p2 (see
  // TrainingStep), and a copy of the sample, marked positive or not, is
  // kept with the etalon. locate's codes; 14003 for a variant without an
  // etalon; -3 for p1 or p2 that the step would divide by zero; -2 for a
  // bad hit list; -1 out of memory.
  //
  // update_variant trains the variant's etalon in place.
  int update_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                     const Tag4Record& sample, int p1, int p2);
  // replace_variant trains a copy of a shared etalon, which the variant
  // alone takes from then on with the next etalon id.
  int replace_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                      const Tag4Record& sample, int p1, int p2);
  // replace_variants trains the etalon that all listed variants share (p1
  // and p2 are the sample's second and third words), splitting a copy off
  // for them when the etalon has other users: 14005 when they do not all
  // share the first one's etalon. An empty list does nothing.
  int replace_variants(std::span<const std::uint16_t> ids, int step,
                       std::span<const std::uint16_t> hits, const Tag4Record& sample);

  // Rebuilds every etalon. Without replay: all etalons afresh, one per shape
  // used by a normal variant, shared by that shape's variants, without
  // corrections. With replay: each etalon from its shape and then its
  // corrections, written as the differences to the old cells into the log
  // at log_path (no log when the file cannot be written): 14008 when an
  // etalon's users have different shapes, none use it or its shape is
  // missing. A build failure is returned.
  int rebuild_etalons(bool replay, const std::string& log_path);
  // Rebuilds the etalon of one variant: 14003 when the id lies beyond the id
  // index or has no indexed etalon, 14008 when the variant or its shape is
  // missing. Without replay the corrections are dropped; with replay they
  // are applied again and kept.
  int rebuild_etalon(std::uint32_t variant_id, bool replay);
  // Rebuilds, with replay, the etalons of the shape's normal variants:
  // 14008 when the shape is missing.
  int rebuild_shape_etalons(std::uint16_t shape_id);
  // Replaces the etalons of the shape's normal variants by one built afresh
  // that they all share: 14008 when the shape is missing or one of those
  // etalons is shared with a variant of another shape. Nothing happens for
  // a shape without normal variants.
  int merge_shape_etalons(std::uint16_t shape_id);

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
  // complex variants, the four special-pair tables and the tuples, and the
  // charset symbols against the charsets and symbols, and writes the
  // report, in code page 1251, to a new file: 1 when every check passed, 0
  // when one failed; 3002 when the report cannot be created, 12001 when
  // writing it fails.
  int self_test(const char* report_path, const SelfTestTables& tables) const;

  // Exchanges the records and indexes with other (a scratch copy read from
  // a file); both are marked dirty.
  void swap_records(KnowledgeBase& other) noexcept;

 private:
  Variant* variant_with_id(std::uint16_t id);
  // The position of the etalon with that id, or -1.
  std::int32_t position_of_etalon(std::uint16_t id) const;
  int rebuild_etalons_with_replay(const std::string& log_path);
  // Builds an etalon of total_cells() cells from the shape's samples, then,
  // when `replay` is given, applies those corrections. `out` takes the
  // cells and statistics only when the build succeeds.
  int build_etalon(const Shape& shape, const DynArray<Tag4Record>* replay, Etalon& out);
  // Appends an etalon built from the shape, whose id goes to *etalon_id:
  // 14008 when the shape is missing, 14009 when it has no samples.
  // wanted_id as for append_etalon.
  int add_built_etalon(std::uint16_t shape_id, std::uint16_t wanted_id,
                       std::uint16_t* etalon_id);
  // Appends the etalon with wanted_id when that lies above every etalon id
  // (and within the id range), else with the next id; the id is written to
  // *id. -1 when the array cannot grow or the ids are used up.
  int append_etalon(Etalon&& etalon, std::uint16_t wanted_id, std::uint16_t* id);
  // Appends the record with the next variant id (wanted_id 0; -1 as above)
  // or with wanted_id, which must lie above every variant id (-2).
  int append_variant(const Variant& record, std::uint16_t wanted_id);
  // add_variant with the id append_variant takes.
  int insert_variant(const Variant& record, std::uint16_t wanted_id);
  // Takes one reference from the etalon, erasing it when none is left.
  void release_etalon(Etalon* etalon);
  // Copies the sample, marked positive when the step is, into the etalon's
  // corrections and applies the step (both checked by the caller).
  int train(Etalon& etalon, const TrainingStep& step, std::span<const std::uint16_t> hits,
            const Tag4Record& sample);
  // The checks of every training operation, then the weights refreshed.
  int check_training(const Etalon* etalon, const TrainingStep& step,
                     std::span<const std::uint16_t> hits);
  // Trains a copy of the shared etalon that the variants of distinct_ids
  // take from then on; the shared one keeps its other users.
  int split_and_train(std::span<const std::uint16_t> distinct_ids, Etalon& shared,
                      const TrainingStep& step, std::span<const std::uint16_t> hits,
                      const Tag4Record& sample);

  DynArray<Variant> variants_;
  DynArray<Etalon> etalons_;
  DynArray<std::uint8_t> cell_weights_;
  std::uint32_t dirty_ = 1;
  // Whether both lists ascend by id, so look-ups may search by halves.
  bool ids_ascend_ = true;
  ShapeTable& shapes_;
  DynArray<Raf>& rafs_;
  SampleCells* sample_cells_ = nullptr;
  DynArray<std::int32_t> etalon_of_variant_index_;
  DynArray<std::int32_t> etalon_of_variant_id_;
};

}  // namespace inkrec
