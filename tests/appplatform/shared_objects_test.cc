// Objects that processes of one device share: named memory and the alive
// marker, each used by real processes.
#include <gtest/gtest.h>

#include "appplatform/alive_marker.h"
#include "appplatform/shared_memory.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::Helper;

constexpr std::u16string_view kRing = u"Korvale Software tapshim.dll File Mapping";
constexpr std::size_t kRingBytes = 6444;
constexpr std::u16string_view kAlive = u"Korvale Software Ductra is still alive Event";

class SharedMemoryTest : public DeviceFixture {};

TEST_F(SharedMemoryTest, TwoProcessesShareTheRingsMapping) {
  SharedMemory ring;
  bool created = false;
  ASSERT_EQ(SharedMemory::open(runtime(), kRing, kRingBytes, &ring, &created), Status::ok);
  EXPECT_TRUE(created);
  ASSERT_EQ(ring.bytes().size(), kRingBytes);
  for (const std::byte b : ring.bytes()) ASSERT_EQ(b, std::byte{0});
  ring.word(kRingBytes / 4 - 1).store(0xABCD);  // the last word is ours to use

  Helper other({"share-block", root().host().string(), "Korvale Software tapshim.dll File Mapping",
                std::to_string(kRingBytes)});
  EXPECT_EQ(other.read_line(), "opened");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (ring.word(2).load() != 4242 && std::chrono::steady_clock::now() < deadline) ::usleep(1000);
  EXPECT_EQ(ring.word(2).load(), 4242u);
  ring.word(3).store(7);
  EXPECT_EQ(other.read_line(), "seen");
  EXPECT_EQ(other.wait_exit(), 0);
  EXPECT_EQ(ring.word(kRingBytes / 4 - 1).load(), 0xABCDu);
}

TEST_F(SharedMemoryTest, LivesWhileAnyHolderHoldsIt) {
  SharedMemory first, second;
  bool created = false;
  ASSERT_EQ(SharedMemory::open(runtime(), u"block", 64, &first, &created), Status::ok);
  EXPECT_TRUE(created);
  first.word(0).store(5);
  ASSERT_EQ(SharedMemory::open(runtime(), u"block", 64, &second, &created), Status::ok);
  EXPECT_FALSE(created);
  first.close();
  EXPECT_EQ(second.word(0).load(), 5u);
  second.close();
  ASSERT_EQ(SharedMemory::open(runtime(), u"block", 64, &first, &created), Status::ok);
  EXPECT_TRUE(created);
  EXPECT_EQ(first.word(0).load(), 0u);
  first.close();
  EXPECT_FALSE(std::filesystem::exists(runtime().object_path("shm", u"block")));
}

TEST_F(SharedMemoryTest, RefusesEmptyNamesAndSizes) {
  SharedMemory block;
  EXPECT_EQ(SharedMemory::open(runtime(), u"", 64, &block), Status::invalid_argument);
  EXPECT_EQ(SharedMemory::open(runtime(), u"block", 0, &block), Status::invalid_argument);
  EXPECT_FALSE(block.is_open());
}

class AliveMarkerTest : public DeviceFixture {};

TEST_F(AliveMarkerTest, EndsWhenItsOwnerIsKilled) {
  Helper owner({"hold-alive", root().host().string(), "Korvale Software Ductra is still alive Event"});
  ASSERT_EQ(owner.read_line(), "held");
  EXPECT_TRUE(AliveMarker::is_held(runtime(), kAlive));
  AliveMarker second;
  EXPECT_EQ(AliveMarker::hold(runtime(), kAlive, &second), Status::already_exists);
  EXPECT_FALSE(second.is_holding());
  owner.kill_hard();
  EXPECT_FALSE(AliveMarker::is_held(runtime(), kAlive));
  EXPECT_EQ(AliveMarker::hold(runtime(), kAlive, &second), Status::ok);  // a new run takes it over
  EXPECT_TRUE(AliveMarker::is_held(runtime(), kAlive));
}

TEST_F(AliveMarkerTest, AProbeByAnotherProcessLeavesItAbsent) {
  const auto marker_file = runtime().object_path("alive", kAlive);
  for (int probe = 0; probe < 2; ++probe) {
    Helper prober({"probe-alive", root().host().string(), "Korvale Software Ductra is still alive Event"});
    EXPECT_EQ(prober.read_line(), "absent");
    EXPECT_EQ(prober.wait_exit(), 0);
    EXPECT_FALSE(std::filesystem::exists(marker_file));
  }
  AliveMarker mine;
  ASSERT_EQ(AliveMarker::hold(runtime(), kAlive, &mine), Status::ok);
  Helper prober({"probe-alive", root().host().string(), "Korvale Software Ductra is still alive Event"});
  EXPECT_EQ(prober.read_line(), "held");
  EXPECT_TRUE(mine.is_holding());
  mine.release();
  EXPECT_FALSE(AliveMarker::is_held(runtime(), kAlive));
  EXPECT_FALSE(std::filesystem::exists(marker_file));
}

}  // namespace
}  // namespace ductra::platform
