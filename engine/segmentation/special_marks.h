// The rule book of special marks: whether a stroke group is a special
// mark (a dot, a dash, an accent, a quote, a comma and the like, the
// variants recognised by their shape id rather than by an etalon), and
// what the mark scores.
//
// The book is keyed by the variant's shape id and accepts only at the ids
// it lists; every other special variant is refused. An accepted mark
// scores base + P + E + M, where the terms come from the group's mark
// class and quality Q (M = -(8200 - Q) for a mark of its class, a half or
// a quarter of that for a weaker fit), the mark tests above and below a
// letter (E), and the mark's place and form (P and E). Rows that place a
// mark against the base lines refuse it when the group has none.
#pragma once

#include <cstdint>

#include "engine/database/knowledge_base_records.h"
#include "engine/records/figure_group.h"
#include "engine/records/recognition_context.h"
#include "engine/rules/combining_marks.h"
#include "engine/segmentation/group_measures.h"

namespace inkrec {

struct SpecialMarkTerms {
  bool accepted = false;
  std::int32_t mark = 0;     // M
  std::int32_t extra = 0;    // E
  std::int32_t penalty = 0;  // added to the variant's P (0 or less)
};

// The verdict on the special variant for the group; `readings` are the
// readings the evaluation has collected so far (the combining handlers
// and the reference letter read them). kOk, or kBadArgument for a
// figure-pair entry a row needs that is missing, or a combining handler's
// status.
int judge_special_mark(RecognitionContext& context, FigureGroup& group, const GroupMeasures& m,
                       const Variant& symbol, const MarkReadings& readings,
                       SpecialMarkTerms* terms);

}  // namespace inkrec
