#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/binary_stream.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/paths.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"
#include "tests/support/file_limits.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

TEST(FileHolderTest, TypedValuesRoundTripLittleEndian) {
  TempDir dir;
  const std::string path = dir.file("typed.bin");
  {
    FileHolder file;
    ASSERT_TRUE(file.open(path.c_str(), "wb"));
    EXPECT_EQ(file.write_u32(0x04030201), kOk);
    EXPECT_EQ(file.write_u16(0x0605), kOk);
    EXPECT_EQ(file.write_wide_string(u"Жук"), kOk);
    EXPECT_EQ(file.write_wide_string(u""), kOk);
    EXPECT_EQ(file.write_wide_string(nullptr), kBadArgument);
  }
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{1, 2, 3, 4, 5, 6, 3, 0, 0, 0, 0x16, 0x04,
                                                          0x43, 0x04, 0x3A, 0x04, 0, 0, 0, 0}));
  FileHolder file;
  ASSERT_TRUE(file.open_for_access(path.c_str(), kAccessReadOnly));
  EXPECT_EQ(file.length(), 20);
  std::uint32_t u32 = 0;
  std::uint16_t u16 = 0;
  EXPECT_EQ(file.read_u32(&u32), kOk);
  EXPECT_EQ(file.read_u16(&u16), kOk);
  EXPECT_EQ(u32, 0x04030201u);
  EXPECT_EQ(u16, 0x0605u);
  char16_t text[8];
  EXPECT_EQ(file.read_wide_string(text, 7), kOk);
  EXPECT_EQ(std::u16string(text), u"Жук");
  EXPECT_EQ(file.read_wide_string(text, 7), kOk);
  EXPECT_EQ(std::u16string(text), u"");
  EXPECT_EQ(file.read_u16(&u16), kFileIo);  // a short read is reported
}

TEST(FileHolderTest, ReadWideStringKeepsCapacityAndSkipsTheRest) {
  TempDir dir;
  const std::string path = dir.file("wide.bin");
  {
    FileHolder file;
    ASSERT_TRUE(file.open(path.c_str(), "wb"));
    file.write_wide_string(u"abcde");
    file.write_u16(0x7777);
  }
  FileHolder file;
  ASSERT_TRUE(file.open(path.c_str(), "rb"));
  char16_t text[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(file.read_wide_string(text, 3), kOk);
  EXPECT_EQ(std::u16string(text), u"abc");
  EXPECT_EQ(file.tell(), 14);
}

TEST(FileHolderTest, CorruptStringLengthStopsAtTheEnd) {
  TempDir dir;
  const std::string path = dir.file("corrupt.bin");
  write_bytes(path, {0xFF, 0xFF, 0xFF, 0x7F, 'a', 0});
  FileHolder file;
  ASSERT_TRUE(file.open(path.c_str(), "rb"));
  char16_t text[4];
  EXPECT_EQ(file.read_wide_string(text, 3), kFileIo);
  EXPECT_EQ(std::u16string(text), u"a");
}

TEST(FileHolderTest, SeekWithUnknownOriginFailsWithoutMoving) {
  TempDir dir;
  const std::string path = dir.file("seek.bin");
  write_bytes(path, {1, 2, 3, 4, 5, 6, 7, 8});
  FileHolder file;
  ASSERT_TRUE(file.open(path.c_str(), "r+b"));
  EXPECT_EQ(file.seek(2, 0), 0);
  EXPECT_NE(file.seek(1, 3), 0);
  EXPECT_EQ(file.tell(), 2);
  EXPECT_EQ(file.seek(-1, 2), 0);
  EXPECT_EQ(file.tell(), 7);
  EXPECT_TRUE(file.mark_invalid());
  EXPECT_EQ(file.tell(), 4);
  EXPECT_EQ(file.close(), 1);
  EXPECT_EQ(file.close(), 1);
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF, 5, 6, 7, 8}));
}

TEST(FileHolderTest, OpenFailureHoldsNothing) {
  FileHolder file;
  EXPECT_FALSE(file.open_wide(u"/nonexistent-dir/x.bin", u"rb"));
  EXPECT_FALSE(file.is_open());
  std::uint32_t value = 0;
  EXPECT_EQ(file.read_u32(&value), kFileIo);
}

