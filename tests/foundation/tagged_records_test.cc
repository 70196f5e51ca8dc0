#include "engine/foundation/tagged_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/shape_table.h"
#include "engine/foundation/stream_items.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;
using Bytes = std::vector<unsigned char>;

Stroke make_stroke(std::initializer_list<PackedPoint> points) {
  Stroke stroke;
  for (const PackedPoint& p : points) stroke.push_back(p);
  return stroke;
}

std::vector<PackedPoint> points_of(const Stroke& stroke) { return {stroke.begin(), stroke.end()}; }

Sample make_sample(std::int16_t first_guide, std::int16_t second_guide,
                   std::initializer_list<std::initializer_list<PackedPoint>> strokes) {
  Sample sample;
  sample.first_guide = first_guide;
  sample.second_guide = second_guide;
  for (const auto& points : strokes) sample.strokes.push_back(make_stroke(points));
  return sample;
}

Shape make_shape(std::uint16_t id, const char* name, int samples) {
  Shape shape;
  shape.info.id = id;
  std::memcpy(shape.info.name, name, std::min(std::strlen(name), sizeof shape.info.name));
  for (int i = 0; i < samples; ++i) {
    shape.samples.push_back(
        make_sample(0, 40, {{{1, 10}, {2, 30}}, {{5, static_cast<std::int16_t>(20 + i)}}}));
  }
  return shape;
}

// Files written and read through a BinaryStream.
class RecordFileTest : public ::testing::Test {
 protected:
  template <typename Write>
  Bytes written(Write write) {
    write_bytes(path_, {});
    BinaryStream stream;
    EXPECT_TRUE(stream.open(path_.c_str(), 0));
    EXPECT_TRUE(write(stream));
    stream.close();
    return read_bytes(path_);
  }

  // Opens the bytes for reading with the given tag word.
  BinaryStream& reading(const Bytes& bytes, std::uint32_t tag = 0) {
    write_bytes(path_, bytes);
    stream_.open(path_.c_str(), kAccessReadOnly);
    stream_.set_tag(tag);
    return stream_;
  }

  TempDir dir_;
  std::string path_ = dir_.file("records.bin");
  BinaryStream stream_;
};

TEST_F(RecordFileTest, OnePointStrokeIsStoredAsItsFirstPoint) {
  const Stroke stroke = make_stroke({{-5, 300}});
  EXPECT_EQ(written([&](BinaryStream& s) { return write_stroke(s, stroke); }),
            (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0}));
}

TEST_F(RecordFileTest, LongJumpIsCarriedIntoTheNextDeltas) {
  const Bytes bytes = written([](BinaryStream& s) {
    return write_stroke(s, make_stroke({{0, 0}, {200, 0}, {201, 0}}));
  });
  // Three points: the jump of 200 stored as 127, the next delta 201 - 127.
  EXPECT_EQ(bytes, (Bytes{1, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 127, 0, 74, 0}));
  Stroke read;
  ASSERT_TRUE(read_stroke(reading(bytes), read));
  EXPECT_EQ(points_of(read), (std::vector<PackedPoint>{{0, 0}, {127, 0}, {201, 0}}));
}

TEST_F(RecordFileTest, StrokeKeepsItsPointCountAndTheErrorNeverGrows) {
  const Stroke stroke = make_stroke({{-32768, 32767},
                                     {32767, -32768},
                                     {32767, -32768},
                                     {-1, 127},
                                     {127, -128},
                                     {-200, 5},
                                     {-190, 10}});
  Stroke read;
  ASSERT_TRUE(read_stroke(
      reading(written([&](BinaryStream& s) { return write_stroke(s, stroke); })), read));
  ASSERT_EQ(read.size(), stroke.size());
  EXPECT_EQ(read[0], stroke[0]);
  // Each point read back lies as close to its own as a step of at most 127
  // from the point before allows.
  for (std::uint32_t i = 1; i < read.size(); ++i) {
    for (const auto coordinate : {&PackedPoint::x, &PackedPoint::y}) {
      const int previous = read[i - 1].*coordinate;
      const int wanted = std::clamp(stroke[i].*coordinate - previous, -128, 127) + previous;
      EXPECT_EQ(read[i].*coordinate, wanted) << i;
    }
  }
}

