#include "engine/database/data_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/foundation/file_holder.h"
#include "engine/foundation/paths.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/stream_items.h"
#include "engine/foundation/utf.h"

namespace inkrec {
namespace {

// The position of the first record that matches, or -1.
template <typename Record, typename Match>
int position_where(const DynArray<Record>& table, Match match) {
  for (std::uint32_t i = 0; i < table.size(); ++i) {
    if (match(table[i])) return static_cast<int>(i);
  }
  return -1;
}

template <typename Record>
int position_of_id(const DynArray<Record>& table, decltype(Record::id) id) {
  return position_where(table, [id](const Record& record) { return record.id == id; });
}

template <typename Record>
const Record* record_at(const DynArray<Record>& table, int position) {
  return position < 0 ? nullptr : table.item(static_cast<std::uint32_t>(position));
}

// The id a new record takes: with `wanted` 0 the id after the largest that
// id_of gives (1 for an empty table; -1 when the 16-bit ids are used up);
// else `wanted` itself, which must lie above every id of the table (-2
// otherwise), so that a table the store builds keeps ascending. A table
// read in another order gets no repeated id either way.
template <typename Record, typename IdOf>
int choose_id(const DynArray<Record>& table, IdOf id_of, std::uint16_t wanted,
              std::uint16_t* id) {
  std::uint16_t largest = 0;
  for (const Record& record : table) largest = std::max(largest, id_of(record));
  if (wanted != 0) {
    if (wanted <= largest) return kBadArgument;
    *id = wanted;
    return kOk;
  }
  if (largest == 0xFFFF) return kOutOfMemory;
  *id = static_cast<std::uint16_t>(largest + 1);
  return kOk;
}

template <typename Record>
int choose_id(const DynArray<Record>& table, std::uint16_t wanted, std::uint16_t* id) {
  return choose_id(
      table, [](const Record& record) { return record.id; }, wanted, id);
}

}  // namespace

DataStore::DataStore(const char16_t* path, int access_class, int reserved, int kind)
    : DataStore(utf16_to_utf8(wide_view(path)).c_str(), access_class, reserved, kind) {}

DataStore::DataStore(const char* path, int access_class, int, int kind)
    : path_(path == nullptr ? "" : path),
      access_class_(access_class),
      kind_(static_cast<std::uint32_t>(kind)),
      knowledge_base_(shapes_, rafs_) {
  reload();
}

int DataStore::create_chunk_handlers() {
  handlers_[kCharSetSlot] = make_fixed_table_handler(charsets_);
  handlers_[kSymbSlot] = make_fixed_table_handler(symbs_);
  handlers_[kCharSetSymbSlot] = make_fixed_table_handler(charset_symbs_);
  handlers_[kKnowledgeBaseSlot] = make_knowledge_base_handler(knowledge_base_);
  handlers_[kShapeSlot] = make_shape_handler(shapes_);
  handlers_[kRafSlot] = make_fixed_table_handler(rafs_);
  handlers_[kComplexVariantSlot] = make_fixed_table_handler(complex_variants_);
  handlers_[kTuplesSlot] = make_tuples_handler(tuples_);
  handlers_[kSpecPairsSsSlot] = make_spec_pairs_handler(spec_pairs_ss_);
  handlers_[kSpecPairsCsSlot] = make_spec_pairs_handler(spec_pairs_cs_);
  handlers_[kSpecPairsScSlot] = make_spec_pairs_handler(spec_pairs_sc_);
  handlers_[kSpecPairsCcSlot] = make_spec_pairs_handler(spec_pairs_cc_);
  for (std::uint16_t slot = 0; slot < kSlotCount; ++slot) {
    if (slot != 6 && !handlers_[slot]) return kOutOfMemory;
  }
  return kOk;
}

// The file is opened afresh for every load, so a reload sees what is on the
// disk now (also after a save replaced the file). It is read from a copy in
// memory, taken in one read; when no copy can be had it is read as it
// lies, to the same records and statuses.
int DataStore::load() {
  BinaryStream stream;
  stream.open(path_.c_str(), access_class_ == 0 ? kAccessReadOnly : 0);
  if (!stream.good()) return kDataFileOpen;
  stream.read_into_memory();
  stream.set_tag(kind_);
  return read_chunks(stream);
}

int DataStore::reload() {
  status_ = create_chunk_handlers();
  if (status_ == kOk) status_ = load();
  return status_;
}

int DataStore::read_chunks(BinaryStream& stream) {
  note_change();
  if (const int status = read_chunk_list(stream); status != kOk) return status;
  return charset_symbs_refer_to_records() ? kOk : kCharSetSymbReferenceMissing;
}

bool DataStore::charset_symbs_refer_to_records() const {
  return std::ranges::all_of(charset_symbs_, [this](const CharSetSymb& record) {
    return find_charset(record.charset_id) != nullptr && find_symb(record.code) != nullptr;
  });
}

int DataStore::read_chunk_list(BinaryStream& stream) {
  stream.seek(0, static_cast<int>(SeekOrigin::kBegin));
  const std::uint64_t length = bytes_left(stream);
  FileHeader header{};
  if (!stream.read_exact(&header, sizeof header)) return kDataFileReadHeader;
  if (std::memcmp(header.magic, kFileHeader.magic, sizeof header.magic) != 0 ||
      header.version != kDataFileVersion) {
    return kDataFileBadHeader;
  }
  while (static_cast<std::uint64_t>(stream.tell()) < length) {
    ChunkHeader chunk{};
    if (!stream.read_exact(&chunk, sizeof chunk)) return kDataFileBadHeader;
    if (chunk.slot == kEndSlot) return kOk;
    if (chunk.byte_size > bytes_left(stream)) return kDataFileBadChunk;
    ChunkHandler* handler = chunk.slot < kSlotCount ? handlers_[chunk.slot].get() : nullptr;
    if (handler == nullptr) {
      // A chunk this store does not know: skipped whole.
      stream.seek(static_cast<long>(chunk.byte_size), static_cast<int>(SeekOrigin::kCurrent));
      continue;
    }
    if (chunk.record_size == 0) return kDataFileChunkSize;
    if (!handler->read(stream, chunk)) return kDataFileRead;
  }
  return kOk;
}

int DataStore::write_chunks(BinaryStream& stream) const {
  if (!stream.write_exact(&kFileHeader, sizeof kFileHeader)) return kDataFileWriteHeader;
  for (std::uint16_t slot = 0; slot < kSlotCount; ++slot) {
    const ChunkHandler* handler = handlers_[slot].get();
    if (handler == nullptr || handler->count() == 0) continue;
    const ChunkHeader chunk{slot, handler->record_size(), handler->byte_size(), handler->count()};
    if (chunk.byte_size == 0) continue;
    if (!stream.write_exact(&chunk, sizeof chunk) || !handler->write(stream)) return kDataFileWrite;
  }
  const ChunkHeader end{kEndSlot, 0, 0, 0};
  if (!stream.write_exact(&end, sizeof end) || !write_u32(stream, kEndMarker)) {
    return kDataFileWrite;
  }
  return kOk;
}

// A store whose kind dropped samples or corrections while loading would
// write a file without them, so it never writes the whole database.
int DataStore::write_file(const std::string& path) const {
  if (kind_drops_records()) return kSaveInRecognitionOnlyMode;
  ReplacingFile file(path);
  if (!file.is_open()) return kDataFileOpen;
  if (const int status = write_chunks(file.stream()); status != kOk) return status;
  return file.commit() == kOk ? kOk : kDataFileWrite;
}

int DataStore::save() {
  if (access_class_ == 0) return kDataFileWriteHeader;
  return write_file(path_);
}

// A save never leaves a half-written file behind, so a rewrite needs no
// invalid mark first.
int DataStore::rewrite() { return save(); }

int DataStore::save_as(const char* path) {
  FileHolder target;
  if (path == nullptr || !target.open(path, "r+b")) return kDataFileOpen;
  target.close();
  return write_file(path);
}

int DataStore::save_as_w(const char16_t* path) {
  if (path == nullptr) return kDataFileOpen;
  return save_as(utf16_to_utf8(wide_view(path)).c_str());
}

// The knowledge base.

int DataStore::update_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                              const Tag4Record& sample) {
  note_change();
  return knowledge_base_.update_variant(id, step, hits, sample, static_cast<int>(sample.words[1]),
                                        static_cast<int>(sample.words[2]));
}

