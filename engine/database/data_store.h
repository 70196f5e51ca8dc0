// DataStore: the recognition database in memory, bound to its data file.
//
// The store reads its file whole when it is built (status() tells how that
// went; the engine manager destroys a store whose status is not 0) and
// writes it back whole on save. It owns the fixed-size tables (charsets,
// symbols, charset symbols, complex variants, Rafs), the shapes, the tuples,
// the four special-pair tables and the knowledge base, and one ChunkHandler
// per chunk slot.
//
// Records are kept in order of addition (a loaded table in its stored
// order); erasing moves the later ones down. Keys stay unique because adds
// refuse or assign them; complex variant, Raf and shape ids are assigned
// as the largest id + 1, so the store's own tables ascend by id. A record
// pointer handed out stays valid until its table changes. Deletions that
// would leave another record pointing at a missing one are refused;
// deleting a charset or a charset symbol takes its variants and complex
// variants with it.
//
// Every save writes a complete new file beside the old one and renames it
// over it, so a failed save leaves the old file as it was. A load reads
// each table into a scratch copy and swaps it in only when it was read
// whole: a failed load keeps the tables read before the failure and leaves
// the others as they were. No lock of its own: callers serialise.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "engine/database/chunk_handler.h"
#include "engine/database/data_file_format.h"
#include "engine/database/data_records.h"
#include "engine/database/knowledge_base.h"
#include "engine/database/sample_cells.h"
#include "engine/database/spec_pairs.h"
#include "engine/database/tuples.h"
#include "engine/foundation/binary_stream.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/shape_table.h"
#include "engine/foundation/status.h"

namespace inkrec {

class DataStore {
 public:
  // access_class 0 opens the file read-only (such a store cannot save);
  // any other value for reading and writing. kind decides what the readers
  // keep: 1 drops the shapes' samples and the etalons' corrections, 2 the
  // samples only, 3 the corrections only. The reserved word is ignored.
  DataStore(const char16_t* path, int access_class, int reserved, int kind);
  DataStore(const char* path, int access_class, int reserved, int kind);
  DataStore(const DataStore&) = delete;
  DataStore& operator=(const DataStore&) = delete;

  int status() const { return status_; }
  int kind() const { return static_cast<int>(kind_); }
  // Whether loading dropped the shapes' samples or the etalons' corrections.
  bool kind_drops_records() const { return kind_ >= 1 && kind_ <= 3; }
  std::uint64_t generation() const { return generation_; }
  // Reads the data file again; the result becomes the status.
  int reload();

  // Write the whole database: to its own file (3003 for a read-only store),
  // or to another file, which must exist (3002 when it does not open).
  // 3001, with no file touched, from a store whose kind dropped what it
  // read (kinds 1 to 3); 3003 or 3004 when writing falls short.
  int save();
  int rewrite();
  int save_as(const char* path);
  int save_as_w(const char16_t* path);
  // Write the readable listing of the tables, in code page 1251, to a new
  // file: 3002 when it cannot be created, 12001 when writing it fails
  // (nothing is then left in place of the file).
  int save_text(const char* path) const;
  int save_text_w(const char16_t* path) const;
  // The listing: a title, then for every non-empty table in chunk slot
  // order its listing and a blank line.
  void dump_text(FileHolder& out) const;

  // Checks the knowledge base against the shapes, Rafs, complex variants,
  // special pairs and tuples, and the charset symbols against the charsets
  // and symbols, and writes the report to a new file (code page 1251): 1
  // when every check passed, 0 when one failed; 3002 when the report cannot
  // be created, 12001 when writing it fails. It runs also on a store whose
  // load was refused, over the tables it read.
  int self_test(const char* report_path) const;

  // Reads a data file from the stream's start (codes 3006 to 3012). A file
  // whose charset symbols name a charset or symbol it lacks is refused
  // with 13013 once every table is read: recognition could not use the
  // charset. Other records naming missing ones are kept for the self-test
  // to name, and an etalon that does not fit the Raf table stays out of
  // recognition (see KnowledgeBase).
  int read_chunks(BinaryStream& stream);
  // Writes the header, the non-empty chunks and the terminator.
  int write_chunks(BinaryStream& stream) const;

