// ductra-device as a person starts it, on a device root of its own, with
// the application and the default data. Where the build has no engine (the
// ThreadSanitizer build) there is nothing to run.
#ifdef DUCTRA_DEVICE_PROGRAM

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/alive_marker.h"
#include "appplatform/launcher.h"
#include "appplatform/pen_ring.h"
#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_memory.h"
#include "tests/device/device_process.h"

namespace ductra::device {
namespace {

class DeviceRunTest : public DeviceProcessFixture {
 protected:
  // Makes the stored configuration of `charset` the current one, as the
  // tool button's choice is kept.
  void choose_configuration(std::uint32_t charset) const {
    const platform::Registry registry(root_);
    EXPECT_EQ(registry.write_value(platform::Hive::local_machine,
                                   u"SOFTWARE\\Korvale Software\\Ductra\\9.0\\Language", u"Current",
                                   platform::ValueType::binary, std::as_bytes(std::span(&charset, 1))),
              platform::Status::ok);
  }

  // How many of the fifteen settings the application saved.
  int stored_settings() const {
    const platform::Registry registry(root_);
    int stored = 0;
    for (const char16_t* name : {u"SheetPageNumber", u"AutoSpace", u"TimeOut", u"PenWidth", u"PenColor",
                                 u"SpaceAfterResult", u"UsePrompt", u"recognize_mode_", u"large_moving_icon",
                                 u"Language", u"branding", u"icon_landscape_x_", u"icon_landscape_y_",
                                 u"icon_portrait_x_", u"icon_portrait_y_"}) {
      std::uint32_t value = 0;
      stored += registry.read_dword(platform::Hive::local_machine, u"SOFTWARE\\Korvale Software\\Ductra\\9.0", name,
                                    &value) == platform::Status::ok;
    }
    return stored;
  }

};

TEST_F(DeviceRunTest, AReplayedSampleGoesTheWholeRoadAndTheDeviceEndsInOrder) {
  // Held by the test too, so what the pen wrote into it can be read after.
  platform::SharedMemory ring_block;
  ASSERT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingBytes, &ring_block),
            platform::Status::ok);
  const pid_t device = start({"--headless", "--replay", DEVICE_FIXTURE_DIR "/two_samples.txt"}, "replay");
  ASSERT_EQ(exit_code(device), 0) << output("replay.err");

  std::filesystem::path data;
  ASSERT_EQ(root_.to_host(u"\\Program Files\\Ductra\\qlmain.dt", &data), platform::Status::ok);
  EXPECT_TRUE(std::filesystem::exists(data)) << "the first start put the default data in place";
  const platform::PenRing ring(ring_block.bytes());
  const std::uint32_t written = ring.load(&platform::PenRingHeader::write_index_);
  EXPECT_GT(written, 40u) << "the pen's samples went into the ring for the application";
  EXPECT_EQ(ring.load(&platform::PenRingHeader::read_index_), written) << "and the application took them all";
  // One line of typed text per sample.
  const std::vector<std::string> typed = lines("replay.out");
  ASSERT_EQ(typed.size(), 2u) << output("replay.out");
  for (const std::string& text : typed) EXPECT_FALSE(text.empty()) << "each sample was read as something";
  EXPECT_EQ(stored_settings(), 15) << "the application saved its settings as the device ended";
}

// The samples are the digits 2 and 5 and the letters A, R and a, each of
// which the engine reads right on its own. The application starts in its
// English configuration (letters and punctuation) and reads the digits in
// its digits configuration, which it keeps from one run to the next.
TEST_F(DeviceRunTest, TheTextOfEachWrittenSampleIsTypedInTheChosenConfiguration) {
  ASSERT_EQ(exit_code(start({"--headless", "--replay", DEVICE_FIXTURE_DIR "/written_samples.txt"}, "letters")), 0)
      << output("letters.err");
  const std::vector<std::string> letters = lines("letters.out");
  ASSERT_EQ(letters.size(), 5u) << output("letters.out");
  EXPECT_EQ(letters[2], "A");
  EXPECT_EQ(letters[3], "R");
  EXPECT_EQ(letters[4], "a");

  constexpr std::uint32_t kDigits = 3;
  choose_configuration(kDigits);
  ASSERT_EQ(exit_code(start({"--headless", "--replay", DEVICE_FIXTURE_DIR "/written_samples.txt"}, "digits")), 0)
      << output("digits.err");
  const std::vector<std::string> digits = lines("digits.out");
  ASSERT_EQ(digits.size(), 5u) << output("digits.out");
  EXPECT_EQ(digits[0], "2");
  EXPECT_EQ(digits[1], "5");
}

TEST_F(DeviceRunTest, ADeviceEndsInOrderOnSigtermAndHoldsItsRootAlone) {
  const pid_t device = start({"--headless"}, "first");
  // Running: it holds the root (a second start before that could take the
  // root itself and run on) and has not ended.
  const auto running = [&] {
    return platform::AliveMarker::is_held(runtime_, u"ductra-device") && output("first.err").empty() &&
           stored_settings() == 0;
  };
  // The second is refused once the first holds the root.
  int second_code = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!running()) continue;
    second_code = exit_code(start({"--headless"}, "second"));
    if (second_code == 1 && output("second.err").find("another device runs") != std::string::npos) break;
  }
  EXPECT_EQ(second_code, 1) << output("second.err");
  // SIGTERM once the device has started the application.
  for (int attempt = 0; attempt < 300 && platform::running_programs(root_).empty(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_FALSE(platform::running_programs(root_).empty()) << output("first.err");
  ::kill(device, SIGTERM);
  EXPECT_EQ(exit_code(device), 0) << output("first.err");
  EXPECT_EQ(stored_settings(), 15) << "SIGTERM deselected the component: the application saved and ended";
}

}  // namespace
}  // namespace ductra::device

#endif  // DUCTRA_DEVICE_PROGRAM