int DataStore::replace_variant(std::uint16_t id, int step, std::span<const std::uint16_t> hits,
                               const Tag4Record& sample) {
  note_change();
  return knowledge_base_.replace_variant(id, step, hits, sample, static_cast<int>(sample.words[1]),
                                         static_cast<int>(sample.words[2]));
}

// The log goes beside the data file, wherever the process runs.
int DataStore::rebuild_etalons(int replay) {
  note_change();
  const std::u16string log_path = with_file_name(utf8_to_utf16(path_), u"ets.txt");
  return knowledge_base_.rebuild_etalons(replay != 0, utf16_to_utf8(log_path));
}

// Charsets.

const CharSet* DataStore::find_charset(std::uint32_t id) const {
  return record_at(charsets_, position_of_id(charsets_, id));
}

int DataStore::delete_charset(std::uint32_t id) {
  note_change();
  if (find_charset(id) == nullptr) return kCharSetMissing;
  for (std::uint32_t i = charset_symbs_.size(); i-- > 0;) {
    if (charset_symbs_[i].charset_id != id) continue;
    if (const int status = delete_charset_symb(id, charset_symbs_[i].code); status != kOk) {
      return status;
    }
  }
  return charsets_.erase(static_cast<std::uint32_t>(position_of_id(charsets_, id)), 1);
}