TEST(BinaryStreamTest, ErrorFlagIsSticky) {
  TempDir dir;
  const std::string path = dir.file("stream.bin");
  write_bytes(path, {1, 2, 3});
  BinaryStream stream;
  ASSERT_TRUE(stream.open(path.c_str(), kAccessReadOnly));
  EXPECT_TRUE(stream.good());
  EXPECT_EQ(stream.set_tag(5), 0u);
  EXPECT_EQ(stream.tag(), 5u);
  std::uint8_t bytes[4];
  std::size_t transferred = 0;
  EXPECT_EQ(stream.read(bytes, 4, &transferred), 1);
  EXPECT_EQ(transferred, 3u);
  EXPECT_TRUE(stream.good());  // a short transfer is the caller's to judge
  stream.seek(0, 0);
  EXPECT_FALSE(stream.read_exact(bytes, 4));
  stream.seek(0, 0);
  EXPECT_FALSE(stream.read_exact(bytes, 1));  // stays failed

  BinaryStream missing;
  EXPECT_FALSE(missing.open_wide(u"/nonexistent-dir/x.bin", 0));
  EXPECT_FALSE(missing.good());
}

// A stream that took its file into memory answers every read, seek, tell
// and size as the same file read from the disk does, from the position the
// stream had, and refuses writes.
TEST(BinaryStreamTest, AStreamReadFromMemoryAnswersAsItsFile) {
  TempDir dir;
  const std::string path = dir.file("image.bin");
  write_bytes(path, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
  BinaryStream on_disk;
  BinaryStream in_memory;
  ASSERT_TRUE(on_disk.open(path.c_str(), kAccessReadOnly));
  ASSERT_TRUE(in_memory.open(path.c_str(), kAccessReadOnly));
  std::uint8_t skipped[3];
  ASSERT_TRUE(on_disk.read_exact(skipped, 3));
  ASSERT_TRUE(in_memory.read_exact(skipped, 3));
  ASSERT_TRUE(in_memory.read_into_memory());
  EXPECT_FALSE(in_memory.file().is_open());

  struct Step {
    const char* what;
    long seek_offset;
    int seek_origin;  // -1: no seek
    std::size_t read;
  };
  const Step steps[] = {
      {"read on from the kept position", 0, -1, 4},
      {"read across the end", 0, -1, 8},
      {"read at the end", 0, -1, 2},
      {"seek from the start", 2, 0, 3},
      {"seek back from here", -4, 1, 2},
      {"seek before the start", -100, 1, 1},
      {"seek from the end", -3, 2, 5},
      {"seek past the end", 20, 2, 1},
      {"seek before the start from the end", -11, 2, 1},
      {"unknown origin", 1, 3, 1},
      {"the farthest seek back", std::numeric_limits<long>::min(), 1, 1},
  };
  for (const Step& step : steps) {
    if (step.seek_origin >= 0) {
      EXPECT_EQ(in_memory.seek(step.seek_offset, step.seek_origin),
                on_disk.seek(step.seek_offset, step.seek_origin) == 0 ? 0 : -1)
          << step.what;
    }
    EXPECT_EQ(in_memory.tell(), on_disk.tell()) << step.what;
    std::uint8_t from_disk[16] = {};
    std::uint8_t from_memory[16] = {};
    std::size_t disk_count = 0;
    std::size_t memory_count = 0;
    on_disk.read(from_disk, step.read, &disk_count);
    in_memory.read(from_memory, step.read, &memory_count);
    EXPECT_EQ(memory_count, disk_count) << step.what;
    EXPECT_EQ(std::vector<std::uint8_t>(from_memory, from_memory + memory_count),
              std::vector<std::uint8_t>(from_disk, from_disk + disk_count))
        << step.what;
    EXPECT_EQ(in_memory.tell(), on_disk.tell()) << step.what;
    EXPECT_EQ(in_memory.file_size(), on_disk.file_size()) << step.what;
    EXPECT_EQ(in_memory.length(), on_disk.length()) << step.what;
  }
  EXPECT_TRUE(in_memory.good());
  const std::uint8_t byte = 1;
  EXPECT_FALSE(in_memory.write_exact(&byte, 1));
  EXPECT_EQ(read_bytes(path).size(), 10u);

  BinaryStream closed;
  EXPECT_FALSE(closed.read_into_memory());
  EXPECT_FALSE(closed.good());
}

TEST(ReplacingFileTest, CommitReplacesWholeAndFailureKeepsOldBytes) {
  TempDir dir;
  const std::string path = dir.file("data.dt");
  write_bytes(path, {9, 9, 9});
  {
    ReplacingFile file(path);
    ASSERT_TRUE(file.is_open());
    file.stream().write_exact("\1\2", 2);
    EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{9, 9, 9}));
    EXPECT_EQ(file.commit(), kOk);
  }
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{1, 2}));
  {
    ReplacingFile abandoned(path);
    abandoned.stream().write_exact("\3", 1);
  }
  {
    ReplacingFile failed(path);
    failed.stream().write_exact("\4", 1);
    failed.stream().set_error();
    EXPECT_EQ(failed.commit(), kFileIo);
  }
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{1, 2}));
  EXPECT_EQ(testing::names_in(dir.path()), std::set<std::string>{"data.dt"});

  ReplacingFile nowhere(dir.file("missing-dir/data.dt"));
  EXPECT_FALSE(nowhere.is_open());
  EXPECT_EQ(nowhere.commit(), kFileIo);
}

