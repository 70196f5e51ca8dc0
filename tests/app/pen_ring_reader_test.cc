#include "app/shell/pen_ring_reader.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/device_root.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_memory.h"

namespace ductra {
namespace {

using platform::kPenDown;
using platform::kPenMove;
using platform::kPenUp;
using platform::PenRing;
using platform::PenRingBlock;
using platform::PenRingHeader;
using platform::PenSample;

struct Block {
  alignas(8) std::array<std::byte, platform::kPenRingBytes> bytes{};
  PenRingHeader& header() { return reinterpret_cast<PenRingBlock*>(bytes.data())->header; }
};

// A block as the shim leaves it, a reader on it and the shim's end.
class PenRingReaderTest : public ::testing::Test {
 protected:
  PenRingReaderTest() { PenRing(block_.bytes).initialize(); }

  void append(std::uint32_t kind, std::uint32_t x, std::uint32_t y, std::uint32_t tick) {
    ASSERT_TRUE(shim_.append(PenSample::make(kind, x, y, tick)));
  }

  std::vector<InkSample> next_batch(std::size_t capacity = kMaxInkBatch) {
    std::vector<InkSample> buffer(capacity);
    std::size_t count = 99;
    const bool any = reader_.read(buffer, &count);
    EXPECT_EQ(any, count > 0);
    buffer.resize(count);
    return buffer;
  }