int DataStore::add_charset(const CharSet& record) {
  note_change();
  if (find_charset(record.id) != nullptr) return kCharSetExists;
  return charsets_.push_back(record);
}

int DataStore::edit_charset(const CharSet& record) {
  note_change();
  const int position = position_of_id(charsets_, record.id);
  if (position < 0) return kCharSetMissing;
  charsets_[static_cast<std::uint32_t>(position)] = record;
  return kOk;
}

// Symbols.

const Symb* DataStore::find_symb(std::uint16_t code) const {
  return record_at(symbs_,
                   position_where(symbs_, [code](const Symb& s) { return s.code == code; }));
}

int DataStore::delete_symb(std::uint16_t code) {
  note_change();
  const int position = position_where(symbs_, [code](const Symb& s) { return s.code == code; });
  if (position < 0) return kSymbMissing;
  if (position_where(charset_symbs_, [code](const CharSetSymb& s) { return s.code == code; }) >=
      0) {
    return kSymbInUse;
  }
  return symbs_.erase(static_cast<std::uint32_t>(position), 1);
}

int DataStore::add_symb(const Symb& record) {
  note_change();
  if (find_symb(record.code) != nullptr) return kSymbExists;
  return symbs_.push_back(record);
}

int DataStore::edit_symb(const Symb& record) {
  note_change();
  const int position =
      position_where(symbs_, [&record](const Symb& s) { return s.code == record.code; });
  if (position < 0) return kSymbMissing;
  symbs_[static_cast<std::uint32_t>(position)] = record;
  return kOk;
}

// Charset symbols.

namespace {

int charset_symb_position(const DynArray<CharSetSymb>& table, std::uint32_t charset_id,
                          std::uint16_t code) {
  return position_where(table, [charset_id, code](const CharSetSymb& s) {
    return s.charset_id == charset_id && s.code == code;
  });
}

}  // namespace

std::uint32_t DataStore::charset_symb_count_in(std::uint32_t charset_id) const {
  std::uint32_t count = 0;
  for (const CharSetSymb& record : charset_symbs_) count += record.charset_id == charset_id;
  return count;
}

const CharSetSymb* DataStore::find_charset_symb(std::uint32_t charset_id,
                                                std::uint16_t code) const {
  return record_at(charset_symbs_, charset_symb_position(charset_symbs_, charset_id, code));
}