// A save must write only its own new file: not a file or link planted
// beside the target, not another writer's temporary; it keeps the target's
// mode and, through a symbolic link, replaces the file the link leads to.
TEST(ReplacingFileTest, WritesOnlyAFileOfItsOwnAndKeepsModeAndLinks) {
  TempDir dir;
  const std::string path = dir.file("user.ulb");
  const std::string victim = dir.file("victim");
  write_bytes(path, {1});
  write_bytes(victim, {7, 7});
  std::filesystem::create_symlink(victim, dir.file("user.ulb.tmp"));
  ::chmod(path.c_str(), 0600);
  {
    ReplacingFile file(path);
    ASSERT_TRUE(file.is_open());
    file.stream().write_exact("\2\2", 2);
    EXPECT_EQ(file.commit(), kOk);
  }
  EXPECT_EQ(read_bytes(victim), (std::vector<unsigned char>{7, 7}));
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{2, 2}));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // Two writers at once: each commits its own whole file.
  ReplacingFile first(path);
  ReplacingFile second(path);
  ASSERT_TRUE(first.is_open() && second.is_open());
  first.stream().write_exact("\3\3\3", 3);
  second.stream().write_exact("\4", 1);
  EXPECT_EQ(first.commit(), kOk);
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{3, 3, 3}));
  EXPECT_EQ(second.commit(), kOk);
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{4}));

  // Through a link: the link stays, the file it names gets the bytes.
  const std::string link = dir.file("link.ulb");
  std::filesystem::create_symlink("user.ulb", link);
  {
    ReplacingFile file(link);
    file.stream().write_exact("\5", 1);
    EXPECT_EQ(file.commit(), kOk);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{5}));
  EXPECT_EQ(testing::names_in(dir.path()),
            (std::set<std::string>{"link.ulb", "user.ulb", "user.ulb.tmp", "victim"}));
}

// A full disk: the save fails, the old bytes and nothing else remain.
TEST(ReplacingFileTest, AFullDiskKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("data.dt");
  write_bytes(path, {9, 9, 9});
  {
    const testing::FileSizeLimit full_disk(4);
    ReplacingFile file(path);
    ASSERT_TRUE(file.is_open());
    file.stream().write_exact("0123456789", 10);
    EXPECT_EQ(file.commit(), kFileIo);
  }
  EXPECT_EQ(read_bytes(path), (std::vector<unsigned char>{9, 9, 9}));
  EXPECT_EQ(testing::names_in(dir.path()), std::set<std::string>{"data.dt"});
}

struct ReplaceNameCase {
  std::u16string path;
  const char16_t* name;
  std::u16string expected;
};

TEST(PathsTest, ReplaceFileName) {
  const ReplaceNameCase cases[] = {
      {u"\\a\\b\\old.dat", u"new.dt", u"\\a\\b\\new.dt"},
      {u"\\a\\b\\old.dat", u"\\new.dt", u"\\a\\b\\new.dt"},
      {u"old.dat", u"new.dt", u"old.datnew.dt"},
      {u"\\a\\b\\old.dat", nullptr, u"\\a\\b\\"},
      {u"/home/u/qlmain.dt", u"user.txt", u"/home/u/user.txt"},
  };
  for (const ReplaceNameCase& c : cases) {
    std::u16string buffer = c.path;
    buffer.resize(c.path.size() + kMaxAppendedName + 1);
    replace_file_name(buffer.data(), c.name);
    EXPECT_EQ(std::u16string(buffer.c_str()), c.expected) << std::string(c.path.begin(), c.path.end());
    if (c.name != nullptr) {
      EXPECT_EQ(with_file_name(c.path, c.name), c.expected);
    }
  }
  char narrow[300] = "/a/b/old.dat";
  replace_file_name_narrow(narrow, "new.dt");
  EXPECT_STREQ(narrow, "/a/b/new.dt");
}

TEST(PathsTest, CopyAndAppend) {
  char16_t destination[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  copy_wide_string(destination, u"ab", 5, false);
  EXPECT_EQ(std::u16string(destination, 6), std::u16string(u"ab\0\0\0x", 6));
  copy_wide_string(destination, u"abcdefg", 5, true);
  EXPECT_EQ(std::u16string(destination, 6), std::u16string(u"abcdex", 6));
  EXPECT_EQ(wide_length(u"abc"), 3u);

  char text[8] = "ab";
  bounded_append(text, "cdefgh", 3);
  EXPECT_STREQ(text, "abcde");
}

}  // namespace
}  // namespace inkrec
