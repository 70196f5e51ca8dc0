// The knowledge base as chunk 3 of the data file stores it:
//   u32 0, u32 variant count, the 36-byte variants;
//   u32 2, u32 etalon count, the etalons, each: u16 id, u16 reference
//   count, the 16-byte EtalonStats, u32 1, u32 cell count n, n cell bytes,
//   then its corrections as a list of Tag4Records (tag 5).
// The outcome of both operations is the stream's state.
#pragma once

#include "engine/database/knowledge_base.h"
#include "engine/foundation/binary_stream.h"

namespace inkrec {

bool write_knowledge_base(BinaryStream& stream, const KnowledgeBase& knowledge_base);

// Clears both record lists and reads them; the byte at offset 35 of a
// variant is not kept (loaded variants have aux_byte5 0). Every count is
// checked against the rest of the file, and ids must ascend strictly. After
// the lists a re-index with check must succeed. Any failure sets the
// stream's error flag; records read before it stay.
bool read_knowledge_base(BinaryStream& stream, KnowledgeBase& knowledge_base);

}  // namespace inkrec