int DataStore::delete_charset_symb(std::uint32_t charset_id, std::uint16_t code) {
  note_change();
  if (find_charset_symb(charset_id, code) == nullptr) return kCharSetSymbMissing;
  const DynArray<Variant>& variants = knowledge_base_.variants();
  for (std::uint32_t i = variants.size(); i-- > 0;) {
    if (variants[i].idSet != charset_id || variants[i].menuc != code) continue;
    if (const int status = knowledge_base_.delete_variant(variants[i].id); status != kOk) {
      return status;
    }
  }
  for (std::uint32_t i = complex_variants_.size(); i-- > 0;) {
    if (complex_variants_[i].set == charset_id && complex_variants_[i].menuc == code) {
      complex_variants_.erase(i, 1);
    }
  }
  return charset_symbs_.erase(
      static_cast<std::uint32_t>(charset_symb_position(charset_symbs_, charset_id, code)), 1);
}

int DataStore::add_charset_symb(const CharSetSymb& record) {
  note_change();
  if (find_charset_symb(record.charset_id, record.code) != nullptr) return kCharSetSymbExists;
  if (find_charset(record.charset_id) == nullptr) return kCharSetMissing;
  if (find_symb(record.code) == nullptr) return kSymbMissing;
  return charset_symbs_.push_back(record);
}

int DataStore::edit_charset_symb(const CharSetSymb& record) {
  note_change();
  const int position = charset_symb_position(charset_symbs_, record.charset_id, record.code);
  if (position < 0) return kCharSetSymbMissing;
  charset_symbs_[static_cast<std::uint32_t>(position)] = record;
  return kOk;
}

// Complex variants.

const ComplexVariant* DataStore::find_complex_variant(std::uint16_t id) const {
  return record_at(complex_variants_, position_of_id(complex_variants_, id));
}

int DataStore::delete_complex_variant(std::uint16_t id) {
  note_change();
  const int position = position_of_id(complex_variants_, id);
  if (position < 0) return kVariantMissing;
  return complex_variants_.erase(static_cast<std::uint32_t>(position), 1);
}

int DataStore::add_complex_variant(const ComplexVariant& record, std::uint16_t* new_id) {
  return insert_complex_variant(record, 0, new_id);
}

int DataStore::place_complex_variant(const ComplexVariant& record) {
  return record.id == 0 ? kBadArgument : insert_complex_variant(record, record.id, nullptr);
}

int DataStore::insert_complex_variant(const ComplexVariant& record, std::uint16_t wanted_id,
                                      std::uint16_t* new_id) {
  note_change();
  ComplexVariant added = record;
  if (const int status = choose_id(complex_variants_, wanted_id, &added.id); status != kOk) {
    return status;
  }
  if (const int status = complex_variants_.push_back(added); status != kOk) return status;
  if (new_id != nullptr) *new_id = added.id;
  return kOk;
}

int DataStore::set_complex_variant(const ComplexVariant& record) {
  note_change();
  const int position = position_of_id(complex_variants_, record.id);
  if (position < 0) return kVariantMissing;
  complex_variants_[static_cast<std::uint32_t>(position)] = record;
  return kOk;
}

// Rafs.

const Raf* DataStore::find_raf(std::uint16_t id) const {
  return record_at(rafs_, position_of_id(rafs_, id));
}

int DataStore::add_raf(const Raf& record, std::uint16_t* new_id) {
  return insert_raf(record, 0, new_id);
}

int DataStore::place_raf(const Raf& record) {
  return record.id == 0 ? kBadArgument : insert_raf(record, record.id, nullptr);
}

int DataStore::insert_raf(const Raf& record, std::uint16_t wanted_id, std::uint16_t* new_id) {
  note_change();
  Raf added = record;
  if (const int status = choose_id(rafs_, wanted_id, &added.id); status != kOk) return status;
  const std::uint32_t offset = rafs_.empty() ? record.offset : rafs_.back().end();
  if (offset + added.cell_count() > 0xFFFF) return kOutOfMemory;
  added.offset = static_cast<std::uint16_t>(offset);
  if (const int status = rafs_.push_back(added); status != kOk) return status;
  if (new_id != nullptr) *new_id = added.id;
  return kOk;
}

