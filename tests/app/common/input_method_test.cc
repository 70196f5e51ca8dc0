// Switching input methods against the device's input-panel manager, run in
// the test process with two input methods: this application's component and
// another one (the user's default).
#include "app/common/input_method.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "app/common/ui_helpers.h"
#include "appplatform/com/input_panel_calls.h"
#include "appplatform/com/input_panel_manager.h"
#include "appplatform/component_protocol.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "tests/app/common/temp_device.h"
#include "tests/support/no_keys.h"

namespace ductra {
namespace {

using platform::Guid;
using platform::HResult;

constexpr Guid kOtherClassId{0x07E5, 7, 7, {7, 7, 7, 7, 7, 7, 7, 7}};

// What the input methods heard, in order.
std::mutex journal_mutex;
std::vector<std::string> journal;

// An input method that notes the panel's life; it is its own factory and is
// never freed.
class NotingMethod final : public platform::IInputMethod, public platform::IClassFactory {
 public:
  explicit NotingMethod(std::string name) : name_(std::move(name)) {}
  HResult QueryInterface(const Guid&, void** out) override {
    *out = static_cast<platform::IInputMethod*>(this);
    return platform::S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }
  HResult CreateInstance(platform::IUnknown*, const Guid&, void** out) override {
    *out = static_cast<platform::IInputMethod*>(this);
    return platform::S_OK;
  }
  HResult LockServer(std::int32_t) override { return platform::S_OK; }
  HResult Select(platform::WindowHandle) override { return note("select"); }
  HResult Deselect() override { return note("deselect"); }
  HResult Showing() override { return note("showing"); }
  HResult Hiding() override { return note("hiding"); }
  HResult GetInfo(platform::ImInfo*) override { return platform::S_OK; }
  HResult ReceiveSipInfo(const platform::SipInfo*) override { return platform::S_OK; }
  HResult RegisterCallback(platform::IIMCallback*) override { return platform::S_OK; }
  HResult GetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult SetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult UserOptionsDlg(platform::WindowHandle) override { return platform::S_OK; }


 private:
  HResult note(const char* call) {
    std::lock_guard lock(journal_mutex);
    journal.push_back(name_ + " " + call);
    return platform::S_OK;
  }
  const std::string name_;
};

NotingMethod ours("ours");
NotingMethod other("other");

HResult our_class_object(const Guid&, const Guid&, void** out) {
  *out = static_cast<platform::IClassFactory*>(&ours);
  return platform::S_OK;
}

HResult other_class_object(const Guid&, const Guid&, void** out) {
  *out = static_cast<platform::IClassFactory*>(&other);
  return platform::S_OK;
}

class InputMethodTest : public testing::TempDevice {
 protected:
  InputMethodTest() {
    EXPECT_TRUE(manager_.register_input_method({platform::kQuillpadClassId, u"Quillpad", &our_class_object}));
    EXPECT_TRUE(manager_.register_input_method({kOtherClassId, u"Other", &other_class_object}));
    calls();
  }

  void record_default(std::u16string text, platform::ValueType type = platform::ValueType::string) {
    ASSERT_EQ(registry().create_key(platform::kDefaultImHive, platform::kDefaultImKey), platform::Status::ok);
    ASSERT_EQ(registry().write_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue, type,
                                     std::as_bytes(std::span(text))),
              platform::Status::ok);
  }

