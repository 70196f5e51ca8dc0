// libtapshim.so loaded as the device loads it, in a device of its own: the
// real driver comes from the registry or "touch.dll", the ring is shared
// with the test, and the application is a real process holding its alive
// marker.
#include "touchshim/tapshim.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "appplatform/pen_ring.h"
#include "appplatform/registry.h"
#include "appplatform/shared_memory.h"
#include "tests/appplatform/device_fixture.h"
#include "tests/appplatform/environment_guard.h"

namespace ductra::tapshim {
namespace {

using platform::PenRing;
using platform::PenRingHeader;
using platform::testing::EnvironmentGuard;
using platform::testing::Helper;

struct Touch {
  std::uint32_t flags;
  std::int32_t x;
  std::int32_t y;
  friend bool operator==(const Touch&, const Touch&) = default;
};

// What reached the system through the callback given to TouchPanelEnable.
class SystemInput {
 public:
  static std::int32_t callback(std::uint32_t flags, std::int32_t x, std::int32_t y) {
    std::scoped_lock lock(mutex_);
    touches_.push_back({flags, x, y});
    return 42;
  }
  static std::vector<Touch> touches() {
    std::scoped_lock lock(mutex_);
    return touches_;
  }
  static void clear() {
    std::scoped_lock lock(mutex_);
    touches_.clear();
  }

 private:
  static inline std::mutex mutex_;
  static inline std::vector<Touch> touches_;
};

// A loaded library's entries by name.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_ != nullptr) ::dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function* entry(const char* name) const {
    return reinterpret_cast<Function*>(::dlsym(handle_, name));
  }

 private:
  void* handle_;
};

bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

class TapshimLibraryTest : public platform::testing::DeviceFixture {
 protected:
  TapshimLibraryTest() {
    environment_.set("DUCTRA_DEVICE_ROOT", root().host().c_str());
    EXPECT_EQ(root().prepare(), platform::Status::ok);
    SystemInput::clear();
  }
  ~TapshimLibraryTest() override {
    if (attached_) detach();
  }

  // Puts `host_library` into the device's \Windows as `device_name`.
  void install(const std::string& device_name, const char* host_library) {
    std::filesystem::create_symlink(host_library, root().host() / "Windows" / device_name);
  }

  // Names the driver in HKLM "HARDWARE\DEVICEMAP\TOUCH" "DriverName1".
  void configure_driver(std::u16string_view name) {
    const platform::Registry registry(root());
    ASSERT_EQ(registry.create_key(platform::Hive::local_machine, u"HARDWARE\\DEVICEMAP\\TOUCH"), platform::Status::ok);
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(name.data()), name.size() * 2);
    ASSERT_EQ(registry.write_value(platform::Hive::local_machine, u"HARDWARE\\DEVICEMAP\\TOUCH", u"DriverName1",
                                   platform::ValueType::string, bytes),
              platform::Status::ok);
  }

  // Loads the shim and attaches it; what its entry answered.
  bool attach() {
    EXPECT_TRUE(shim_.loaded()) << ::dlerror();
    attached_ = entry<decltype(TouchPanelDllEntry)>("TouchPanelDllEntry")(nullptr, kProcessAttach, nullptr) != 0;
    if (attached_) {
      EXPECT_EQ(platform::SharedMemory::open(runtime(), platform::kPenRingName, platform::kPenRingBytes, &block_),
                platform::Status::ok);
    }
    return attached_;
  }

  void detach() {
    entry<decltype(TouchPanelDllEntry)>("TouchPanelDllEntry")(nullptr, kProcessDetach, nullptr);
    attached_ = false;
  }

  std::int32_t enable() {
    return entry<decltype(TouchPanelEnable)>("TouchPanelEnable")(&SystemInput::callback);
  }

  // The application's capture words.
  void set_capture(std::uint32_t capture_on, std::uint32_t always_capture) {
    ring().exchange(&PenRingHeader::capture_on_, capture_on);
    ring().exchange(&PenRingHeader::always_capture_, always_capture);
  }

  std::vector<Touch> ring_samples() {
    std::vector<Touch> samples;
    while (std::optional<platform::PenSample> sample = ring().take()) {
      samples.push_back({sample->flags(), static_cast<std::int32_t>(sample->x()),
                         static_cast<std::int32_t>(sample->y())});
    }
    return samples;
  }

  std::uint32_t ring_count() { return ring().load(&PenRingHeader::write_index_); }

  PenRing ring() { return PenRing(block_.bytes()); }

  std::filesystem::path ring_file() const { return runtime().object_path("shm", platform::kPenRingName); }

  template <typename Function>
  Function* entry(const char* name) const {
    return shim_.entry<Function>(name);
  }

  // The application: a process that holds the alive marker until killed.
  std::unique_ptr<Helper> start_application() {
    auto application = std::make_unique<Helper>(std::vector<std::string>{
        "hold-alive", root().host().string(), "Korvale Software Ductra is still alive Event"});
    EXPECT_EQ(application->read_line(std::chrono::seconds(10)), "held");
    return application;
  }

  EnvironmentGuard environment_;
  LoadedLibrary shim_{TAPSHIM_LIBRARY};
  platform::SharedMemory block_;
  bool attached_ = false;
};

