#include "appplatform/device_file.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "tests/appplatform/device_fixture.h"
#include "tests/appplatform/environment_guard.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::EnvironmentGuard;

class DeviceFileTest : public DeviceFixture {
 protected:
  void SetUp() override { ASSERT_EQ(root().prepare(), Status::ok); }

  void put(const std::filesystem::path& relative, const std::string& content) {
    std::ofstream(root().host() / relative, std::ios::binary) << content;
  }
  std::uint64_t size_of(const std::filesystem::path& relative) {
    return std::filesystem::file_size(root().host() / relative);
  }
};

TEST_F(DeviceFileTest, DispositionsDecideWhetherTheFileMustExist) {
  const struct {
    FileDisposition disposition;
    bool exists;
    Status status;
    std::uint64_t size_after;  // of a file that held 5 bytes, or was missing
  } cases[] = {
      {FileDisposition::create_new, true, Status::already_exists, 5},
      {FileDisposition::create_new, false, Status::ok, 0},
      {FileDisposition::create_always, true, Status::ok, 0},
      {FileDisposition::open_existing, true, Status::ok, 5},
      {FileDisposition::open_existing, false, Status::not_found, 0},
      {FileDisposition::open_always, true, Status::ok, 5},
      {FileDisposition::open_always, false, Status::ok, 0},
      {FileDisposition::truncate_existing, true, Status::ok, 0},
      {FileDisposition::truncate_existing, false, Status::not_found, 0},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(root().host() / "temp/file.bin");
    if (c.exists) put("temp/file.bin", "12345");
    DeviceFile file;
    EXPECT_EQ(DeviceFile::open(root(), u"\\TEMP\\file.bin", FileAccess::read_write, c.disposition, &file), c.status);
    EXPECT_EQ(file.is_open(), c.status == Status::ok);
    const bool there = std::filesystem::exists(root().host() / "temp/file.bin");
    EXPECT_EQ(there, c.exists || c.status == Status::ok);
    if (there) {
      EXPECT_EQ(size_of("temp/file.bin"), c.size_after);
    }
  }
  DeviceFile file;
  EXPECT_EQ(DeviceFile::open(root(), u"\\temp", FileAccess::read, FileDisposition::open_existing, &file),
            Status::access_denied);
  EXPECT_EQ(DeviceFile::open(root(), u"\\temp\\..\\..\\x", FileAccess::read, FileDisposition::open_always, &file),
            Status::invalid_argument);
}

// The cabinet repair: read the size at offset 8 and cut the file there.
TEST_F(DeviceFileTest, ReadsSeeksAndCutsAFile) {
  std::string cabinet(100, 'c');
  const std::uint32_t declared = 100;
  std::memcpy(cabinet.data() + 8, &declared, 4);
  put("temp/Catalog.arm.cab", cabinet + std::string(100, 'x'));
  DeviceFile file;
  ASSERT_EQ(DeviceFile::open(root(), u"\\temp\\Catalog.arm.cab", FileAccess::read_write,
                             FileDisposition::open_existing, &file),
            Status::ok);
  std::uint64_t position = 0;
  ASSERT_EQ(file.seek(8, SeekOrigin::begin, &position), Status::ok);
  EXPECT_EQ(position, 8u);
  std::uint32_t size = 0;
  std::size_t done = 0;
  ASSERT_EQ(file.read(std::as_writable_bytes(std::span(&size, 1)), &done), Status::ok);
  EXPECT_EQ(done, 4u);
  EXPECT_EQ(size, 100u);
  EXPECT_EQ(file.seek(-20, SeekOrigin::begin, &position), Status::invalid_argument);
  ASSERT_EQ(file.seek(0, SeekOrigin::current, &position), Status::ok);
  EXPECT_EQ(position, 12u);
  ASSERT_EQ(file.seek(size, SeekOrigin::begin, nullptr), Status::ok);
  ASSERT_EQ(file.set_end(), Status::ok);
  std::uint64_t bytes = 0;
  ASSERT_EQ(file.size(&bytes), Status::ok);
  EXPECT_EQ(bytes, 100u);
  const std::string tail = "tail";
  ASSERT_EQ(file.seek(0, SeekOrigin::end, nullptr), Status::ok);
  ASSERT_EQ(file.write(std::as_bytes(std::span(tail)), &done), Status::ok);
  EXPECT_EQ(done, 4u);
  std::vector<std::byte> rest(16);
  ASSERT_EQ(file.seek(-4, SeekOrigin::end, nullptr), Status::ok);
  ASSERT_EQ(file.read(rest, &done), Status::ok);
  EXPECT_EQ(done, 4u);
  EXPECT_EQ(std::memcmp(rest.data(), "tail", 4), 0);
  ASSERT_EQ(file.read(rest, &done), Status::ok);
  EXPECT_EQ(done, 0u);
}

TEST_F(DeviceFileTest, AttributesAndDeletion) {
  FileAttributes attributes;
  EXPECT_EQ(file_attributes(root(), u"\\Windows\\ductra_Russian.htm", &attributes), Status::not_found);
  put("Windows/ductra_russian.htm", "<html>");
  ASSERT_EQ(file_attributes(root(), u"\\Windows\\ductra_Russian.htm", &attributes), Status::ok);
  EXPECT_FALSE(attributes.directory);
  EXPECT_FALSE(attributes.read_only);
  ASSERT_EQ(file_attributes(root(), u"\\windows\\STARTUP", &attributes), Status::ok);
  EXPECT_TRUE(attributes.directory);

  ::chmod((root().host() / "Windows/ductra_russian.htm").c_str(), 0444);
  ASSERT_EQ(file_attributes(root(), u"\\Windows\\ductra_Russian.htm", &attributes), Status::ok);
  EXPECT_TRUE(attributes.read_only);
  ASSERT_EQ(set_normal_attributes(root(), u"\\Windows\\ductra_Russian.htm"), Status::ok);
  ASSERT_EQ(file_attributes(root(), u"\\Windows\\ductra_Russian.htm", &attributes), Status::ok);
  EXPECT_FALSE(attributes.read_only);

  std::u16string link(startup_folder());
  link += u"\\Ductra.lnk";
  EXPECT_EQ(delete_file(root(), link), Status::not_found);
  put("Windows/StartUp/ductra.LNK", "");
  EXPECT_EQ(delete_file(root(), link), Status::ok);
  EXPECT_FALSE(std::filesystem::exists(root().host() / "Windows/StartUp/ductra.LNK"));
}

TEST(ModulePathTest, IsThePathTheProgramWasStartedAs) {
  EnvironmentGuard environment;
  environment.set("DUCTRA_DEVICE_PROGRAM", "\\Program Files\\Ductra\\Ductra.exe");
  EXPECT_EQ(module_device_path(), u"\\Program Files\\Ductra\\Ductra.exe");
  environment.set("DUCTRA_DEVICE_PROGRAM", nullptr);
  EXPECT_EQ(module_device_path(), u"\\Program Files\\Ductra\\appplatform_tests");
}

}  // namespace
}  // namespace ductra::platform
