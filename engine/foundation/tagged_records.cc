#include "engine/foundation/tagged_records.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/status.h"
#include "engine/foundation/stream_items.h"
#include "engine/foundation/values.h"

namespace inkrec {
namespace {

constexpr int kLeastDelta = -128;
constexpr int kLargestDelta = 127;

// Smallest stored sizes, by which counts are checked against the file.
constexpr std::uint64_t kStrokeBytes = 8;
constexpr std::uint64_t kSampleBytes = 8 + 7;
constexpr std::uint64_t kTag4RecordBytes = 16 + 32;

// The delta bytes of a stroke of at least one point, one pair per point
// after the first. Each delta is taken from the point as it reads back, so
// what a clamped jump could not carry is carried by the next deltas: the
// points keep their number and indices, and the error never accumulates.
bool encode_deltas(const Stroke& stroke, DynArray<std::int8_t>& deltas) {
  const std::uint64_t bytes = 2 * (std::uint64_t{stroke.size()} - 1);
  if (bytes > DynArray<std::int8_t>::kMaxCount) return false;
  if (deltas.reserve_total(static_cast<std::uint32_t>(bytes)) != kOk) return false;
  int x = stroke[0].x;
  int y = stroke[0].y;
  for (std::uint32_t i = 1; i < stroke.size(); ++i) {
    const int dx = std::clamp(stroke[i].x - x, kLeastDelta, kLargestDelta);
    const int dy = std::clamp(stroke[i].y - y, kLeastDelta, kLargestDelta);
    deltas.push_back(static_cast<std::int8_t>(dx));
    deltas.push_back(static_cast<std::int8_t>(dy));
    x += dx;
    y += dy;
  }
  return true;
}

bool fail(BinaryStream& stream) {
  stream.set_error();
  return false;
}

template <typename Element, typename WriteOne>
bool write_list(BinaryStream& stream, const DynArray<Element>& list, WriteOne write_one) {
  for (const Element& element : list) {
    if (!write_one(stream, element)) return false;
  }
  return stream.good();
}

bool read_stroke_list(BinaryStream& stream, StrokeArray& strokes, std::uint32_t count) {
  return read_list(stream, strokes, count, read_stroke);
}

bool read_samples(BinaryStream& stream, DynArray<Sample>& samples, std::uint32_t count) {
  return read_list(stream, samples, count, read_sample);
}

template <typename T>
bool same_items(const DynArray<T>& a, const DynArray<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

int Sample::assign(const Sample& other) {
  if (const int status = strokes.assign(other.strokes); status != kOk) return status;
  first_guide = other.first_guide;
  second_guide = other.second_guide;
  value16 = other.value16;
  value8 = other.value8;
  return kOk;
}

bool operator==(const Sample& a, const Sample& b) {
  return a.first_guide == b.first_guide && a.second_guide == b.second_guide &&
         a.value16 == b.value16 && a.value8 == b.value8 && same_strokes(a.strokes, b.strokes);
}

int SampleList::assign(const SampleList& other) {
  if (const int status = samples.assign(other.samples); status != kOk) return status;
  value = other.value;
  return kOk;
}

int Tag4Record::assign(const Tag4Record& other) {
  if (this == &other) return kOk;
  StrokeArray stroke_copy;
  DynArray<std::uint16_t> item_copy;
  if (stroke_copy.assign(other.strokes) != kOk || item_copy.assign(other.items) != kOk) {
    return kOutOfMemory;
  }
  strokes.swap(stroke_copy);
  items.swap(item_copy);
  a = other.a;
  b = other.b;
  std::copy(std::begin(other.words), std::end(other.words), std::begin(words));
  return kOk;
}

bool operator==(const Tag4Record& a, const Tag4Record& b) {
  return a.a == b.a && a.b == b.b && std::equal(std::begin(a.words), std::end(a.words), b.words) &&
         same_items(a.items, b.items) && same_strokes(a.strokes, b.strokes);
}

int Shape::assign(const Shape& other) {
  if (const int status = samples.assign(other.samples); status != kOk) return status;
  value = other.value;
  info = other.info;
  return kOk;
}

bool operator==(const Shape& a, const Shape& b) {
  return a.value == b.value && a.info == b.info && same_samples(a.samples, b.samples);
}

bool same_strokes(const StrokeArray& a, const StrokeArray& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const Stroke& x, const Stroke& y) { return same_items(x, y); });
}

bool same_samples(const DynArray<Sample>& a, const DynArray<Sample>& b) { return same_items(a, b); }

bool read_record_header(BinaryStream& stream, std::uint32_t expected, std::uint32_t* count) {
  std::uint32_t tag = 0;
  if (!read_u32(stream, &tag)) return false;
  if (tag != expected) return fail(stream);
  return read_u32(stream, count);
}

bool write_stroke(BinaryStream& stream, const Stroke& stroke) {
  DynArray<std::int8_t> deltas;
  if (!stroke.empty() && !encode_deltas(stroke, deltas)) return fail(stream);
  if (!write_u32(stream, kStrokeTag) || !write_u32(stream, stroke.size())) return false;
  if (stroke.empty()) return true;
  const std::int32_t x = stroke[0].x;
  const std::int32_t y = stroke[0].y;
  return write_u32(stream, x) && write_u32(stream, y) && write_raw_array(stream, deltas);
}

bool read_stroke(BinaryStream& stream, Stroke& stroke) {
  std::uint32_t count = 0;
  if (!read_record_header(stream, kStrokeTag, &count)) return false;
  stroke.clear();
  if (count == 0) return true;
  const std::uint64_t delta_bytes = 2 * (std::uint64_t{count} - 1);
  if (!can_hold(stream, delta_bytes, 1, 8)) return false;
  std::int32_t x = 0;
  std::int32_t y = 0;
  if (!read_u32(stream, &x) || !read_u32(stream, &y)) return false;
  if (stroke.resize(count) != kOk) return fail(stream);
  PackedPoint* next = stroke.data();
  PackedPoint point{saturate_int16(x), saturate_int16(y)};
  *next++ = point;
  // The deltas pass through a fixed buffer, a part of the stroke at a time.
  std::int8_t deltas[512];
  for (std::uint32_t left = count - 1; left != 0;) {
    const std::uint32_t points = std::min<std::uint32_t>(left, sizeof deltas / 2);
    if (!stream.read_exact(deltas, 2 * std::size_t{points})) return false;
    for (std::uint32_t i = 0; i < 2 * points; i += 2) {
      point = {saturate_int16(point.x + deltas[i]), saturate_int16(point.y + deltas[i + 1])};
      *next++ = point;
    }
    left -= points;
  }
  return true;
}

bool write_sample(BinaryStream& stream, const Sample& sample) {
  return write_u32(stream, kSampleTag) && write_u32(stream, sample.strokes.size()) &&
         write_u16(stream, sample.first_guide) && write_u16(stream, sample.second_guide) &&
         write_u16(stream, sample.value16) && write_u8(stream, sample.value8) &&
         write_list(stream, sample.strokes, write_stroke);
}

bool read_sample(BinaryStream& stream, Sample& sample) {
  std::uint32_t count = 0;
  return read_record_header(stream, kSampleTag, &count) &&
         can_hold(stream, count, kStrokeBytes, 7) && read_u16(stream, &sample.first_guide) &&
         read_u16(stream, &sample.second_guide) && read_u16(stream, &sample.value16) &&
         read_u8(stream, &sample.value8) && read_stroke_list(stream, sample.strokes, count);
}

bool write_sample_list(BinaryStream& stream, const SampleList& list) {
  return write_u32(stream, kSampleListTag) && write_u32(stream, list.samples.size()) &&
         write_u16(stream, list.value) && write_list(stream, list.samples, write_sample);
}

bool read_sample_list(BinaryStream& stream, SampleList& list) {
  std::uint32_t count = 0;
  return read_record_header(stream, kSampleListTag, &count) &&
         can_hold(stream, count, kSampleBytes, 2) && read_u16(stream, &list.value) &&
         read_samples(stream, list.samples, count);
}

bool write_tag4_record(BinaryStream& stream, const Tag4Record& record) {
  constexpr std::uint32_t kHeaderMark = 6;
  if (!write_u32(stream, kTag4RecordTag) || !write_u32(stream, record.strokes.size()) ||
      !write_u32(stream, kHeaderMark) || !write_u32(stream, record.items.size()) ||
      !write_u16(stream, record.a) || !write_u16(stream, record.b)) {
    return false;
  }
  for (const std::uint32_t word : record.words) {
    if (!write_u32(stream, word)) return false;
  }
  return write_list(stream, record.strokes, write_stroke) && write_raw_array(stream, record.items);
}

bool read_tag4_record(BinaryStream& stream, Tag4Record& record) {
  std::uint32_t stroke_count = 0;
  std::uint32_t header_mark = 0;
  std::uint32_t item_count = 0;
  if (!read_record_header(stream, kTag4RecordTag, &stroke_count) ||
      !read_u32(stream, &header_mark) || !read_u32(stream, &item_count) ||
      !can_hold(stream, stroke_count, kStrokeBytes, 32 + 2 * std::uint64_t{item_count}) ||
      !read_u16(stream, &record.a) || !read_u16(stream, &record.b)) {
    return false;
  }
  for (std::uint32_t& word : record.words) {
    if (!read_u32(stream, &word)) return false;
  }
  if (!read_stroke_list(stream, record.strokes, stroke_count)) return false;
  record.items.clear();
  if (record.items.resize(item_count) != kOk) return fail(stream);
  return stream.read_exact(record.items.data(), 2 * std::size_t{item_count});
}

bool write_tag4_record_list(BinaryStream& stream, const DynArray<Tag4Record>& list) {
  return write_u32(stream, kTag4RecordListTag) && write_u32(stream, list.size()) &&
         write_list(stream, list, write_tag4_record);
}

bool read_tag4_record_list(BinaryStream& stream, DynArray<Tag4Record>& list) {
  std::uint32_t count = 0;
  const bool read = read_record_header(stream, kTag4RecordListTag, &count) &&
                    can_hold(stream, count, kTag4RecordBytes) &&
                    read_list(stream, list, count, read_tag4_record);
  if (stream.tag() == 1 || stream.tag() == 3) list.release();
  return read;
}

bool write_sample_set(BinaryStream& stream, const Shape& shape) {
  return write_u32(stream, kSampleSetTag) && write_u32(stream, shape.samples.size()) &&
         write_block32(stream, shape.info) && write_list(stream, shape.samples, write_sample);
}

bool read_sample_set(BinaryStream& stream, Shape& shape) {
  std::uint32_t count = 0;
  const bool read = read_record_header(stream, kSampleSetTag, &count) &&
                    can_hold(stream, count, kSampleBytes, sizeof(ShapeInfo)) &&
                    read_block32(stream, &shape.info) && read_samples(stream, shape.samples, count);
  if (stream.tag() == 1 || stream.tag() == 2) shape.samples.release();
  return read;
}

}  // namespace inkrec
