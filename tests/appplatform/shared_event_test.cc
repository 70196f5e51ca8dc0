// Named events shared by real processes of one device.
#include "appplatform/shared_event.h"

#include <gtest/gtest.h>

#include "appplatform/wait.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::Helper;

constexpr std::u16string_view kWindowCreated = u"Korvale Software Ductra window created Event";
const std::string kWindowCreatedName = "Korvale Software Ductra window created Event";

class SharedEventTest : public DeviceFixture {};

TEST_F(SharedEventTest, ASetInOneProcessLetsOneWaiterOfAnotherThrough) {
  std::unique_ptr<SharedEvent> created;
  ASSERT_EQ(SharedEvent::create(runtime(), kWindowCreated, EventReset::automatic, false, &created), Status::ok);
  Helper waiter({"wait-event", root().host().string(), kWindowCreatedName, "2000"});
  ASSERT_EQ(waiter.read_line(), "opened");
  created->set();
  EXPECT_EQ(waiter.read_line(), "signalled");
  EXPECT_EQ(waiter.wait_exit(), 0);
  EXPECT_FALSE(created->is_signalled());  // the other process took the one signal

  Helper setter({"set-event", root().host().string(), kWindowCreatedName});
  EXPECT_EQ(wait_for(*created, 2000).status, WaitStatus::object);
  EXPECT_EQ(setter.read_line(), "exists");
  EXPECT_EQ(setter.wait_exit(), 0);
  EXPECT_EQ(wait_for(*created, 0).status, WaitStatus::timeout);
}

TEST_F(SharedEventTest, ASecondCreateByNameGivesTheLivingEvent) {
  std::unique_ptr<SharedEvent> first, second, opened;
  ASSERT_EQ(SharedEvent::create(runtime(), kWindowCreated, EventReset::manual, false, &first), Status::ok);
  ASSERT_EQ(SharedEvent::create(runtime(), kWindowCreated, EventReset::automatic, true, &second),
            Status::already_exists);
  EXPECT_FALSE(second->is_signalled());  // the second create's arguments are ignored
  first->set();
  EXPECT_EQ(wait_for(*second, 0).status, WaitStatus::object);
  EXPECT_TRUE(first->is_signalled());  // manual reset: it stays set
  ASSERT_EQ(SharedEvent::open(runtime(), kWindowCreated, &opened), Status::ok);
  first.reset();
  second.reset();
  opened.reset();
  EXPECT_EQ(SharedEvent::open(runtime(), kWindowCreated, &opened), Status::not_found);
  ASSERT_EQ(SharedEvent::create(runtime(), kWindowCreated, EventReset::automatic, false, &first), Status::ok);
  EXPECT_FALSE(first->is_signalled());  // a new event, not the old one's state

  EXPECT_EQ(SharedEvent::create(runtime(), u"", EventReset::manual, false, &second), Status::invalid_argument);
  EXPECT_EQ(SharedEvent::create(runtime(), std::u16string(261, u'n'), EventReset::manual, false, &second),
            Status::invalid_argument);
}

TEST_F(SharedEventTest, AnEventEndsWithItsLastHolderEvenByACrash) {
  Helper holder({"hold-event", root().host().string(), kWindowCreatedName});
  ASSERT_EQ(holder.read_line(), "created");
  std::unique_ptr<SharedEvent> opened;
  ASSERT_EQ(SharedEvent::open(runtime(), kWindowCreated, &opened), Status::ok);
  EXPECT_TRUE(opened->is_signalled());
  holder.kill_hard();
  EXPECT_TRUE(opened->is_signalled());  // we still hold it
  opened.reset();
  EXPECT_EQ(SharedEvent::open(runtime(), kWindowCreated, &opened), Status::not_found);

  Helper crashed({"hold-event", root().host().string(), kWindowCreatedName});
  ASSERT_EQ(crashed.read_line(), "created");
  crashed.kill_hard();
  std::unique_ptr<SharedEvent> created;
  EXPECT_EQ(SharedEvent::create(runtime(), kWindowCreated, EventReset::automatic, false, &created), Status::ok);
  EXPECT_FALSE(created->is_signalled());
}

}  // namespace
}  // namespace ductra::platform
