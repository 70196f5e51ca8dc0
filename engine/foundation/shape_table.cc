#include "engine/foundation/shape_table.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

struct YRange {
  int smallest = std::numeric_limits<int>::max();
  int largest = std::numeric_limits<int>::min();
  bool empty() const { return smallest > largest; }
};

YRange y_range(const Sample& sample) {
  YRange range;
  for (const Stroke& stroke : sample.strokes) {
    for (const PackedPoint& point : stroke) {
      range.smallest = std::min<int>(range.smallest, point.y);
      range.largest = std::max<int>(range.largest, point.y);
    }
  }
  return range;
}

}  // namespace

Shape* ShapeTable::find_by_id(std::uint32_t id) {
  return id < index_.size() ? index_[id] : nullptr;
}

const Shape* ShapeTable::find_by_id(std::uint32_t id) const {
  return id < index_.size() ? index_[id] : nullptr;
}

int ShapeTable::search_by_id(std::uint16_t id) const {
  const Shape* found = find_by_id(id);
  return found == nullptr ? -1 : static_cast<int>(found - entries_.begin());
}

int ShapeTable::push_back(const Shape& shape) {
  Shape copy;
  if (copy.assign(shape) != kOk) return kOutOfMemory;
  return entries_.push_back(std::move(copy));
}

int ShapeTable::add(const Shape& shape) {
  Shape copy;
  if (copy.assign(shape) != kOk) return kOutOfMemory;
  return add(std::move(copy));
}

int ShapeTable::add(Shape&& shape) {
  if (const int status = push_back(std::move(shape)); status != kOk) return status;
  if (const int status = rebuild_index(); status != kOk) {
    entries_.pop_back();
    rebuild_index();
    return status;
  }
  return kOk;
}

int ShapeTable::remove(std::uint32_t position) {
  if (const int status = entries_.erase(position, 1); status != kOk) return status;
  return rebuild_index();
}

int ShapeTable::rebuild_index() {
  index_.clear();
  if (entries_.empty()) return kOk;
  std::uint32_t largest = 0;
  for (const Shape& shape : entries_) largest = std::max<std::uint32_t>(largest, shape.info.id);
  if (index_.resize(largest + 1, nullptr) != kOk) return kOutOfMemory;
  for (Shape& shape : entries_) {
    if (index_[shape.info.id] == nullptr) index_[shape.info.id] = &shape;
  }
  return kOk;
}

// Over the samples that have points: with the smallest and largest y of a
// sample, d = largest - smallest and h = second guide - first guide (each 1
// when 0), the sums of (smallest - first guide) * 100 / d, (largest - second
// guide) * 100 / d, and the same two over h, each divided by the number of
// such samples and clamped to -128..127. No such sample gives four zeros.
void ShapeTable::compute_stats(Shape& shape) {
  std::int64_t sums[4] = {};
  std::int64_t counted = 0;
  for (const Sample& sample : shape.samples) {
    const YRange range = y_range(sample);
    if (range.empty()) continue;
    const std::int64_t d = std::max(range.largest - range.smallest, 1);
    std::int64_t h = sample.second_guide - sample.first_guide;
    if (h == 0) h = 1;
    const std::int64_t above = range.smallest - sample.first_guide;
    const std::int64_t below = range.largest - sample.second_guide;
    sums[0] += above * 100 / d;
    sums[1] += below * 100 / d;
    sums[2] += above * 100 / h;
    sums[3] += below * 100 / h;
    ++counted;
  }
  for (int i = 0; i < 4; ++i) {
    const std::int64_t mean = counted == 0 ? 0 : sums[i] / counted;
    shape.info.stats[i] = static_cast<std::int8_t>(std::clamp<std::int64_t>(mean, -128, 127));
  }
}

void ShapeTable::dump(FileHolder& out) const {
  static const std::string kHeader = to_code_page_1251(u"\nГрафемы (Shape).\n  Количество: ");
  out.printf("%s%u.\n", kHeader.c_str(), entries_.size());
  for (const Shape& shape : entries_) {
    const int name_length = static_cast<int>(strnlen(shape.info.name, sizeof shape.info.name));
    out.printf("{ name:%.*s, ID:%u, cnt:%u}\n", name_length, shape.info.name,
               unsigned{shape.info.id}, shape.samples.size());
  }
}

}  // namespace inkrec
