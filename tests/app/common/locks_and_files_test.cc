#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "app/common/file.h"
#include "app/common/gdiplus_binding.h"
#include "app/common/locks.h"
#include "app/common/waits.h"
#include "appplatform/event.h"
#include "appplatform/thread.h"
#include "appplatform/text.h"
#include "temp_device.h"

namespace ductra {
namespace {

TEST(LocksTest, ATryLockSkipsWhileAnotherThreadHoldsTheSectionAndLeavesOnlyWhatItEntered) {
  platform::CriticalSection section;
  auto entered = std::make_unique<platform::Event>(platform::EventReset::manual, false);
  auto release = std::make_unique<platform::Event>(platform::EventReset::manual, false);
  std::atomic<bool> other_locked = true;
  auto holder = platform::Thread::start([&]() -> std::uint32_t {
    SectionLock lock(section);
    entered->set();
    wait_signalled(*release);
    return 0;
  });
  ASSERT_TRUE(holder);
  ASSERT_TRUE(wait_signalled(*entered));
  {
    TryLock attempt(section);
    EXPECT_FALSE(attempt.locked());
  }  // leaves nothing: the holder still has it
  auto prober = platform::Thread::start([&]() -> std::uint32_t {
    TryLock attempt(section);
    other_locked = attempt.locked();
    return 0;
  });
  wait_signalled(*prober);
  EXPECT_FALSE(other_locked.load());

  release->set();
  wait_signalled(*holder);
  {
    TryLock attempt(section);
    EXPECT_TRUE(attempt.locked());
    TryLock again(section);  // the holder may enter again
    EXPECT_TRUE(again.locked());
  }
  EXPECT_FALSE(section.leave());  // every entry was left
}

TEST(LocksTest, ReleaseOfASemaphoreBeyondItsMaximumIsRefused) {
  auto semaphore = platform::Semaphore::create(0, 1);
  EXPECT_TRUE(release_semaphore(*semaphore));
  EXPECT_TRUE(wait_signalled(*semaphore));
  EXPECT_TRUE(release_semaphore(*semaphore));
  EXPECT_FALSE(release_semaphore(*semaphore));
}

class FileTest : public testing::TempDevice {};

TEST_F(FileTest, OpensDeviceFilesByModeAndRefusesOtherModes) {
  ASSERT_EQ(root().prepare(), platform::Status::ok);
  {
    File file(root(), u"\\temp\\note.txt", u"w");
    ASSERT_NE(file.handle(), nullptr);
    std::fputs("written", file.handle());
  }  // closed (and flushed) here
  std::string content;
  std::ifstream(root().host() / "temp" / "note.txt") >> content;
  EXPECT_EQ(content, "written");

  const std::u16string_view usable[] = {u"r", u"rb", u"r+", u"r+b", u"rb+", u"a", u"w+"};
  for (std::u16string_view mode : usable) {
    EXPECT_NE(File(root(), u"\\temp\\note.txt", mode).handle(), nullptr) << mode.size();
  }
  const std::u16string_view refused[] = {u"", u"x", u"rr", u"r++", u"rbb", u"wx", u"r,ccs=UTF-8", u"br"};
  for (std::u16string_view mode : refused) {
    EXPECT_EQ(File(root(), u"\\temp\\note.txt", mode).handle(), nullptr) << platform::to_utf8(mode);
  }
  EXPECT_EQ(File(root(), u"\\temp\\missing.txt", u"r").handle(), nullptr);
  EXPECT_EQ(File(root(), u"\\temp\\..\\..\\escape.txt", u"w").handle(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(root().host().parent_path() / "escape.txt"));
}

TEST_F(FileTest, GdiplusIsNotAvailableOnTheDevice) {
  EXPECT_FALSE(GdiplusBinding::load(root(), platform::LibraryMap::standard()).available());
  platform::LibraryMap map;
  map.add(u"gdiplus", "libm.so.6");  // loads, but has none of the entry points
  platform::Library probe;
  ASSERT_EQ(platform::Library::load(root(), map, u"gdiplus", &probe), platform::Status::ok);
  EXPECT_FALSE(GdiplusBinding::load(root(), map).available());
}

}  // namespace
}  // namespace ductra
