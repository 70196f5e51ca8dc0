#include "engine/segmentation/segment_path.h"

#include "engine/foundation/status.h"
#include "engine/segmentation/letter_path.h"

namespace inkrec {

void SegmentPath::reset() {
  steps.clear();
  weak_count = -1;
  letter_strokes = 0;
  letter_total = 0;
  for (std::int32_t& part : parts) part = 0;
  weight = 0;
}

int SegmentPath::start(std::uint32_t record, std::int16_t target, std::int16_t link,
                       std::int32_t total, const std::int32_t (&penalties)[kPartCount],
                       std::int32_t strokes) {
  reset();
  SegmentPathStep step;
  step.record = record;
  step.target = target;
  step.link = link;
  if (steps.push_back(step) != kOk) return kOutOfMemory;
  weak_count = 1;
  letter_total = total;
  for (int k = 0; k < kPartCount; ++k) parts[k] = penalties[k];
  weight = strokes;
  return kOk;
}

int SegmentPath::assign(const SegmentPath& other) {
  if (steps.assign(other.steps) != kOk) return kOutOfMemory;
  weak_count = other.weak_count;
  letter_strokes = other.letter_strokes;
  letter_total = other.letter_total;
  for (int k = 0; k < kPartCount; ++k) parts[k] = other.parts[k];
  weight = other.weight;
  return kOk;
}

void SegmentPath::add_letter_path(const LetterPath& path,
                                  const std::int32_t (&penalties)[kPartCount]) {
  letter_total += path.strokes * path.value();
  for (int k = 0; k < kPartCount; ++k) parts[k] += penalties[k];
  letter_strokes += path.strokes;
  weight += path.strokes;
  if (path.weak != 0) weak_count = weak_count < 0 ? 1 : weak_count + 1;
}

int SegmentPath::append(const SegmentPath& other) {
  if (steps.append(other.steps.span()) != kOk) return kOutOfMemory;
  if (weak_count == -1) {
    weak_count = other.weak_count;
  } else if (other.weak_count >= 0) {
    weak_count += other.weak_count;
  }
  letter_strokes += other.letter_strokes;
  letter_total += other.letter_total;
  for (int k = 0; k < kPartCount; ++k) parts[k] += other.parts[k];
  weight += other.weight;
  return kOk;
}

std::int64_t SegmentPath::total() const {
  std::int64_t penalty = 0;
  for (const std::int32_t part : parts) penalty += part;
  return letter_total + penalty * weight;
}

// Products in 64 bits: a long box's totals times weights pass 32 bits.
bool SegmentPath::replaces(const SegmentPath& fresh, const SegmentPath& kept) {
  if (fresh.letter_strokes != kept.letter_strokes)
    return fresh.letter_strokes > kept.letter_strokes;
  if (kept.weight == 0) return true;
  if (fresh.weight == 0) return false;
  const std::int64_t fresh_score = fresh.total() * kept.weight;
  const std::int64_t kept_score = kept.total() * fresh.weight;
  if (fresh_score != kept_score) return fresh_score > kept_score;
  if (fresh.weak_count != kept.weak_count) return fresh.weak_count < kept.weak_count;
  return fresh.steps.size() < kept.steps.size();
}

}  // namespace inkrec
