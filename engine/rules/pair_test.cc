// The pair test as it stands until the pair rules are built: no pair of
// groups on one line is refused. The pair-rule code replaces this file.

#include "engine/rules/pair_test.h"

#include "engine/foundation/status.h"
#include "engine/records/figure_group.h"
#include "engine/records/record_access.h"

namespace inkrec {

int test_element_pair_cached(RecognitionContext*, FigureGroup* later, FigureGroup* earlier,
                             int* refused) {
  if (later == nullptr || earlier == nullptr || refused == nullptr) return kBadArgument;
  if (first_line_number(*later) != first_line_number(*earlier)) return kOk;
  *refused = 0;
  return kOk;
}

}  // namespace inkrec