  static std::vector<std::string> calls() {
    std::lock_guard lock(journal_mutex);
    return std::exchange(journal, {});
  }

  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  testing::NoKeys keys_;
  platform::InputPanelManager manager_{keys_, platform::Rect{0, 240, 240, 320}};
};

TEST_F(InputMethodTest, EachSwitchChoosesItsInputMethodAndLeavesThePanelAsAsked) {
  ASSERT_TRUE(manager_.set_current(kOtherClassId));
  record_default(platform::guid_to_string(kOtherClassId));
  calls();
  struct Step {
    const char* what;
    std::function<bool()> act;
    std::vector<std::string> heard;
    bool ours;
    bool shown;
  };
  const Step steps[] = {
      {"another input method current, the panel hidden: both flags clear", [] { return true; }, {}, false, false},
      {"ours made current, the panel left alone", [] { return select_own_im(SipShow::unchanged); },
       {"ours select", "other deselect"}, true, false},
      {"the panel shown", [] { return show_sip(true); }, {"ours showing"}, true, true},
      {"another made current without touching the panel",
       [] { return set_current_im(kOtherClassId, SipShow::unchanged); },
       {"other select", "ours hiding", "ours deselect", "other showing"}, false, true},
      {"ours again, shown", [] { return select_own_im(SipShow::show); },
       {"ours select", "other hiding", "other deselect", "ours showing"}, true, true},
      {"the default made current and the panel hidden",
       [this] { return select_default_im(registry(), SipShow::hide); },
       {"other select", "ours hiding", "ours deselect", "other showing", "other hiding"}, false, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_TRUE(step.act());
    EXPECT_EQ(calls(), step.heard);
    const std::optional<ImState> state = query_im_state();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->ours, step.ours);
    EXPECT_EQ(state->shown, step.shown);
    EXPECT_EQ(sip_is_shown(platform::sip_get_info), step.shown) << "the panel keeps its area here";
  }
}

TEST_F(InputMethodTest, ADefaultThatCannotBeReadOrMadeCurrentChangesNothing) {
  ASSERT_TRUE(manager_.set_current(platform::kQuillpadClassId));
  calls();
  EXPECT_FALSE(select_default_im(registry(), SipShow::show)) << "no key";
  struct Case {
    const char* what;
    std::u16string text;
    platform::ValueType type;
  };
  const Case cases[] = {
      {"not a string", platform::guid_to_string(kOtherClassId), platform::ValueType::binary},
      {"not an identifier", u"Keyboard", platform::ValueType::string},
      {"an identifier nobody registered", u"{00000000-0000-0000-0000-0000000000AB}", platform::ValueType::string},
      {"an identifier beyond the 256 bytes read", std::u16string(120, u' ') + platform::guid_to_string(kOtherClassId),
       platform::ValueType::string},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    record_default(c.text, c.type);
    EXPECT_FALSE(select_default_im(registry(), SipShow::show));
    EXPECT_EQ(manager_.current(), platform::kQuillpadClassId);
    EXPECT_TRUE(calls().empty()) << "the panel is not touched either";
  }
  record_default(platform::guid_to_string(kOtherClassId) + u'\0' + u"tail");
  EXPECT_TRUE(select_default_im(registry(), SipShow::unchanged)) << "the text ends at its first 0";
  EXPECT_EQ(manager_.current(), kOtherClassId);
}

TEST_F(InputMethodTest, TheDefaultMayBeSelectedFromAnotherThreadAndAHiddenScopeShowsThePanelAgain) {
  ASSERT_TRUE(manager_.set_current(platform::kQuillpadClassId));
  ASSERT_TRUE(manager_.show(true));
  {
    SipHiddenScope hidden;
    EXPECT_FALSE(query_im_state()->shown);
  }
  EXPECT_TRUE(query_im_state()->shown);
  EXPECT_EQ(calls(), (std::vector<std::string>{"ours select", "ours showing", "ours hiding", "ours showing"}));

  record_default(platform::guid_to_string(kOtherClassId));
  bool selected = false;
  std::thread engine_thread([&] { selected = select_default_im(registry(), SipShow::unchanged); });
  engine_thread.join();
  EXPECT_TRUE(selected);
  EXPECT_EQ(manager_.current(), kOtherClassId);
}

// A device whose input-panel manager is not running.
class NoPanelTest : public testing::TempDevice {
 protected:
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
};

TEST_F(NoPanelTest, EveryCallFailsAndChangesNothing) {
  ASSERT_EQ(registry().create_key(platform::kDefaultImHive, platform::kDefaultImKey), platform::Status::ok);
  std::u16string text = platform::guid_to_string(kOtherClassId);
  ASSERT_EQ(registry().write_value(platform::kDefaultImHive, platform::kDefaultImKey, platform::kDefaultImValue,
                                   platform::ValueType::string, std::as_bytes(std::span(text))),
            platform::Status::ok);
  EXPECT_FALSE(show_sip(true));
  EXPECT_FALSE(select_own_im(SipShow::show));
  EXPECT_FALSE(select_default_im(registry(), SipShow::show));
  EXPECT_FALSE(query_im_state());
  EXPECT_FALSE(sip_is_shown(platform::sip_get_info));
}

}  // namespace
}  // namespace ductra
