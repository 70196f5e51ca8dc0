#include "engine/rules/pair_rules.h"

#include <algorithm>
#include <span>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/status.h"
#include "engine/records/pair_rule_index.h"
#include "engine/rules/pair_rule_kinds.h"
#include "engine/rules/pair_rule_scene.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kFirstThroughPrevious = 0xFFFFFFFF;

// Reading i of a result (the first for -1); null when there is none.
const Answer* reading_at(const FigureGroup& group, std::uint32_t i) {
  if (group.answers == nullptr) return nullptr;
  return group.answers->answers().item_checked(i == kFirstThroughPrevious ? 0 : i);
}

// Whether the members of `joined` are those of a and b together, read
// word by word without making the union.
bool is_union_of(const BitSet& joined, const BitSet& a, const BitSet& b) {
  const std::span<const std::uint32_t> j = joined.words();
  const std::span<const std::uint32_t> x = a.words();
  const std::span<const std::uint32_t> y = b.words();
  if (j.size() != std::max(x.size(), y.size())) return false;
  for (std::size_t i = 0; i < j.size(); ++i) {
    const std::uint32_t both = (i < x.size() ? x[i] : 0u) | (i < y.size() ? y[i] : 0u);
    if (j[i] != both) return false;
  }
  return true;
}

// The joined group: the first letter result of A's line made of exactly
// the strokes of A and B, with its first plain and first marked reading.
bool find_joined_group(PairScene& scene) {
  scene.line = scene.context->text_lines().item_checked(scene.fa->line_index);
  if (scene.line == nullptr) return false;
  for (LetterResult* result : scene.line->letter_results) {
    if (result != nullptr && is_union_of(result->members, scene.A().members, scene.B().members)) {
      scene.J = result;
      break;
    }
  }
  if (scene.J == nullptr || scene.J->answers == nullptr) return false;
  for (const Answer& reading : scene.J->answers->answers()) {
    const Answer*& slot = reading.kind == 0 ? scene.plain : scene.marked;
    if (slot == nullptr) slot = &reading;
    if (scene.plain != nullptr && scene.marked != nullptr) break;
  }
  if (scene.plain == nullptr && scene.marked == nullptr) return false;
  scene.j = scene.J->geometry != nullptr ? scene.J->geometry->bounding_box() : scene.J->box;
  return true;
}

// The test a hit runs: its kind from the table of its joined-reading flag,
// when the joined group's reading of that flag is named by the hit.
PairRuleTest test_of(const PairRuleHit& hit, const PairScene& scene) {
  if (hit.joined_reading == 0) {
    if (scene.plain == nullptr || !has_answer_key(*hit.joined_keys, scene.plain->key)) {
      return nullptr;
    }
    if (PairRuleTest test = stroke_shape_test(hit.kind)) return test;
    if (PairRuleTest test = joined_shape_test(hit.kind)) return test;
    return neighbour_shape_test(hit.kind);
  }
  if (scene.marked == nullptr || !has_answer_key(*hit.joined_keys, scene.marked->key)) {
    return nullptr;
  }
  return marked_reading_test(hit.kind);
}

}  // namespace

int evaluate_pair_rules(FigureGroup& a, FigureGroup& b, std::uint32_t i, std::uint32_t j,
                        std::int32_t size, std::int32_t count, std::int32_t* accumulator,
                        RecognitionContext& context) {
  const Answer* reading_a = reading_at(a, i);
  const Answer* reading_b = reading_at(b, j);
  if (reading_a == nullptr || reading_b == nullptr) return kOk;
  DynArray<PairRuleHit> hits;
  find_pair_rules(reading_b->key, reading_b->kind != 0, reading_a->key, reading_a->kind != 0, hits,
                  context.kernel().pair_rules());
  if (hits.empty()) return kOk;
  PairScene scene;
  scene.a_group = &a;
  scene.b_group = &b;
  scene.reading_a = reading_a;
  scene.reading_b = reading_b;
  scene.s = size;
  scene.c = count;
  scene.context = &context;
  scene.accumulator = accumulator;
  const int prepared =
      prepare_pair_scene(scene, i == kFirstThroughPrevious, j == kFirstThroughPrevious);
  if (prepared != kOk) return prepared;
  if (!find_joined_group(scene)) return kOk;
  for (const PairRuleHit& hit : hits) {
    const PairRuleTest test = test_of(hit, scene);
    if (test == nullptr) continue;
    if (const int status = test(scene); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