// Corrections name points by index (first and last point of a stroke), so a
// stroke with a jump must keep its indices through a save and reload.
TEST_F(RecordFileTest, CorrectionPointsKeepTheirIndicesAcrossAJump) {
  Tag4Record correction;
  correction.words[3] = 0;  // stroke
  correction.words[4] = 1;  // first point
  correction.words[5] = 2;  // last point
  correction.strokes.push_back(make_stroke({{0, 0}, {200, 40}, {210, 45}, {220, 50}}));
  DynArray<Tag4Record> list;
  list.push_back(std::move(correction));
  DynArray<Tag4Record> read;
  ASSERT_TRUE(read_tag4_record_list(
      reading(written([&](BinaryStream& s) { return write_tag4_record_list(s, list); })), read));
  ASSERT_EQ(read.size(), 1u);
  const Stroke& original = list[0].strokes[0];
  const Stroke& stored = read[0].strokes[0];
  ASSERT_EQ(stored.size(), original.size());
  // Point 1 is the jump's end, stored short; point 2 is exact again.
  EXPECT_EQ(stored[1], (PackedPoint{127, 40}));
  EXPECT_EQ(stored[2], original[2]);
  EXPECT_EQ(stored[3], original[3]);
  EXPECT_EQ(read[0].words[4], 1u);
  EXPECT_EQ(read[0].words[5], 2u);
}

TEST_F(RecordFileTest, NestedRecordsRoundTrip) {
  Tag4Record record;
  record.strokes.push_back(make_stroke({{3, 4}, {5, -6}}));
  record.strokes.push_back(Stroke());
  record.a = 7;
  record.b = 8;
  for (std::uint32_t i = 0; i < 7; ++i) record.words[i] = 100 + i;
  record.items.push_back(9);
  record.items.push_back(65535);
  DynArray<Tag4Record> list;
  list.push_default();
  ASSERT_EQ(list[0].assign(record), 0);
  list.push_default();

  SampleList samples;
  samples.value = 42;
  samples.samples.push_back(make_sample(-3, 17, {{{1, 2}}, {}}));

  const Bytes bytes = written([&](BinaryStream& s) {
    return write_tag4_record_list(s, list) && write_sample_list(s, samples);
  });
  BinaryStream& stream = reading(bytes);
  DynArray<Tag4Record> list_read;
  SampleList samples_read;
  ASSERT_TRUE(read_tag4_record_list(stream, list_read));
  ASSERT_TRUE(read_sample_list(stream, samples_read));
  ASSERT_EQ(list_read.size(), 2u);
  EXPECT_TRUE(list_read[0] == record);
  EXPECT_TRUE(list_read[1] == Tag4Record());
  EXPECT_EQ(samples_read.value, 42);
  EXPECT_TRUE(same_samples(samples_read.samples, samples.samples));
}

TEST_F(RecordFileTest, StreamTagDecidesWhatReadersKeep) {
  const Shape shape = make_shape(9, "a", 2);
  DynArray<Tag4Record> list;
  list.push_default();
  const Bytes bytes = written([&](BinaryStream& s) {
    return write_sample_set(s, shape) && write_tag4_record_list(s, list);
  });
  struct Case {
    std::uint32_t tag;
    std::uint32_t samples;
    std::uint32_t tag4_records;
  };
  for (const Case& c : {Case{0, 2, 1}, Case{1, 0, 0}, Case{2, 0, 1}, Case{3, 2, 0}}) {
    BinaryStream& stream = reading(bytes, c.tag);
    Shape shape_read;
    DynArray<Tag4Record> list_read;
    ASSERT_TRUE(read_sample_set(stream, shape_read));
    ASSERT_TRUE(read_tag4_record_list(stream, list_read));
    EXPECT_EQ(shape_read.info, shape.info);
    EXPECT_EQ(shape_read.samples.size(), c.samples) << "tag " << c.tag;
    EXPECT_EQ(list_read.size(), c.tag4_records) << "tag " << c.tag;
  }
}

