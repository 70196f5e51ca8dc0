#include "appplatform/device_root.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "appplatform/runtime_dir.h"
#include "tests/appplatform/device_fixture.h"
#include "tests/appplatform/environment_guard.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::EnvironmentGuard;

class DeviceRootTest : public DeviceFixture {};

TEST_F(DeviceRootTest, MapsDevicePathsOntoExistingEntriesWithoutCase) {
  ASSERT_EQ(root().prepare(), Status::ok);
  const struct {
    const char16_t* device;
    std::filesystem::path host;
  } cases[] = {
      {u"\\WINDOWS\\startup\\Ductra.lnk", "Windows/StartUp/Ductra.lnk"},
      {u"\\Program files\\ductra\\qlmain.dt", "Program Files/Ductra/qlmain.dt"},
      {u"\\Temp\\Catalog.arm.cab", "temp/Catalog.arm.cab"},
      {u"/temp/New Folder/x", "temp/New Folder/x"},  // missing parts keep their spelling
      {u"rec_param.txt", "rec_param.txt"},
      {u"\\", ""},
  };
  for (const auto& c : cases) {
    std::filesystem::path host;
    ASSERT_EQ(root().to_host(c.device, &host), Status::ok);
    EXPECT_EQ(host, c.host.empty() ? root().host() : root().host() / c.host);
  }
}

TEST_F(DeviceRootTest, RefusesPathsThatCouldLeaveTheRoot) {
  for (const std::u16string& device :
       {std::u16string(u"\\..\\etc\\passwd"), std::u16string(u"\\temp\\.\\x"), std::u16string(u"\\temp\\\\x"),
        std::u16string(u"\\temp\\a\0b", 10)}) {
    std::filesystem::path host = "unchanged";
    EXPECT_EQ(root().to_host(device, &host), Status::invalid_argument);
    EXPECT_EQ(host, "unchanged");
  }
}

TEST(DeviceRootEnvironmentTest, FollowsTheVariablesInOrder) {
  EnvironmentGuard environment;
  environment.set("HOME", "/home/pen");
  environment.set("XDG_DATA_HOME", nullptr);
  environment.set("DUCTRA_DEVICE_ROOT", nullptr);
  EXPECT_EQ(DeviceRoot::from_environment().host(), "/home/pen/.local/share/ductra");
  environment.set("XDG_DATA_HOME", "/data");
  EXPECT_EQ(DeviceRoot::from_environment().host(), "/data/ductra");
  environment.set("DUCTRA_DEVICE_ROOT", "/devices/one");
  EXPECT_EQ(DeviceRoot::from_environment().host(), "/devices/one");
}

class RuntimeDirTest : public DeviceFixture {};

TEST_F(RuntimeDirTest, IsPrivateAndDiffersBetweenDevices) {
  struct stat info {};
  ASSERT_EQ(::stat(runtime().path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  RuntimeDir again;
  ASSERT_EQ(RuntimeDir::for_device(DeviceRoot(root().host() / "."), &again), Status::ok);
  EXPECT_EQ(again.path(), runtime().path());
  RuntimeDir other;
  ASSERT_EQ(RuntimeDir::for_device(DeviceRoot(root().host() / "other"), &other), Status::ok);
  EXPECT_NE(other.path(), runtime().path());
  std::filesystem::remove_all(other.path());
}

TEST_F(RuntimeDirTest, FallsBackWithoutXdgRuntimeDir) {
  EnvironmentGuard environment;
  environment.set("XDG_RUNTIME_DIR", nullptr);
  RuntimeDir fallback;
  ASSERT_EQ(RuntimeDir::for_device(root(), &fallback), Status::ok);
  const std::string name = fallback.path().filename().string();
  EXPECT_EQ(name.rfind("ductra-" + std::to_string(::geteuid()) + "-", 0), 0u) << name;
  std::filesystem::remove_all(fallback.path());
}

TEST_F(RuntimeDirTest, GivesEveryNameItsOwnSafeFile) {
  const auto ring = runtime().object_path("shm", u"Korvale Software tapshim.dll File Mapping");
  EXPECT_EQ(ring.parent_path(), runtime().path());
  EXPECT_EQ(ring.filename(), "shm-Korvale_20Software_20tapshim_2Edll_20File_20Mapping");
  EXPECT_NE(runtime().object_path("shm", u"a b"), runtime().object_path("shm", u"a_20b"));
  EXPECT_NE(runtime().object_path("shm", u"x"), runtime().object_path("alive", u"x"));
  EXPECT_EQ(runtime().object_path("shm", u"../\u0416").filename(), "shm-_2E_2E_2F_u0416");
  const std::u16string long_name(300, u'n');
  const auto hashed = runtime().object_path("shm", long_name).filename().string();
  EXPECT_LT(hashed.size(), 40u);
  EXPECT_NE(hashed, runtime().object_path("shm", long_name + u"m").filename().string());
}

}  // namespace
}  // namespace ductra::platform
