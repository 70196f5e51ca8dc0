// The knowledge base as chunk 3 of the data file stores it:
//   u32 0, u32 variant count, the 36-byte variants;
//   u32 2, u32 etalon count, the etalons, each: u16 id, u16 reference
//   count, the 16-byte EtalonStats, u32 1, u32 cell count n, n cell bytes,
//   then its corrections as a list of Tag4Records (tag 5).
// The outcome of both operations is the stream's state.
//
// The text form, for the listing of the database, is one line per variant
// in code page 1251.
#pragma once

#include "engine/database/knowledge_base.h"
#include "engine/foundation/binary_stream.h"
#include "engine/foundation/file_holder.h"

namespace inkrec {

bool write_knowledge_base(BinaryStream& stream, const KnowledgeBase& knowledge_base);

// Clears both record lists and reads them; the byte at offset 35 of a
// variant is not kept (loaded variants have aux_byte5 0). Every count is
// checked against the rest of the file; records are taken in their stored
// order. After the lists a re-index with check must succeed: every normal
// variant finds its etalon and all etalons have one length. Any failure
// sets the stream's error flag; records read before it stay.
bool read_knowledge_base(BinaryStream& stream, KnowledgeBase& knowledge_base);

// Writes the heading with the variant count, then for each variant its
// position, id, charset, character code, shape and use class ("Often",
// "Rarely", "Never").
void dump_variants(FileHolder& out, const KnowledgeBase& knowledge_base);

}  // namespace inkrec