TEST_F(RecordFileTest, CountsBeyondTheFileFailBeforeAnythingIsReserved) {
  const std::vector<Bytes> cases = {
      {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0},  // stroke of 2^32-1 points
      {1, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1},        // one delta pair short
      {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                 // stroke count, no strokes
      {9, 0, 0, 0, 0, 0, 0, 0},                                      // wrong tag
  };
  for (const Bytes& bytes : cases) {
    Stroke stroke;
    Sample sample;
    BinaryStream& stream = reading(bytes);
    EXPECT_FALSE(bytes[0] == 1 ? read_stroke(stream, stroke) : read_sample(stream, sample));
    EXPECT_FALSE(stream.good());
    EXPECT_EQ(stroke.capacity(), 0u);
    EXPECT_EQ(sample.strokes.capacity(), 0u);
  }
}

// A stroke longer than the reader's delta buffer reads back whole, from the
// disk and from memory; cut short anywhere it fails.
TEST_F(RecordFileTest, ALongStrokeReadsBackWholeAndFailsWhenCutShort) {
  Stroke stroke;
  for (int i = 0; i < 1000; ++i) {
    // Steps of -98 to +13: each fits one delta byte.
    stroke.push_back({static_cast<std::int16_t>(i % 50 * 2 - 40),
                      static_cast<std::int16_t>(i * 13 % 101 - 50)});
  }
  const Bytes bytes = written([&](BinaryStream& s) { return write_stroke(s, stroke); });
  for (const bool in_memory : {false, true}) {
    BinaryStream& stream = reading(bytes);
    if (in_memory) {
      ASSERT_TRUE(stream.read_into_memory());
    }
    Stroke read;
    ASSERT_TRUE(read_stroke(stream, read)) << in_memory;
    EXPECT_EQ(points_of(read), points_of(stroke)) << in_memory;
    EXPECT_EQ(bytes_left(stream), 0u) << in_memory;
  }
  for (const std::size_t cut : {std::size_t{17}, std::size_t{16 + 512 + 1}, bytes.size() - 1}) {
    for (const bool in_memory : {false, true}) {
      const Bytes short_bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
      BinaryStream& stream = reading(short_bytes);
      if (in_memory) {
      ASSERT_TRUE(stream.read_into_memory());
    }
      Stroke read;
      EXPECT_FALSE(read_stroke(stream, read)) << cut << " " << in_memory;
      EXPECT_FALSE(stream.good()) << cut << " " << in_memory;
    }
  }
}

// The stream keeps the file's size between reads; a record written at the
// end of a file open for reading and writing can be read back at once.
TEST_F(RecordFileTest, ARecordAppendedAfterAReadCanBeReadBack) {
  const Stroke first = make_stroke({{1, 2}, {3, 4}});
  const Stroke second = make_stroke({{5, 6}, {7, 8}, {9, 10}});
  const Bytes one = written([&](BinaryStream& s) { return write_stroke(s, first); });
  write_bytes(path_, one);
  BinaryStream stream;
  ASSERT_TRUE(stream.open(path_.c_str(), 0));
  Stroke read_back;
  ASSERT_TRUE(read_stroke(stream, read_back));
  EXPECT_EQ(bytes_left(stream), 0u);
  ASSERT_EQ(stream.seek(0, static_cast<int>(SeekOrigin::kEnd)), 0);
  ASSERT_TRUE(write_stroke(stream, second));
  ASSERT_EQ(stream.seek(static_cast<long>(one.size()), static_cast<int>(SeekOrigin::kBegin)), 0);
  ASSERT_TRUE(read_stroke(stream, read_back));
  EXPECT_EQ(points_of(read_back), points_of(second));
}

TEST(ShapeTableTest, IndexIsSizedByTheLargestId) {
  ShapeTable table;
  EXPECT_EQ(table.rebuild_index(), 0);
  EXPECT_EQ(table.index_size(), 0u);
  for (const std::uint16_t id : {1, 2, 5}) ASSERT_EQ(table.push_back(make_shape(id, "s", 0)), 0);
  ASSERT_EQ(table.rebuild_index(), 0);
  ASSERT_EQ(table.index_size(), 6u);
  for (const std::uint32_t id : {0u, 3u, 4u, 6u, 70000u}) EXPECT_EQ(table.find_by_id(id), nullptr);
  EXPECT_EQ(table.find_by_id(5)->info.id, 5);
  EXPECT_EQ(table.search_by_id(2), 1);
  EXPECT_EQ(table.search_by_id(3), -1);

  ShapeTable unordered;
  ASSERT_EQ(unordered.add(make_shape(7, "x", 0)), 0);
  ASSERT_EQ(unordered.add(make_shape(3, "y", 0)), 0);
  EXPECT_EQ(unordered.index_size(), 8u);
  EXPECT_EQ(unordered.find_by_id(7), unordered.at(0));
  ASSERT_EQ(unordered.add(make_shape(3, "z", 0)), 0);  // a repeated id: the first counts
  EXPECT_EQ(unordered.search_by_id(3), 1);
  EXPECT_EQ(unordered.search_by_id(7), 0);

  ASSERT_EQ(table.remove(2), 0);
  EXPECT_EQ(table.index_size(), 3u);
  EXPECT_EQ(table.remove(2), -2);
}

TEST(ShapeTableTest, StatisticsAreMeansOverSamplesWithPoints) {
  Shape shape;
  ShapeTable::compute_stats(shape);
  EXPECT_EQ(std::vector<int>(shape.info.stats, shape.info.stats + 4),
            (std::vector<int>{0, 0, 0, 0}));

  // y from 10 to 30 between guides 0 and 40: d = 20, h = 40.
  shape.samples.push_back(make_sample(0, 40, {{{0, 10}, {0, 30}}}));
  shape.samples.push_back(make_sample(0, 40, {{{0, 30}}, {{0, 10}}}));
  shape.samples.push_back(make_sample(5, 9, {{}}));  // no points: not counted
  ShapeTable::compute_stats(shape);
  EXPECT_EQ(std::vector<int>(shape.info.stats, shape.info.stats + 4),
            (std::vector<int>{50, -50, 25, -25}));

  // A flat sample (d = 1) with equal guides (h = 1) far away clamps.
  Shape far;
  far.samples.push_back(make_sample(0, 0, {{{0, 3000}}}));
  ShapeTable::compute_stats(far);
  EXPECT_EQ(std::vector<int>(far.info.stats, far.info.stats + 4),
            (std::vector<int>{127, 127, 127, 127}));
}

TEST(ShapeTableTest, DumpListsEveryShape) {
  TempDir dir;
  ShapeTable table;
  ASSERT_EQ(table.add(make_shape(1, "alpha", 2)), 0);
  ASSERT_EQ(table.add(make_shape(4, "fourteen-chars", 0)), 0);
  {
    FileHolder out;
    ASSERT_TRUE(out.open(dir.file("dump.txt").c_str(), "wb"));
    table.dump(out);
  }
  const std::string expected =
      to_code_page_1251(u"\nГрафемы (Shape).\n  Количество: ") +
      "2.\n{ name:alpha, ID:1, cnt:2}\n{ name:fourteen-chars, ID:4, cnt:0}\n";
  const Bytes bytes = read_bytes(dir.file("dump.txt"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(to_code_page_1251(u"Ёё№ж"), "\xA8\xB8\xB9\xE6");
}

}  // namespace
}  // namespace inkrec