  std::uint32_t charset_count() const { return charsets_.size(); }
  // 13001 when absent; else its charset symbols go first (the first
  // failure stops and is returned), then the charset.
  int delete_charset(std::uint32_t id);
  int add_charset(const CharSet& record);   // 13002 when its id exists
  int edit_charset(const CharSet& record);  // 13001 when its id is absent
  const CharSet* find_charset(std::uint32_t id) const;
  const CharSet* charset_at(std::uint32_t index) const { return charsets_.item_checked(index); }

  const DynArray<Symb>& symb_table() const { return symbs_; }
  std::uint32_t symb_count() const { return symbs_.size(); }
  // 13003 when absent, 13011 while a charset holds it.
  int delete_symb(std::uint16_t code);
  int add_symb(const Symb& record);   // 13004 when its code exists
  int edit_symb(const Symb& record);  // 13003 when its code is absent
  const Symb* find_symb(std::uint16_t code) const;
  const Symb* symb_at(std::uint32_t index) const { return symbs_.item_checked(index); }

  std::uint32_t charset_symb_count_in(std::uint32_t charset_id) const;
  std::uint32_t charset_symb_count() const { return charset_symbs_.size(); }
  // 13005 when absent; else the variants of that charset and code are
  // deleted through the knowledge base from the last to the first (the
  // first failure stops and is returned), then its complex variants, then
  // the record.
  int delete_charset_symb(std::uint32_t charset_id, std::uint16_t code);
  // 13006 when the pair exists, 13001 when the charset is absent, 13003
  // when the symbol is absent, tested in this order.
  int add_charset_symb(const CharSetSymb& record);
  int edit_charset_symb(const CharSetSymb& record);  // 13005 when absent
  const CharSetSymb* find_charset_symb(std::uint32_t charset_id, std::uint16_t code) const;
  const CharSetSymb* charset_symb_at(std::uint32_t index) const {
    return charset_symbs_.item_checked(index);
  }