// A stroke that moves far from its pen-down point.
constexpr char kStroke[] = "0 7 400 400\n5 15 500 520\n5 15 600 640\n5 13 600 640\n";
const std::vector<Touch> kStrokeTouches = {{7, 400, 400}, {15, 500, 520}, {15, 600, 640}, {13, 600, 640}};

TEST_F(TapshimLibraryTest, TheDriverComesFromTheRegistryElseTouchDllAndNeverIsTheShimItself) {
  struct Case {
    const char* what;
    std::optional<std::u16string> configured;
    std::vector<std::pair<std::string, const char*>> installed;
    bool attaches;
  };
  const Case cases[] = {
      {"the configured driver", u"fake.dll", {{"fake.dll", TOUCHSHIM_FAKE_DRIVER}}, true},
      {"nothing configured", std::nullopt, {{"touch.dll", TOUCHSHIM_FAKE_DRIVER}}, true},
      {"a configured driver that is missing", u"gone.dll", {{"touch.dll", TOUCHSHIM_FAKE_DRIVER}}, true},
      {"the shim refused, touch.dll taken",
       u"tapshim.dll",
       {{"tapshim.dll", TAPSHIM_LIBRARY}, {"touch.dll", TOUCHSHIM_FAKE_DRIVER}},
       true},
      {"only the shim itself", u"tapshim.dll", {{"tapshim.dll", TAPSHIM_LIBRARY}}, false},
      {"no driver at all", std::nullopt, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(root().host() / "registry.txt");
    for (const auto& entry : std::filesystem::directory_iterator(root().host() / "Windows")) {
      if (entry.is_symlink()) std::filesystem::remove(entry.path());
    }
    if (c.configured) configure_driver(*c.configured);
    for (const auto& [name, library] : c.installed) install(name, library);

    ASSERT_EQ(attach(), c.attaches);
    if (!c.attaches) {
      EXPECT_FALSE(std::filesystem::exists(ring_file()));  // nothing kept
      continue;
    }
    CalibrationPointQuery query{};
    EXPECT_NE(entry<decltype(TouchPanelGetDeviceCaps)>("TouchPanelGetDeviceCaps")(kCalibrationPointQuery, &query), 0);
    EXPECT_EQ(query.display_width, 240);
    block_.close();
    detach();
  }
}

TEST_F(TapshimLibraryTest, EntriesAreForwardedAndTheCalibrationQueryFillsTheRing) {
  install("touch.dll", TOUCHSHIM_FAKE_DRIVER);
  ASSERT_TRUE(attach());
  LoadedLibrary fake(TOUCHSHIM_FAKE_DRIVER);  // the very driver the shim loaded
  auto deliver = fake.entry<std::int32_t(std::uint32_t, std::int32_t, std::int32_t)>("FakeDriverDeliver");
  auto disable_calls = fake.entry<std::int32_t()>("FakeDriverDisableCalls");
  ASSERT_NE(deliver, nullptr);

  EXPECT_EQ(ring().load(&PenRingHeader::capacity_), platform::kPenRingCapacity);
  EXPECT_EQ(ring().load(&PenRingHeader::hold_time_ms_), 300u);
  CalibrationPointQuery query{};
  EXPECT_EQ(entry<decltype(TouchPanelGetDeviceCaps)>("TouchPanelGetDeviceCaps")(5, &query), 0);
  EXPECT_EQ(ring().load(&PenRingHeader::display_width_), 0u);
  EXPECT_NE(entry<decltype(TouchPanelGetDeviceCaps)>("TouchPanelGetDeviceCaps")(kCalibrationPointQuery, &query), 0);
  EXPECT_EQ(ring().load(&PenRingHeader::display_width_), 240u);
  EXPECT_EQ(ring().load(&PenRingHeader::display_height_), 320u);
  EXPECT_EQ(entry<decltype(TouchPanelSetMode)>("TouchPanelSetMode")(3, nullptr), 103);
  std::int32_t none = 0;
  EXPECT_EQ(entry<decltype(TouchPanelSetCalibration)>("TouchPanelSetCalibration")(1, &none, &none, &none, &none), 0);
  entry<decltype(ErrorAnalysis)>("ErrorAnalysis")(1, &none, &none, &none, &none);  // the driver lacks it: nothing

  // Enabled, the driver's samples pass through the shim; without an
  // application they go to the system.
  EXPECT_EQ(enable(), 1);
  set_capture(1, 1);
  EXPECT_EQ(deliver(7, 100, 200), 42);
  EXPECT_EQ(SystemInput::touches(), (std::vector<Touch>{{7, 100, 200}}));
  EXPECT_EQ(ring().load(&PenRingHeader::capture_on_), 0u);

  EXPECT_EQ(disable_calls(), 0);
  detach();
  EXPECT_EQ(disable_calls(), 1);  // the driver stopped before the ring went
  EXPECT_EQ(deliver(7, 1, 1), -100);
}

// The replay driver plays a stroke: into the ring while the application
// lives (with every sample kept, or by the hold test), to the system when
// it does not.
TEST_F(TapshimLibraryTest, ReplayedSamplesReachTheRingWhileTheApplicationLivesAndTheSystemOtherwise) {
  struct Case {
    const char* what;
    bool application;
    std::uint32_t capture_on;
    std::uint32_t always_capture;
    bool to_ring;
  };
  const Case cases[] = {
      {"writing", true, 1, 1, true},
      {"ready: ink after the move tolerance", true, 1, 0, true},
      {"no application", false, 1, 1, false},
  };
  const std::filesystem::path file = root().host() / "stroke.txt";
  std::ofstream(file) << kStroke;
  environment_.set("DUCTRA_REPLAY_FILE", file.c_str());
  install("touch.dll", TAPSHIM_REPLAY_DRIVER);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SystemInput::clear();
    std::unique_ptr<Helper> application = c.application ? start_application() : nullptr;
    ASSERT_TRUE(attach());
    set_capture(c.capture_on, c.always_capture);
    ASSERT_EQ(enable(), 1);
    if (c.to_ring) {
      ASSERT_TRUE(eventually([&] { return ring_count() == kStrokeTouches.size(); }));
      EXPECT_EQ(ring_samples(), kStrokeTouches);
      EXPECT_TRUE(SystemInput::touches().empty());
    } else {
      ASSERT_TRUE(eventually([&] { return SystemInput::touches().size() == kStrokeTouches.size(); }));
      EXPECT_EQ(SystemInput::touches(), kStrokeTouches);
      EXPECT_EQ(ring_count(), 0u);
      EXPECT_EQ(ring().load(&PenRingHeader::capture_on_), 0u);
      EXPECT_EQ(ring().load(&PenRingHeader::always_capture_), 0u);
    }
    block_.close();
    detach();
  }
}