  Block block_;
  PenRing shim_{block_.bytes};
  PenRingReader reader_{block_.bytes};
};

TEST_F(PenRingReaderTest, OpeningClaimsTheBlockAndSwitchesCaptureOn) {
  Block block;
  PenRing(block.bytes).initialize();
  block.header().write_index_ = 17;
  block.header().read_index_ = 3;
  block.header().hold_time_ms_ = 5;
  block.header().always_capture_ = 1;
  block.header().prompt_stroke_ = 1;
  PenRingReader reader(block.bytes);
  EXPECT_TRUE(reader.is_open());
  EXPECT_EQ(block.header().write_index_, 0u);
  EXPECT_EQ(block.header().read_index_, 0u);
  EXPECT_EQ(block.header().hold_time_ms_, 300u);
  EXPECT_EQ(block.header().move_tolerance_, 40u);
  EXPECT_EQ(block.header().capture_on_, 1u);
  EXPECT_EQ(block.header().always_capture_, 0u);
  EXPECT_EQ(block.header().prompt_stroke_, 0u);
  EXPECT_EQ(reader.mode(), CaptureMode::off);
  EXPECT_EQ(reader.prompt_stroke_mode(), PromptStroke::withdrawn);

  reader.close();
  EXPECT_FALSE(reader.is_open());
  EXPECT_EQ(block.header().capture_on_, 0u);
}

TEST_F(PenRingReaderTest, AStrokeComesOutAsPenDownMovesAndPenUpEachInABatchOfItsOwn) {
  append(kPenDown, 10, 20, 100);
  append(kPenMove, 11, 21, 101);
  append(kPenMove, 12, 22, 102);
  append(kPenMove, 13, 23, 103);
  append(kPenUp, 4000, 4000, 104);  // a pen-up's coordinates mean nothing
  EXPECT_EQ(next_batch(), (std::vector<InkSample>{{kPenDown, 10, 20, 100}}));
  EXPECT_EQ(next_batch(), (std::vector<InkSample>{{kPenMove, 11, 21, 101},
                                                  {kPenMove, 12, 22, 102},
                                                  {kPenMove, 13, 23, 103}}));
  EXPECT_EQ(next_batch(), (std::vector<InkSample>{{kPenUp, 13, 23, 104}}));
  EXPECT_TRUE(next_batch().empty());
}

TEST_F(PenRingReaderTest, MovesBeyondTheCapacityComeWithTheNextCalls) {
  for (std::uint32_t i = 0; i < 300; ++i) append(kPenMove, i, i, i);
  const std::vector<InkSample> first = next_batch();
  ASSERT_EQ(first.size(), 256u);
  EXPECT_EQ(first.back().tick, 255u);
  const std::vector<InkSample> second = next_batch();
  ASSERT_EQ(second.size(), 44u);
  EXPECT_EQ(second.front().tick, 256u);
  EXPECT_EQ(next_batch(3).size(), 0u);
}

TEST_F(PenRingReaderTest, APushedBackSampleComesOutAlsoWhenTheRingIsEmpty) {
  append(kPenMove, 1, 1, 1);
  append(kPenDown, 2, 2, 2);
  EXPECT_EQ(next_batch().size(), 1u);
  EXPECT_EQ(block_.header().read_index_, block_.header().write_index_);
  EXPECT_EQ(next_batch(), (std::vector<InkSample>{{kPenDown, 2, 2, 2}}));
}

TEST_F(PenRingReaderTest, OnePopTakesOneSample) {
  InkSample sample;
  EXPECT_FALSE(reader_.pop(&sample));
  append(kPenUp, 9, 9, 1);  // before any other sample: the point is 0, 0
  append(kPenDown, 5, 6, 2);
  ASSERT_TRUE(reader_.pop(&sample));
  EXPECT_EQ(sample, (InkSample{kPenUp, 0, 0, 1}));
  ASSERT_TRUE(reader_.pop(&sample));
  EXPECT_EQ(sample, (InkSample{kPenDown, 5, 6, 2}));
  EXPECT_FALSE(reader_.pop(&sample));
}

TEST_F(PenRingReaderTest, TheReadIndexWrapsFrom799To0) {
  block_.header().write_index_ = 799;
  block_.header().read_index_ = 799;
  append(kPenDown, 1, 2, 3);
  InkSample sample;
  ASSERT_TRUE(reader_.pop(&sample));
  EXPECT_EQ(block_.header().read_index_, 0u);
}

TEST_F(PenRingReaderTest, IndicesPastTheRingAreReadSafely) {
  block_.header().write_index_ = 900;
  block_.header().read_index_ = 900;
  EXPECT_TRUE(next_batch().empty());
  for (std::uint32_t i = 0; i < 5; ++i) append(kPenMove, i, i, 500 + i);  // entries 100..104
  const std::vector<InkSample> batch = next_batch();
  ASSERT_EQ(batch.size(), 5u);
  EXPECT_EQ(batch[4].tick, 504u);
  EXPECT_EQ(block_.header().read_index_, 105u);
}

// The words each mode writes, after a prompt stroke was armed: modes ready
// and writing withdraw the ring's request, the others leave it; the
// recorded request stays armed.
TEST_F(PenRingReaderTest, EachModeWritesItsWords) {
  struct Case {
    CaptureMode mode;
    std::uint32_t capture_on, always_capture, prompt_stroke;
  };
  const Case cases[] = {
      {CaptureMode::ready, 1, 0, 0},
      {CaptureMode::writing, 1, 1, 0},
      {CaptureMode::off, 0, 0, 1},
      {CaptureMode::handing_over, 0, 1, 1},
  };
  for (const Case& c : cases) {
    const CaptureMode before = reader_.mode();
    EXPECT_EQ(reader_.set_prompt_stroke(PromptStroke::armed), PromptStroke::withdrawn);
    EXPECT_EQ(block_.header().prompt_stroke_, 1u);
    EXPECT_EQ(reader_.set_mode(c.mode), before);
    EXPECT_EQ(reader_.mode(), c.mode);
    EXPECT_EQ(block_.header().capture_on_, c.capture_on);
    EXPECT_EQ(block_.header().always_capture_, c.always_capture);
    EXPECT_EQ(block_.header().prompt_stroke_, c.prompt_stroke);
    EXPECT_EQ(reader_.prompt_stroke_mode(), PromptStroke::armed);
    EXPECT_EQ(reader_.set_prompt_stroke(PromptStroke::withdrawn), PromptStroke::armed);
    EXPECT_EQ(block_.header().prompt_stroke_, 0u);
  }
}

// The capture thread's step for every batch: a ready ring (or one nobody
// has set a mode on yet) starts writing; capture switched off on purpose
// stays off and the batch is dropped.
TEST_F(PenRingReaderTest, AcceptingABatchKeepsCaptureOffThatWasSetOnPurpose) {
  struct Case {
    std::optional<CaptureMode> set;
    bool accepted;
    CaptureMode after;
  };
  const Case cases[] = {
      {std::nullopt, true, CaptureMode::writing},
      {CaptureMode::ready, true, CaptureMode::writing},
      {CaptureMode::writing, true, CaptureMode::writing},
      {CaptureMode::off, false, CaptureMode::off},
      {CaptureMode::handing_over, true, CaptureMode::handing_over},
  };
  for (const Case& c : cases) {
    Block block;
    PenRingReader reader(block.bytes);
    if (c.set) reader.set_mode(*c.set);
    EXPECT_EQ(reader.accept_batch(), c.accepted);
    EXPECT_EQ(reader.mode(), c.after);
    const bool writing = c.after == CaptureMode::writing;
    EXPECT_EQ(block.header().always_capture_ == 1 && block.header().capture_on_ == 1, writing);
  }
}

TEST(PenRingReaderClosedTest, AClosedReaderReadsNothingAndRecordsModes) {
  std::array<std::byte, 100> too_small{};
  PenRingReader reader(too_small);
  EXPECT_FALSE(reader.is_open());
  InkSample sample;
  EXPECT_FALSE(reader.pop(&sample));
  std::array<InkSample, 4> buffer;
  std::size_t count = 7;
  EXPECT_FALSE(reader.read(buffer, &count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(reader.set_mode(CaptureMode::writing), CaptureMode::off);
  EXPECT_EQ(reader.mode(), CaptureMode::writing);
  EXPECT_EQ(reader.set_prompt_stroke(PromptStroke::armed), PromptStroke::withdrawn);
  EXPECT_EQ(too_small, (std::array<std::byte, 100>{}));
}

// A writer process appends 1000 samples (more than the ring holds) while
// this process reads: every sample arrives, in order, across the wrap.
TEST(PenRingReaderProcessTest, SamplesOfAWriterProcessArriveInOrderAcrossTheWrap) {
  constexpr std::uint32_t kSamples = 1000;
  void* mapped = mmap(nullptr, platform::kPenRingBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  const std::span<std::byte> block(static_cast<std::byte*>(mapped), platform::kPenRingBytes);
  PenRing(block).initialize();
  PenRingReader reader(block);

  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    const PenRing shim(block);
    for (std::uint32_t i = 0; i < kSamples; ++i) {
      const std::uint32_t kind = i == 0 ? kPenDown : i + 1 == kSamples ? kPenUp : kPenMove;
      while (!shim.append(PenSample::make(kind, i, i / 2, i))) sched_yield();
    }
    _exit(0);
  }

  std::vector<InkSample> received;
  std::array<InkSample, kMaxInkBatch> buffer;
  bool writer_ended = false;
  int status = 0;
  while (received.size() < kSamples) {
    std::size_t count = 0;
    if (reader.read(buffer, &count)) {
      received.insert(received.end(), buffer.begin(), buffer.begin() + count);
    } else if (writer_ended) {
      break;
    } else {
      writer_ended = waitpid(writer, &status, WNOHANG) == writer;
      sched_yield();
    }
  }
  if (!writer_ended) {
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  reader.close();
  munmap(mapped, platform::kPenRingBytes);

  ASSERT_EQ(received.size(), kSamples);
  for (std::uint32_t i = 0; i + 1 < kSamples; ++i) {
    ASSERT_EQ(received[i].tick, i);
    ASSERT_EQ(received[i].x, i);
    ASSERT_EQ(received[i].y, i / 2);
  }
  EXPECT_EQ(received.front().kind, kPenDown);
  EXPECT_EQ(received.back(), (InkSample{kPenUp, kSamples - 2, (kSamples - 2) / 2, kSamples - 1}));
}

// The same within one process, while another thread keeps changing the
// capture mode and the prompt-stroke request.
TEST(PenRingReaderThreadTest, ReadingWhileAWriterAppendsAndModesChange) {
  constexpr std::uint32_t kSamples = 1000;
  Block block;
  PenRing(block.bytes).initialize();
  PenRingReader reader(block.bytes);
  std::thread writer([&] {
    const PenRing shim(block.bytes);
    for (std::uint32_t i = 0; i < kSamples; ++i) {
      while (!shim.append(PenSample::make(kPenMove, i, 0, i))) std::this_thread::yield();
    }
  });
  std::atomic<bool> done = false;
  std::thread ui([&] {
    for (int i = 0; !done.load(); ++i) {
      reader.set_mode(i % 2 == 0 ? CaptureMode::off : CaptureMode::ready);
      reader.set_prompt_stroke(i % 3 == 0 ? PromptStroke::armed : PromptStroke::withdrawn);
    }
  });
  std::vector<std::uint32_t> ticks;
  std::array<InkSample, kMaxInkBatch> buffer;
  while (ticks.size() < kSamples) {
    std::size_t count = 0;
    reader.read(buffer, &count);
    reader.accept_batch();
    for (std::size_t i = 0; i < count; ++i) ticks.push_back(buffer[i].tick);
  }
  done = true;
  writer.join();
  ui.join();
  for (std::uint32_t i = 0; i < kSamples; ++i) ASSERT_EQ(ticks[i], i);
  const bool writing = reader.mode() == CaptureMode::writing;
  EXPECT_EQ(block.header().always_capture_ == 1, writing);
}

// A device of its own (a root in a fresh temporary folder and its runtime
// folder), for readers that open the ring by its name.
class NamedRingTest : public ::testing::Test {
 protected:
  NamedRingTest() : root_(make_folder()) {
    EXPECT_EQ(platform::RuntimeDir::for_device(root_, &runtime_), platform::Status::ok);
  }
  ~NamedRingTest() override {
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(root_.host());
  }

  // The shim's opening of the named block.
  platform::SharedMemory open_as_shim(bool* created) const {
    platform::SharedMemory block;
    EXPECT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingBytes, &block, created),
              platform::Status::ok);
    return block;
  }

  std::filesystem::path ring_file() const { return runtime_.object_path("shm", platform::kPenRingName); }

  platform::DeviceRoot root_;
  platform::RuntimeDir runtime_;

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-ring-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }
};

// The shim opens the named block first; the reader opens the same name,
// claims it, and the two see each other's words and samples. The block
// outlives the reader while the shim holds it, and goes with the last holder.
TEST_F(NamedRingTest, TheReaderAndTheShimShareTheNamedBlock) {
  bool created = false;
  platform::SharedMemory shim_block = open_as_shim(&created);
  ASSERT_TRUE(shim_block.is_open());
  EXPECT_TRUE(created);
  const PenRing shim(shim_block.bytes());
  shim.initialize();

  PenRingReader reader(runtime_);
  ASSERT_TRUE(reader.is_open());
  EXPECT_EQ(shim.load(&PenRingHeader::capture_on_), 1u);
  EXPECT_EQ(shim.load(&PenRingHeader::hold_time_ms_), 300u);
  EXPECT_EQ(shim.load(&PenRingHeader::move_tolerance_), 40u);

  ASSERT_TRUE(shim.append(PenSample::make(kPenDown, 100, 200, 5)));
  InkSample sample;
  ASSERT_TRUE(reader.pop(&sample));
  EXPECT_EQ(sample, (InkSample{kPenDown, 100, 200, 5}));
  reader.set_mode(CaptureMode::writing);
  EXPECT_EQ(shim.load(&PenRingHeader::always_capture_), 1u);

  reader.close();
  EXPECT_FALSE(reader.is_open());
  EXPECT_EQ(shim.load(&PenRingHeader::capture_on_), 0u);
  EXPECT_EQ(shim.load(&PenRingHeader::capacity_), platform::kPenRingCapacity);
  EXPECT_TRUE(std::filesystem::exists(ring_file()));
  shim_block.close();
  EXPECT_FALSE(std::filesystem::exists(ring_file()));
}

// The reader opens the block first (it creates it); a shim process opens the
// same name, writes a stroke and lets go. The stroke stays for the reader.
TEST_F(NamedRingTest, AShimProcessOpeningTheNameFillsTheReadersRing) {
  PenRingReader reader(runtime_);
  ASSERT_TRUE(reader.is_open());

  const pid_t shim_process = fork();
  ASSERT_GE(shim_process, 0);
  if (shim_process == 0) {
    platform::RuntimeDir runtime;
    platform::SharedMemory block;
    bool created = true;
    if (platform::RuntimeDir::for_device(root_, &runtime) != platform::Status::ok ||
        platform::SharedMemory::open(runtime, platform::kPenRingName, platform::kPenRingBytes, &block, &created) !=
            platform::Status::ok) {
      _exit(1);
    }
    if (created) _exit(2);
    const PenRing shim(block.bytes());
    const bool appended = shim.append(PenSample::make(kPenDown, 10, 20, 1)) &&
                          shim.append(PenSample::make(kPenMove, 11, 22, 2)) &&
                          shim.append(PenSample::make(kPenUp, 0, 0, 3));
    block.close();
    _exit(appended ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(shim_process, &status, 0), shim_process);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);

  std::array<InkSample, kMaxInkBatch> buffer;
  std::vector<InkSample> received;
  std::size_t count = 0;
  while (reader.read(buffer, &count)) received.insert(received.end(), buffer.begin(), buffer.begin() + count);
  EXPECT_EQ(received, (std::vector<InkSample>{{kPenDown, 10, 20, 1}, {kPenMove, 11, 22, 2}, {kPenUp, 11, 22, 3}}));
  reader.close();
  EXPECT_FALSE(std::filesystem::exists(ring_file()));
}

// Without its runtime folder the block cannot be opened: the reader stays
// closed and only records modes.
TEST_F(NamedRingTest, AReaderThatCannotOpenTheBlockStaysClosed) {
  std::filesystem::remove_all(runtime_.path());
  PenRingReader reader(runtime_);
  EXPECT_FALSE(reader.is_open());
  InkSample sample;
  EXPECT_FALSE(reader.pop(&sample));
  EXPECT_EQ(reader.set_mode(CaptureMode::ready), CaptureMode::off);
  EXPECT_EQ(reader.mode(), CaptureMode::ready);
}

}  // namespace
}  // namespace ductra
