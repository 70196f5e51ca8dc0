#include "inputpanel/relay_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appplatform/relay_protocol.h"
#include "appplatform/window_server.h"
#include "tests/appplatform/virtual_time.h"
#include "tests/inputpanel/relay_fixture.h"

namespace ductra::quillpad {
namespace {

using testing::PanelThread;
using testing::RecordingCallback;

class RelayWindowTest : public platform::VirtualTimeTest {
 protected:
  // Sends the units as the application does (a kind and the unit each,
  // then the flush) and lets the panel thread work through them.
  void send_text(const PanelThread& panel, std::u16string_view units) {
    for (const char16_t unit : units) {
      system_.post_message(panel.relay(), platform::WM_QUILLPAD_CHAR, platform::kRelayPlainUnit, unit);
    }
    system_.post_message(panel.relay(), platform::WM_QUILLPAD_CHAR, platform::kRelayFlush, 0);
    clock_.advance(1000);
  }

  void post_state(const PanelThread& panel, platform::WParam indicator) {
    system_.post_message(panel.relay(), platform::WM_QUILLPAD_STATE, indicator, 1);
    clock_.advance(0);
  }

  static std::string string_at(std::string_view text, platform::Millis at) { return testing::string_call(text, at); }

  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  RecordingCallback callback_;
};

TEST_F(RelayWindowTest, AFlushTypesRunsOfCharactersAsStringsAndControlUnitsAsKeys) {
  PanelThread panel(system_, &callback_);
  struct Case {
    std::u16string units;
    std::vector<std::string> (*expected)(platform::Millis start);
  };
  const Case cases[] = {
      {u"ab\bc",
       [](platform::Millis t) {
         return std::vector<std::string>{string_at("ab", t), "key 8 down", "key 8 up", string_at("c", t + 10)};
       }},
      {u"\r", [](platform::Millis) { return std::vector<std::string>{"char 13 80 1 80 13", "char 13 10000 1 10000 13"}; }},
      {u"", [](platform::Millis) { return std::vector<std::string>{}; }},
      {u"x\ty\r\b",
       [](platform::Millis t) {
         return std::vector<std::string>{string_at("x", t), "char 9 80 1 80 9", "char 9 10000 1 10000 9",
                                         string_at("y", t + 10), "char 13 80 1 80 13", "char 13 10000 1 10000 13",
                                         "key 8 down", "key 8 up"};
       }},
  };
  for (const Case& c : cases) {
    callback_.clear();
    const platform::Millis start = clock_.now();
    send_text(panel, c.units);
    EXPECT_EQ(callback_.calls(), c.expected(start)) << std::string(c.units.begin(), c.units.end());
  }
}

TEST_F(RelayWindowTest, AFullQueueIsTypedBeforeTheNextUnitSoNothingIsLost) {
  PanelThread panel(system_, &callback_);
  const std::u16string full(RelayQueue::kCapacity, u'a');
  platform::Millis start = clock_.now();
  send_text(panel, full);
  EXPECT_EQ(callback_.calls(), std::vector<std::string>{string_at(std::string(256, 'a'), start)});
  EXPECT_EQ(callback_.text(), full);

  callback_.clear();
  start = clock_.now();
  send_text(panel, full + u"b");
  EXPECT_EQ(callback_.calls(),
            (std::vector<std::string>{string_at(std::string(256, 'a'), start), string_at("b", start + 10)}));
  EXPECT_EQ(callback_.text(), full + u"b");
}

TEST_F(RelayWindowTest, BeforeACallbackIsRegisteredTextIsDroppedAndNothingIsCalled) {
  PanelThread panel(system_, nullptr);
  send_text(panel, std::u16string(300, u'z'));
  post_state(panel, 1);

  panel.on_panel([this](RelayWindow& relay) { relay.set_callback(&callback_); });
  send_text(panel, u"ok");
  EXPECT_EQ(callback_.text(), u"ok");
  EXPECT_EQ(callback_.calls().size(), 1u);
  EXPECT_EQ(callback_.references, 2u);
  panel.on_panel([](RelayWindow& relay) { relay.set_callback(nullptr); });
  EXPECT_EQ(callback_.references, 1u);
}

TEST_F(RelayWindowTest, StateMessagesShowTheModesPictureWithThePanelsFlags) {
  PanelThread panel(system_, &callback_);
  platform::SipInfo shown;
  shown.flags = platform::SIPF_ON;
  panel.on_panel([&](RelayWindow& relay) { relay.set_sip_info(shown); });
  for (const platform::WParam indicator : {0, 2, 3, 1}) post_state(panel, indicator);
  EXPECT_EQ(callback_.calls(), (std::vector<std::string>{"images 2 2 flags 1", "images 0 0 flags 1",
                                                         "images 1 1 flags 1"}));
  const platform::ImInfo info = callback_.last_info();
  ASSERT_NE(info.narrow_images, nullptr);
  ASSERT_NE(info.wide_images, nullptr);
  EXPECT_EQ(info.narrow_images->count(), 3);
  EXPECT_EQ(info.narrow_images->image_width(), 16);
  EXPECT_EQ(info.wide_images->image_width(), 32);
  EXPECT_EQ(info.wide_images->image_height(), 16);
}

TEST_F(RelayWindowTest, ADenseScreenGetsPicturesTwiceAsLarge) {
  PanelThread panel(system_, &callback_, 192);
  post_state(panel, 0);
  const platform::ImInfo info = callback_.last_info();
  ASSERT_NE(info.narrow_images, nullptr);
  EXPECT_EQ(info.narrow_images->image_width(), 32);
  EXPECT_EQ(info.narrow_images->image_height(), 32);
  EXPECT_EQ(info.wide_images->image_width(), 64);
}

TEST_F(RelayWindowTest, TheWindowIsThePanelsZeroHeightChildAndIsMadeOnce) {
  PanelThread panel(system_, &callback_);
  const std::optional<platform::WindowInfo> info = system_.describe(panel.relay());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->class_name, platform::kRelayWindowClass);
  EXPECT_EQ(info->title, platform::kRelayWindowTitle);
  EXPECT_EQ(info->parent, panel.panel());
  EXPECT_EQ(info->window_rect.height(), 0);
  EXPECT_EQ(info->window_rect.width(), 240);
  panel.on_panel([&](RelayWindow& relay) {
    EXPECT_TRUE(relay.ensure_sip_window(panel.panel()));
    EXPECT_EQ(relay.window(), panel.relay());
    relay.destroy_sip_window();
    EXPECT_FALSE(system_.is_window(panel.relay()));
    EXPECT_TRUE(relay.ensure_sip_window(panel.panel()));
    EXPECT_TRUE(system_.is_window(relay.window()));
  });
}

}  // namespace
}  // namespace ductra::quillpad