// The samples come through a pipe: the first half of the stroke goes to
// the ring, the application is killed, the rest goes to the system.
TEST_F(TapshimLibraryTest, AnApplicationKilledInMidStrokeLeavesTheRestOfTheStrokeToTheSystem) {
  const std::filesystem::path pipe = root().host() / "samples";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int writer = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);  // keeps the pipe open between the halves
  ASSERT_GE(writer, 0);
  environment_.set("DUCTRA_REPLAY_FILE", pipe.c_str());
  install("touch.dll", TAPSHIM_REPLAY_DRIVER);
  std::unique_ptr<Helper> application = start_application();
  ASSERT_TRUE(attach());
  set_capture(1, 1);
  ASSERT_EQ(enable(), 1);

  const std::string first_half = "0 7 400 400\n0 15 500 520\n";
  ASSERT_EQ(::write(writer, first_half.data(), first_half.size()), static_cast<ssize_t>(first_half.size()));
  ASSERT_TRUE(eventually([&] { return ring_count() == 2; }));
  application->kill_hard();
  const std::string second_half = "0 15 600 640\n0 13 600 640\n";
  ASSERT_EQ(::write(writer, second_half.data(), second_half.size()), static_cast<ssize_t>(second_half.size()));
  ASSERT_TRUE(eventually([&] { return SystemInput::touches().size() == 2; }));
  ::close(writer);

  EXPECT_EQ(ring_samples(), (std::vector<Touch>{{7, 400, 400}, {15, 500, 520}}));
  EXPECT_EQ(SystemInput::touches(), (std::vector<Touch>{{15, 600, 640}, {13, 600, 640}}));
  EXPECT_EQ(ring().load(&PenRingHeader::capture_on_), 0u);
}

// Detaching while the replay still plays stops it first: no sample
// arrives afterwards.
TEST_F(TapshimLibraryTest, DetachingStopsTheDriversSamplesBeforeTheRingGoes) {
  const std::filesystem::path file = root().host() / "long.txt";
  {
    std::ofstream out(file);
    for (int i = 0; i < 5000; ++i) out << "1 15 " << i % 4000 << " 100\n";
  }
  environment_.set("DUCTRA_REPLAY_FILE", file.c_str());
  install("touch.dll", TAPSHIM_REPLAY_DRIVER);
  ASSERT_TRUE(attach());
  ASSERT_EQ(enable(), 1);
  ASSERT_TRUE(eventually([] { return SystemInput::touches().size() >= 5; }));
  block_.close();
  detach();
  const std::size_t arrived = SystemInput::touches().size();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(SystemInput::touches().size(), arrived);
  EXPECT_LT(arrived, 5000u);
  EXPECT_FALSE(std::filesystem::exists(ring_file()));
}

}  // namespace
}  // namespace ductra::tapshim
