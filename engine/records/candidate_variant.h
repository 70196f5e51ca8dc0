// CandidateVariant: a writing variant of the active charsets as the letter
// evaluation judges it, with the records its judgement reads resolved once,
// when the kernel builds its lists, so that the evaluation of a group looks
// nothing up per candidate.
//
// The pointers refer into the database's tables and stay valid until the
// database changes (the kernel then rebuilds its lists before the next
// recognition reads them). A null shape or etalon means the store holds no
// such record (or, for the etalon, none that fits the Raf table); the
// evaluation passes such a candidate over and counts it.
#pragma once

#include <cstdint>

#include "engine/database/knowledge_base_records.h"
#include "engine/foundation/tagged_records.h"
#include "engine/records/answer_list.h"

namespace inkrec {

struct CandidateVariant {
  const Variant* variant = nullptr;
  const ShapeInfo* shape = nullptr;  // the description of the variant's shape
  const Etalon* etalon = nullptr;    // null for a special variant, too
  // The reading the variant gives: its code, the code for the second case
  // choice (the symbol's third code) and for the first (its second code);
  // a code the symbol leaves 0 reads as the variant's own code.
  std::uint16_t codes[3] = {0, 0, 0};
  // The answer the variant gives before it is scored (components 0): its
  // key, its shape id as sub-key, its codes and property word, the
  // reference offsets of its shape's samples and its case kind. Made only
  // for a variant with a shape.
  Answer reading;
};

}  // namespace inkrec