  // For changing the knowledge base: counts as a change.
  KnowledgeBase& knowledge_base() {
    note_change();
    return knowledge_base_;
  }
  const KnowledgeBase& knowledge_base() const { return knowledge_base_; }
  // Brings the knowledge base's cell weights up to date: derived data
  // only, so not a change of the database. 0, or -1.
  int refresh_cell_weights() { return knowledge_base_.refresh(); }
  // Gives the knowledge base what tells it the cells of a sample; without
  // it no etalon can be built (14006).
  void set_sample_cells(std::unique_ptr<SampleCells> cells) {
    sample_cells_ = std::move(cells);
    knowledge_base_.set_sample_cells(sample_cells_.get());
  }
  std::uint32_t variant_count() const { return knowledge_base_.variants().size(); }
  int delete_variant(std::uint16_t id) {
    note_change();
    return knowledge_base_.delete_variant(id);
  }
  int set_variant(const Variant& record) {
    note_change();
    return knowledge_base_.set_variant(record);
  }
  // Adds a variant with the next id and, unless it is special, an etalon
  // built from its shape.
  int add_variant(const Variant& record) {
    note_change();
    return knowledge_base_.add_variant(record);
  }
  // add_variant under the record's own id, which must lie above every
  // variant id (-2 otherwise, and for id 0).
  int place_variant(const Variant& record) {
    note_change();
    return knowledge_base_.place_variant(record);
  }
  // Adds a variant with the next id that shares the etalon of the variant
  // base_id.
  int add_variant_with_base(const Variant& record, std::uint16_t base_id) {
    note_change();
    return knowledge_base_.add_variant_with_base(record, base_id);
  }
  // Train the variant's etalon with a correction sample: in place
  // (update_variant), or in a copy of its own when the etalon is shared
  // (replace_variant); replace_variants trains the etalon the variants
  // share. The step's spreading values p1 and p2 are the sample's second
  // and third words. See KnowledgeBase.
  int update_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                     const Tag4Record& sample);
  int replace_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                      const Tag4Record& sample);
  int replace_variants(std::span<const std::uint16_t> ids, int step,
                       std::span<const std::uint16_t> hits, const Tag4Record& sample) {
    note_change();
    return knowledge_base_.replace_variants(ids, step, hits, sample);
  }
  // Builds every etalon afresh from the shapes; with replay, each from its
  // shape and the corrections trained since, logging the changed cells to
  // "ets.txt" in the data file's folder.
  int rebuild_etalons(int replay);
  // The same for the etalon of one variant.
  int rebuild_etalon(std::uint32_t variant_id, int replay) {
    note_change();
    return knowledge_base_.rebuild_etalon(variant_id, replay != 0);
  }
  const Variant* find_variant(std::uint16_t id) const { return knowledge_base_.find_variant(id); }
  const Variant* variant_at(std::uint32_t index) const {
    return knowledge_base_.variants().item_checked(index);
  }
  const Etalon* etalon_at(std::uint32_t variant_position) const {
    return knowledge_base_.etalon_at(variant_position);
  }
  // The etalon of a variant (by the variant's id), and the etalon with its
  // own id (a variant's etalon_id); see KnowledgeBase.
  const Etalon* find_etalon_by_variant(std::uint32_t variant_id) const {
    return knowledge_base_.find_etalon_by_variant(variant_id);
  }
  const Etalon* find_etalon_by_id(std::uint16_t etalon_id) const {
    return knowledge_base_.find_etalon_by_id(etalon_id);
  }

  const DynArray<ComplexVariant>& complex_variant_table() const { return complex_variants_; }
  std::uint32_t complex_variant_count() const { return complex_variants_.size(); }
  int delete_complex_variant(std::uint16_t id);  // 13007 when absent
  // Appends the record with the next id (1 for the first), which goes to
  // *new_id when given; -1 when the table or the ids run out.
  int add_complex_variant(const ComplexVariant& record, std::uint16_t* new_id = nullptr);
  // The place_ functions add a record under the id it carries, which must
  // lie above every id of its table, so that the table keeps ascending: -2
  // otherwise and for id 0. A database builder gives its ids this way.
  int place_complex_variant(const ComplexVariant& record);
  int set_complex_variant(const ComplexVariant& record);  // 13007 when absent
  const ComplexVariant* find_complex_variant(std::uint16_t id) const;
  const ComplexVariant* complex_variant_at(std::uint32_t index) const {
    return complex_variants_.item_checked(index);
  }

  const DynArray<Raf>& raf_table() const { return rafs_; }
  std::uint32_t raf_count() const { return rafs_.size(); }
  const Raf* find_raf(std::uint16_t id) const;
  // Appends the record with the next id (1 for the first) and an offset
  // right after the last range (the given offset for the first); -1 when
  // the table, the ids or the 16-bit cell offsets run out.
  int add_raf(const Raf& record, std::uint16_t* new_id = nullptr);
  int place_raf(const Raf& record);
  // add_raf, then the etalons rebuilt for the new cells (rebuild_etalons):
  // the first failure; when the rebuild fails the record goes again.
  int add_raf(const Raf& record, int replay);
  // 13009 when absent, 13010 when nx or ny differ; else only the weight
  // changes and the etalons' statistics are recomputed.
  int edit_raf(const Raf& record);
  // 13009 when absent; else the range's cells leave every etalon (its
  // failure is returned with the record kept), the record is erased and the
  // offsets renumbered as running sums from 0.
  int delete_raf(std::uint16_t id);
  const Raf* raf_at(std::uint32_t index) const { return rafs_.item_checked(index); }
  // The end of the last range; 0 for an empty table.
  std::uint16_t raf_total_cells() const;

  const ShapeTable& shape_table() const { return shapes_; }
  std::uint32_t shape_count() const { return shapes_.size(); }
  // 13008 when absent, 13012 while a variant or complex variant uses it.
  int delete_shape(std::uint16_t id);
  // Copies the shape, computes its statistics and gives it the next id (1
  // for the first), which goes to *new_id when given.
  int add_shape(const Shape& shape, std::uint16_t* new_id = nullptr);
  int place_shape(const Shape& shape);
  // 13008 when its id is absent; else samples, value and info are copied
  // over the stored shape.
  int edit_shape_dummy(const Shape& shape);
  // As edit_shape_dummy; then, when the samples changed or force is set,
  // the shape's statistics are computed again and the etalons of its
  // variants rebuilt with their corrections (rebuild not 0) or merged into
  // one built afresh: the knowledge base's status.
  int edit_shape(const Shape& shape, int rebuild, int force);
  const Shape* find_shape(std::uint32_t id) const { return shapes_.find_by_id(id); }
  const Shape* shape_at(std::uint32_t index) const { return shapes_.at(index); }

  TuplesTable& tuples_mutable() {
    note_change();
    return tuples_;
  }
  const TuplesTable& tuples() const { return tuples_; }
  int set_tuples(const TuplesTable& table) { return copy_table(table, tuples_); }
  SpecPairsTable& spec_pairs_ss_mutable() {
    note_change();
    return spec_pairs_ss_;
  }
  const SpecPairsTable& spec_pairs_ss() const { return spec_pairs_ss_; }
  int set_spec_pairs_ss(const SpecPairsTable& table) { return copy_table(table, spec_pairs_ss_); }
  SpecPairsTable& spec_pairs_sc_mutable() {
    note_change();
    return spec_pairs_sc_;
  }
  const SpecPairsTable& spec_pairs_sc() const { return spec_pairs_sc_; }
  int set_spec_pairs_sc(const SpecPairsTable& table) { return copy_table(table, spec_pairs_sc_); }
  SpecPairsTable& spec_pairs_cs_mutable() {
    note_change();
    return spec_pairs_cs_;
  }
  const SpecPairsTable& spec_pairs_cs() const { return spec_pairs_cs_; }
  int set_spec_pairs_cs(const SpecPairsTable& table) { return copy_table(table, spec_pairs_cs_); }
  SpecPairsTable& spec_pairs_cc_mutable() {
    note_change();
    return spec_pairs_cc_;
  }
  const SpecPairsTable& spec_pairs_cc() const { return spec_pairs_cc_; }
  int set_spec_pairs_cc(const SpecPairsTable& table) { return copy_table(table, spec_pairs_cc_); }

 private:
  void note_change() { ++generation_; }
  int create_chunk_handlers();
  int read_chunk_list(BinaryStream& stream);
  // Whether the charset and the symbol of every charset symbol exist.
  bool charset_symbs_refer_to_records() const;
  int load();
  // The adds with a wanted id (0: the next one); see choose_id in the .cc.
  int insert_complex_variant(const ComplexVariant& record, std::uint16_t wanted_id,
                             std::uint16_t* new_id);
  int insert_raf(const Raf& record, std::uint16_t wanted_id, std::uint16_t* new_id);
  int insert_shape(const Shape& shape, std::uint16_t wanted_id, std::uint16_t* new_id);
  int write_file(const std::string& path) const;

  // Replaces `target` by a copy of `source`; on failure target is unchanged.
  template <typename Table>
  int copy_table(const Table& source, Table& target) {
    note_change();
    Table copy;
    if (const int status = copy.assign(source); status != kOk) return status;
    target.swap(copy);
    return kOk;
  }

  std::string path_;
  int access_class_;
  std::uint32_t kind_;
  DynArray<CharSet> charsets_;
  DynArray<Symb> symbs_;
  DynArray<CharSetSymb> charset_symbs_;
  DynArray<ComplexVariant> complex_variants_;
  DynArray<Raf> rafs_;
  ShapeTable shapes_;
  TuplesTable tuples_;
  SpecPairsTable spec_pairs_ss_;
  SpecPairsTable spec_pairs_sc_;
  SpecPairsTable spec_pairs_cs_;
  SpecPairsTable spec_pairs_cc_;
  KnowledgeBase knowledge_base_;
  std::unique_ptr<SampleCells> sample_cells_;
  int status_ = kOk;
  std::uint64_t generation_ = 0;
  std::array<std::unique_ptr<ChunkHandler>, kSlotCount> handlers_;
};

}  // namespace inkrec
