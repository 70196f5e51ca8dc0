#include "engine/database/chunk_handler.h"

#include <algorithm>

#include "engine/database/knowledge_base_io.h"
#include "engine/database/table_listing.h"
#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/stream_items.h"

namespace inkrec {
namespace {

// The smallest stored entries, by which counts are checked against the file.
constexpr std::uint64_t kLeastShapeBytes = 8 + 32;
constexpr std::uint64_t kLeastTuplesEntryBytes = 12;
constexpr std::uint64_t kLeastSpecPairsEntryBytes = 12;

template <typename Record>
class FixedTableHandler final : public ChunkHandler {
 public:
  explicit FixedTableHandler(DynArray<Record>& table) : table_(table) {}

  std::uint16_t record_size() const override { return sizeof(Record); }
  std::uint32_t count() const override { return table_.size(); }
  std::uint32_t byte_size() const override { return table_.size() * sizeof(Record); }

  // Reads count records of this table's own size, whatever byte size the
  // chunk header states (it was tested only against the end of the file).
  bool read(BinaryStream& stream, const ChunkHeader& header) override {
    DynArray<Record> scratch;
    if (!can_hold(stream, header.count, sizeof(Record))) return false;
    if (scratch.resize(header.count) != kOk) {
      stream.set_error();
      return false;
    }
    if (!stream.read_exact(scratch.data(), std::uint64_t{header.count} * sizeof(Record))) {
      return false;
    }
    table_.swap(scratch);
    return true;
  }

  bool write(BinaryStream& stream) const override {
    return stream.write_exact(table_.data(), byte_size());
  }

  void dump_text(FileHolder& out) const override { dump_table(out, table_); }

 private:
  DynArray<Record>& table_;
};

// A table of entries each read and written as one nested record.
template <typename Entry, bool (*read_entry)(BinaryStream&, Entry&),
          bool (*write_entry)(BinaryStream&, const Entry&), std::uint64_t kLeastBytes>
class EntryTableHandler final : public ChunkHandler {
 public:
  explicit EntryTableHandler(DynArray<Entry>& table) : table_(table) {}

  std::uint16_t record_size() const override { return 1; }
  std::uint32_t count() const override { return table_.size(); }
  std::uint32_t byte_size() const override { return 1; }

  bool read(BinaryStream& stream, const ChunkHeader& header) override {
    DynArray<Entry> scratch;
    if (!can_hold(stream, header.count, kLeastBytes) ||
        !read_list(stream, scratch, header.count, read_entry)) {
      return false;
    }
    table_.swap(scratch);
    return true;
  }

  bool write(BinaryStream& stream) const override {
    for (const Entry& entry : table_) {
      if (!write_entry(stream, entry)) return false;
    }
    return stream.good();
  }

  void dump_text(FileHolder&) const override {}

 private:
  DynArray<Entry>& table_;
};

// Shapes are taken in the order stored, whatever their ids; the table
// finds them by id either way.
class ShapeHandler final : public ChunkHandler {
 public:
  explicit ShapeHandler(ShapeTable& table) : table_(table) {}

  std::uint16_t record_size() const override { return 1; }
  std::uint32_t count() const override { return table_.size(); }
  std::uint32_t byte_size() const override { return 1; }

  bool read(BinaryStream& stream, const ChunkHeader& header) override {
    ShapeTable scratch;
    if (!can_hold(stream, header.count, kLeastShapeBytes)) return false;
    if (!scratch.reserve(header.count)) return fail(stream);
    for (std::uint32_t i = 0; i < header.count; ++i) {
      Shape* shape = scratch.push_default();
      if (shape == nullptr) return fail(stream);
      if (!read_sample_set(stream, *shape)) return false;
    }
    if (scratch.rebuild_index() != kOk) return fail(stream);
    table_.swap(scratch);
    return true;
  }

  bool write(BinaryStream& stream) const override {
    for (const Shape& shape : table_.entries()) {
      if (!write_sample_set(stream, shape)) return false;
    }
    return stream.good();
  }

  void dump_text(FileHolder& out) const override { table_.dump(out); }

 private:
  static bool fail(BinaryStream& stream) {
    stream.set_error();
    return false;
  }

  ShapeTable& table_;
};

// The chunk header's count is written as the number of variants plus the
// number of etalons; reading goes by the counts of the two lists.
class KnowledgeBaseHandler final : public ChunkHandler {
 public:
  explicit KnowledgeBaseHandler(KnowledgeBase& knowledge_base) : knowledge_base_(knowledge_base) {}

  std::uint16_t record_size() const override { return 1; }
  std::uint32_t count() const override {
    return knowledge_base_.variants().size() + knowledge_base_.etalons().size();
  }
  std::uint32_t byte_size() const override { return 1; }

  bool read(BinaryStream& stream, const ChunkHeader&) override {
    KnowledgeBase scratch(knowledge_base_.shapes(), knowledge_base_.rafs());
    if (!read_knowledge_base(stream, scratch)) return false;
    knowledge_base_.swap_records(scratch);
    return true;
  }

  bool write(BinaryStream& stream) const override {
    return write_knowledge_base(stream, knowledge_base_);
  }

  void dump_text(FileHolder& out) const override { dump_variants(out, knowledge_base_); }

 private:
  KnowledgeBase& knowledge_base_;
};

}  // namespace

template <typename Record>
std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<Record>& table) {
  return make_nothrow<FixedTableHandler<Record>>(table);
}
template std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<CharSet>&);
template std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<Symb>&);
template std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<CharSetSymb>&);
template std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<Raf>&);
template std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<ComplexVariant>&);

std::unique_ptr<ChunkHandler> make_shape_handler(ShapeTable& table) {
  return make_nothrow<ShapeHandler>(table);
}

std::unique_ptr<ChunkHandler> make_tuples_handler(TuplesTable& table) {
  return make_nothrow<EntryTableHandler<TuplesEntry, read_tuples_entry, write_tuples_entry,
                                        kLeastTuplesEntryBytes>>(table);
}

std::unique_ptr<ChunkHandler> make_spec_pairs_handler(SpecPairsTable& table) {
  return make_nothrow<EntryTableHandler<SpecPairsEntry, read_spec_pairs_entry,
                                        write_spec_pairs_entry, kLeastSpecPairsEntryBytes>>(table);
}

std::unique_ptr<ChunkHandler> make_knowledge_base_handler(KnowledgeBase& knowledge_base) {
  return make_nothrow<KnowledgeBaseHandler>(knowledge_base);
}

}  // namespace inkrec