int DataStore::add_raf(const Raf& record, int replay) {
  if (const int status = add_raf(record); status != kOk) return status;
  const int status = rebuild_etalons(replay);
  if (status != kOk) {
    rafs_.pop_back();
    knowledge_base_.mark_dirty();
  }
  return status;
}

int DataStore::edit_raf(const Raf& record) {
  note_change();
  const int position = position_of_id(rafs_, record.id);
  if (position < 0) return kRafMissing;
  Raf& stored = rafs_[static_cast<std::uint32_t>(position)];
  if (stored.nx != record.nx || stored.ny != record.ny) return kRafTooDifferent;
  stored.ves = record.ves;
  knowledge_base_.mark_dirty();
  return knowledge_base_.recompute_statistics();
}

int DataStore::delete_raf(std::uint16_t id) {
  note_change();
  const int position = position_of_id(rafs_, id);
  if (position < 0) return kRafMissing;
  if (const int status =
          knowledge_base_.remove_raf_cells(rafs_[static_cast<std::uint32_t>(position)]);
      status != kOk) {
    return status;
  }
  rafs_.erase(static_cast<std::uint32_t>(position), 1);
  std::uint32_t offset = 0;
  for (Raf& raf : rafs_) {
    raf.offset = static_cast<std::uint16_t>(offset);
    offset += raf.cell_count();
  }
  return kOk;
}

std::uint16_t DataStore::raf_total_cells() const {
  return rafs_.empty() ? 0 : static_cast<std::uint16_t>(rafs_.back().end());
}

// Shapes.

int DataStore::delete_shape(std::uint16_t id) {
  note_change();
  const int position = shapes_.search_by_id(id);
  if (position < 0) return kShapeMissing;
  const bool used =
      position_where(knowledge_base_.variants(),
                     [id](const Variant& variant) { return variant.shape_id == id; }) >= 0 ||
      position_where(complex_variants_, [id](const ComplexVariant& record) {
        return record.refers_to_shape(id);
      }) >= 0;
  if (used) return kShapeInUse;
  return shapes_.remove(static_cast<std::uint32_t>(position));
}

int DataStore::add_shape(const Shape& shape, std::uint16_t* new_id) {
  return insert_shape(shape, 0, new_id);
}

int DataStore::place_shape(const Shape& shape) {
  return shape.info.id == 0 ? kBadArgument : insert_shape(shape, shape.info.id, nullptr);
}

int DataStore::insert_shape(const Shape& shape, std::uint16_t wanted_id, std::uint16_t* new_id) {
  note_change();
  std::uint16_t id = 0;
  if (const int status = choose_id(
          shapes_.entries(), [](const Shape& entry) { return entry.info.id; }, wanted_id, &id);
      status != kOk) {
    return status;
  }
  Shape added;
  if (const int status = added.assign(shape); status != kOk) return status;
  ShapeTable::compute_stats(added);
  added.info.id = id;
  if (const int status = shapes_.add(std::move(added)); status != kOk) return status;
  if (new_id != nullptr) *new_id = id;
  return kOk;
}

int DataStore::edit_shape(const Shape& shape, int rebuild, int force) {
  note_change();
  const int position = shapes_.search_by_id(shape.info.id);
  if (position < 0) return kShapeMissing;
  Shape& stored = *shapes_.at(static_cast<std::uint32_t>(position));
  const bool same_ink = same_samples(stored.samples, shape.samples);
  if (const int status = stored.assign(shape); status != kOk) return status;
  if (same_ink && force == 0) return kOk;
  ShapeTable::compute_stats(stored);
  return rebuild != 0 ? knowledge_base_.rebuild_shape_etalons(shape.info.id)
                      : knowledge_base_.merge_shape_etalons(shape.info.id);
}

int DataStore::edit_shape_dummy(const Shape& shape) {
  note_change();
  const int position = shapes_.search_by_id(shape.info.id);
  if (position < 0) return kShapeMissing;
  return shapes_.at(static_cast<std::uint32_t>(position))->assign(shape);
}

}  // namespace inkrec
