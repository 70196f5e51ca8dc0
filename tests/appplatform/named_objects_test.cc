#include "appplatform/named_objects.h"

#include <gtest/gtest.h>

#include "appplatform/wait.h"

namespace ductra::platform {
namespace {

TEST(NamedObjectsTest, ASecondCreateByNameGivesTheSameObjectAndSaysSo) {
  auto first = create_event(u"Test window created Event", EventReset::automatic, false);
  ASSERT_EQ(first.status, CreateStatus::created);
  auto second = create_event(u"Test window created Event", EventReset::manual, true);
  EXPECT_EQ(second.status, CreateStatus::already_exists);
  EXPECT_EQ(second.object, first.object);
  EXPECT_FALSE(second.object->is_signalled()) << "the second create's arguments are ignored";
  second.object->set();
  EXPECT_TRUE(wait_for(*first.object, 0).signalled());
  EXPECT_FALSE(first.object->is_signalled()) << "still auto-reset";
}

TEST(NamedObjectsTest, TheNameIsFreeOnceTheLastHolderLetsGo) {
  auto first = create_event(u"Test is still alive Event", EventReset::automatic, false);
  ASSERT_EQ(first.status, CreateStatus::created);
  first.object.reset();
  EXPECT_EQ(create_event(u"Test is still alive Event", EventReset::automatic, false).status,
            CreateStatus::created);
}

TEST(NamedObjectsTest, CreateResults) {
  auto semaphore = create_semaphore(u"Test Core Semaphore", 1, 1);
  auto event = create_event(u"Test Event", EventReset::manual, false);
  struct Case {
    const char* what;
    Created<Waitable> result;
    CreateStatus expected;
  };
  auto erase = [](auto created) { return Created<Waitable>{created.object, created.status}; };
  const Case cases[] = {
      {"semaphore by its name", erase(create_semaphore(u"Test Core Semaphore", 0, 5)), CreateStatus::already_exists},
      {"event by a semaphore's name", erase(create_event(u"Test Core Semaphore", EventReset::manual, false)),
       CreateStatus::name_used_by_another_kind},
      {"semaphore by an event's name", erase(create_semaphore(u"Test Event", 1, 1)),
       CreateStatus::name_used_by_another_kind},
      {"semaphore beyond its maximum", erase(create_semaphore(u"Test Other Semaphore", 2, 1)),
       CreateStatus::invalid_arguments},
      {"invalid even by a taken name", erase(create_semaphore(u"Test Core Semaphore", 0, 0)),
       CreateStatus::invalid_arguments},
      {"unnamed events are always new", erase(create_event(u"", EventReset::manual, false)), CreateStatus::created},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.result.status, c.expected);
    const bool has_object = c.expected == CreateStatus::created || c.expected == CreateStatus::already_exists;
    EXPECT_EQ(c.result.object != nullptr, has_object);
  }
  EXPECT_NE(create_event(u"", EventReset::manual, false).object, create_event(u"", EventReset::manual, false).object);
}

}  // namespace
}  // namespace ductra::platform
