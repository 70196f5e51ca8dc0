// ChunkHandler: reads and writes one table of the data store as one chunk
// of the data file.
//
// A handler reads its whole chunk into a scratch table and swaps it in only
// when every record came whole, so a failed read leaves the live table as
// it was. Records are taken as stored: ids need not ascend. Fixed-size
// tables read the header's count of records of their own size in one
// transfer; the variable tables (shapes, tuples, special pairs, the
// knowledge base) read by their own counts. Every count is checked against
// the rest of the file before anything is reserved for it.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/database/data_file_format.h"
#include "engine/database/data_records.h"
#include "engine/database/knowledge_base.h"
#include "engine/database/spec_pairs.h"
#include "engine/database/tuples.h"
#include "engine/foundation/binary_stream.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/shape_table.h"

namespace inkrec {

class ChunkHandler {
 public:
  virtual ~ChunkHandler() = default;

  virtual std::uint16_t record_size() const = 0;
  virtual std::uint32_t count() const = 0;
  // record_size() × count() for fixed-size tables, 1 for the others.
  virtual std::uint32_t byte_size() const = 0;
  // Reads the payload that follows `header`; false (the table unchanged)
  // when it cannot be read whole.
  virtual bool read(BinaryStream& stream, const ChunkHeader& header) = 0;
  // Writes the payload; false when a write fell short.
  virtual bool write(BinaryStream& stream) const = 0;
  // Writes the table's readable listing (nothing for the tuples and the
  // special pairs).
  virtual void dump_text(FileHolder& out) const = 0;
};

template <typename Record>
std::unique_ptr<ChunkHandler> make_fixed_table_handler(DynArray<Record>& table);
std::unique_ptr<ChunkHandler> make_shape_handler(ShapeTable& table);
std::unique_ptr<ChunkHandler> make_tuples_handler(TuplesTable& table);
std::unique_ptr<ChunkHandler> make_spec_pairs_handler(SpecPairsTable& table);
std::unique_ptr<ChunkHandler> make_knowledge_base_handler(KnowledgeBase& knowledge_base);

}  // namespace inkrec
