// Pane: the ink of one kernel, the strokes handed in since the last clear,
// each with the base-line values the caller gave with it.
//
// The pane copies every stroke it takes and keeps no pointer of the
// caller's. base_lines()[i] belongs to strokes()[i]; the two lists always
// have the same length, also after a failed intake. The skew correction
// turns the stored points in place.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/stroke.h"
#include "engine/records/recognition_params.h"

namespace inkrec {

// The base-line values given with a stroke; -1 means not given.
struct StrokeBaseLines {
  std::int16_t first = -1;
  std::int16_t second = -1;
  std::uint8_t given = 0;  // 1 when neither value is -1
};
static_assert(sizeof(StrokeBaseLines) == 6);

// A stroke as the caller hands it in: its points and their count.
using StrokeInput = StrokeView;

// Turns every point of every stroke by `angle` whole degrees, with sine and
// cosine in thousandths; results are truncated toward zero and saturated.
// -2 for a null stroke (the strokes before it are turned).
int rotate_strokes(StrokeList& strokes, int angle);

class Pane {
 public:
  Pane() = default;
  Pane(const Pane&) = delete;
  Pane& operator=(const Pane&) = delete;

  // Copies n strokes, each with the base-line values (first, second); with
  // mirror set every x becomes 32767 - x. -2 for a null array, n below 1, a
  // negative count or a missing point array (nothing is taken then); -1 when
  // memory runs out, the strokes taken before staying.
  int add_strokes(const StrokeInput* inputs, int n, std::int16_t first, std::int16_t second,
                  bool mirror);
  // Deletes every stroke; the pointer buffer is kept.
  void clear();

  // Levels tilted ink: searches the slope of the lines (skew_search.h) and,
  // when it is more than 5 degrees, turns all strokes by minus it.
  // *out_angle receives the correction applied (0 when none). Nothing
  // happens without strokes or when the request does not allow it. 0; -1
  // when the search's work lists cannot be made (the ink is then
  // unchanged); -2 for a null out_angle.
  int correct_skew(int* out_angle, const RecognitionParams& params, bool mirrored_order);

  // Turns every stroke by `angle` degrees (rotate_strokes): 0 or -2.
  int rotate(int angle) { return rotate_strokes(strokes_, angle); }

  const StrokeList& strokes() const { return strokes_; }
  const DynArray<StrokeBaseLines>& base_lines() const { return base_lines_; }
  bool empty() const { return strokes_.empty(); }

 private:
  int add_stroke(const StrokeInput& input, std::int16_t first, std::int16_t second, bool mirror);

  StrokeList strokes_{StrokeList::kDefaultCapacity, true};
  DynArray<StrokeBaseLines> base_lines_;
};

}  // namespace inkrec
