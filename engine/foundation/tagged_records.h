// Tagged binary records: handwriting samples, the shapes made of them and
// the training samples, as the data file stores them.
//
// Every stored record starts with a u32 tag and a u32 count, followed by
// fixed fields and nested records (all little-endian):
//   1   stroke       count n; if n > 0 the first x and y as signed 32-bit
//                    values, then n - 1 pairs of signed byte deltas dx, dy
//   2   sample       stroke count; u16 first guide, u16 second guide,
//                    u16 value, u8 value; the strokes
//   3   sample list  count; u16 list value; the samples
//   4   Tag4Record   stroke count; u32 6; u32 count of the u16 list;
//                    u16 a, u16 b, seven u32 words; the strokes; the list
//   5   list of Tag4Records
//   100 sample set   sample count; the 32-byte ShapeInfo; the samples
//
// A stroke keeps its number of points, which stored corrections name by
// index. A delta holds -128..127: each is taken from the point as it reads
// back, so a longer jump reads back short and the next deltas make up the
// rest: later points come back exact as soon as the steps leave room.
//
// Readers check each count against the bytes left in the file before they
// reserve anything, and stop at the first failure with the stream's error
// flag set; what was read before stays. The stream's tag word (the data
// store's kind) decides what readers keep: after a sample set, kinds 1 and 2
// drop the samples; after a Tag4Record list, kinds 1 and 3 drop the list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/stroke.h"

namespace inkrec {

inline constexpr std::uint32_t kStrokeTag = 1;
inline constexpr std::uint32_t kSampleTag = 2;
inline constexpr std::uint32_t kSampleListTag = 3;
inline constexpr std::uint32_t kTag4RecordTag = 4;
inline constexpr std::uint32_t kTag4RecordListTag = 5;
inline constexpr std::uint32_t kSampleSetTag = 100;

using StrokeArray = DynArray<Stroke>;

// One written sample: its strokes and two vertical guide lines of the
// writing (the second below the first).
struct Sample {
  StrokeArray strokes;
  std::int16_t first_guide = 0;
  std::int16_t second_guide = 0;
  std::uint16_t value16 = 0;
  std::uint8_t value8 = 0;

  // Makes this a copy of other: 0, or -1 with this sample unchanged.
  int assign(const Sample& other);
  friend bool operator==(const Sample& a, const Sample& b);
};

struct SampleList {
  DynArray<Sample> samples;
  std::uint16_t value = 0;

  int assign(const SampleList& other);
};

// A training sample kept with an etalon; its fields are carried unchanged.
struct Tag4Record {
  StrokeArray strokes;
  std::uint16_t a = 0;
  std::uint16_t b = 0;
  std::uint32_t words[7] = {};
  DynArray<std::uint16_t> items;

  int assign(const Tag4Record& other);
  friend bool operator==(const Tag4Record& a, const Tag4Record& b);
};

// The stored description of a shape, written and read as one 32-byte block.
// The statistics are computed from the samples (ShapeTable::compute_stats);
// the letter evaluation reads the limits after them.
struct ShapeInfo {
  std::uint16_t id;
  char name[14];  // 8-bit text, NUL-padded
  // The samples' top and bottom offsets in percent of their height, then in
  // percent of their guides' distance (the last two are the height ramp).
  std::int8_t stats[4];
  std::int16_t height_limit;  // percent of the letter size; 0 none
  std::int8_t width_factor;
  std::int8_t height_factor;
  std::int8_t minima_limit;
  std::int8_t maxima_limit;
  std::int8_t count_limit;
  std::int8_t segment_count;
  std::uint8_t segment_masks[2];
  std::uint8_t min_second_count;
  std::uint8_t reserved;

  friend bool operator==(const ShapeInfo&, const ShapeInfo&) = default;
};
static_assert(sizeof(ShapeInfo) == 32);
static_assert(offsetof(ShapeInfo, name) == 2 && offsetof(ShapeInfo, stats) == 16 &&
              offsetof(ShapeInfo, height_limit) == 20 && offsetof(ShapeInfo, width_factor) == 22 &&
              offsetof(ShapeInfo, segment_count) == 27 &&
              offsetof(ShapeInfo, segment_masks) == 28 &&
              offsetof(ShapeInfo, min_second_count) == 30 && offsetof(ShapeInfo, reserved) == 31);

// One shape: the samples it is drawn from, a value kept in memory only, and
// its stored description.
struct Shape {
  DynArray<Sample> samples;
  std::uint32_t value = 0;
  ShapeInfo info{};

  int assign(const Shape& other);
  friend bool operator==(const Shape& a, const Shape& b);
};

bool same_strokes(const StrokeArray& a, const StrokeArray& b);
bool same_samples(const DynArray<Sample>& a, const DynArray<Sample>& b);

// Reads the u32 tag, which must equal `expected`, and the u32 count.
bool read_record_header(BinaryStream& stream, std::uint32_t expected, std::uint32_t* count);

bool write_stroke(BinaryStream& stream, const Stroke& stroke);
bool read_stroke(BinaryStream& stream, Stroke& stroke);
bool write_sample(BinaryStream& stream, const Sample& sample);
bool read_sample(BinaryStream& stream, Sample& sample);
bool write_sample_list(BinaryStream& stream, const SampleList& list);
bool read_sample_list(BinaryStream& stream, SampleList& list);
bool write_tag4_record(BinaryStream& stream, const Tag4Record& record);
bool read_tag4_record(BinaryStream& stream, Tag4Record& record);
bool write_tag4_record_list(BinaryStream& stream, const DynArray<Tag4Record>& list);
bool read_tag4_record_list(BinaryStream& stream, DynArray<Tag4Record>& list);
bool write_sample_set(BinaryStream& stream, const Shape& shape);
bool read_sample_set(BinaryStream& stream, Shape& shape);

}  // namespace inkrec
