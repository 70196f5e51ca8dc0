#include "appplatform/com/input_panel_manager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/com/input_panel_calls.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

constexpr Guid kWriting{0xA1, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr Guid kKeys{0xB2, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr Guid kBroken{0xC3, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr Guid kMissing{0xD4, 4, 4, {1, 2, 3, 4, 5, 6, 7, 8}};

// Everything the fake input methods heard, with the thread that called.
struct Journal {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::vector<std::thread::id> threads;
  void add(std::string call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<std::string> take() {
    std::lock_guard lock(mutex);
    threads.clear();
    return std::exchange(calls, {});
  }
};

Journal journal;
std::atomic<int> live_objects{0};

class FakeMethod final : public IInputMethod {
 public:
  FakeMethod(std::string name, bool select_fails) : name_(std::move(name)), select_fails_(select_fails) { ++live_objects; }

  HResult QueryInterface(const Guid& iid, void** out) override {
    *out = nullptr;
    if (!(iid == IID_IUnknown) && !(iid == IID_IInputMethod)) return E_NOINTERFACE;
    *out = static_cast<IInputMethod*>(this);
    AddRef();
    return S_OK;
  }
  std::uint32_t AddRef() override { return ++count_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --count_;
    if (left == 0) {
      journal.add(name_ + ":freed");
      --live_objects;
    }
    return left;
  }
  HResult Select(WindowHandle) override {
    journal.add(name_ + ":Select");
    return select_fails_ ? E_FAIL : S_OK;
  }
  HResult Deselect() override { return note("Deselect"); }
  HResult Showing() override {
    note("Showing");
    const std::u16string text = name_ == "writing" ? u"written" : u"typed";
    return callback_->SendString(text.data(), static_cast<std::uint32_t>(text.size()));
  }
  HResult Hiding() override { return note("Hiding"); }
  HResult GetInfo(ImInfo* info) override {
    note("GetInfo");
    info->narrow_index = name_ == "writing" ? 1 : 2;
    return S_OK;
  }
  HResult ReceiveSipInfo(const SipInfo* info) override {
    return note(info->flags & SIPF_ON ? "ReceiveSipInfo(on)" : "ReceiveSipInfo(off)");
  }
  HResult RegisterCallback(IIMCallback* callback) override {
    callback_ = callback;
    return note("RegisterCallback");
  }
  HResult GetImData(std::uint32_t, void*) override { return S_OK; }
  HResult SetImData(std::uint32_t, void*) override { return S_OK; }
  HResult UserOptionsDlg(WindowHandle) override { return S_OK; }

 private:
  HResult note(const std::string& call) {
    journal.add(name_ + ":" + call);
    return S_OK;
  }
  std::string name_;
  bool select_fails_;
  std::atomic<std::uint32_t> count_{1};
  IIMCallback* callback_ = nullptr;
};

// Objects are freed with the pool at the end of the test; Release at 0
// only marks them freed.
std::mutex pool_mutex;
std::vector<std::unique_ptr<FakeMethod>> pool;

class FakeFactory final : public IClassFactory {
 public:
  explicit FakeFactory(Guid clsid) : clsid_(clsid) {}
  HResult QueryInterface(const Guid& iid, void** out) override {
    *out = (iid == IID_IClassFactory || iid == IID_IUnknown) ? static_cast<IClassFactory*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  std::uint32_t AddRef() override { return 1; }
  std::uint32_t Release() override { return 1; }
  HResult CreateInstance(IUnknown* outer, const Guid& iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    const std::string name = clsid_ == kWriting ? "writing" : clsid_ == kKeys ? "keys" : "broken";
    auto method = std::make_unique<FakeMethod>(name, clsid_ == kBroken);
    const HResult h = method->QueryInterface(iid, out);
    method->Release();
    std::lock_guard lock(pool_mutex);
    pool.push_back(std::move(method));
    return h;
  }
  HResult LockServer(std::int32_t) override { return S_OK; }

 private:
  Guid clsid_;
};

FakeFactory writing_factory{kWriting};
FakeFactory keys_factory{kKeys};
FakeFactory broken_factory{kBroken};

HResult get_class_object(const Guid& clsid, const Guid& iid, void** out) {
  FakeFactory* f = clsid == kWriting ? &writing_factory : clsid == kKeys ? &keys_factory : clsid == kBroken ? &broken_factory : nullptr;
  if (!f) return CLASS_E_CLASSNOTAVAILABLE;
  return f->QueryInterface(iid, out);
}

class TextLog final : public KeySink {
 public:
  void send_string(std::u16string_view text) override {
    std::lock_guard lock(mutex_);
    text_ += text;
  }
  void send_key(std::uint8_t, bool) override {}
  void send_character(std::uint32_t, char32_t, bool) override {}
  std::u16string text() {
    std::lock_guard lock(mutex_);
    return text_;
  }

 private:
  std::mutex mutex_;
  std::u16string text_;
};

class InputPanelManagerTest : public ::testing::Test {
 protected:
  InputPanelManagerTest() { journal.take(); }
  ~InputPanelManagerTest() override {
    std::lock_guard lock(pool_mutex);
    pool.clear();
  }

  WindowServer server_{240, 320};
  WindowSystem system_{server_};
  TextLog typed_;
};

TEST_F(InputPanelManagerTest, SwitchingBetweenTwoInputMethodsTellsEachWhenItIsSelectedAndDeselected) {
  std::vector<std::thread::id> threads;
  {
    InputPanelManager manager(typed_, {0, 268, 240, 320});
    ASSERT_TRUE(manager.panel_window());
    EXPECT_EQ(system_.class_name(manager.panel_window()), kPanelWindowClass);
    ASSERT_TRUE(manager.register_input_method({kWriting, u"Writing", get_class_object}));
    ASSERT_TRUE(manager.register_input_method({kKeys, u"Keys", get_class_object}));
    EXPECT_TRUE(manager.set_default(kKeys));
    EXPECT_EQ(manager.default_input_method(), kKeys);
    EXPECT_EQ(manager.current(), std::nullopt);

    ASSERT_TRUE(manager.set_current(kWriting));
    EXPECT_EQ(journal.take(), (std::vector<std::string>{"writing:Select", "writing:RegisterCallback",
                                                        "writing:ReceiveSipInfo(off)", "writing:GetInfo"}));
    EXPECT_EQ(manager.input_method_info()->narrow_index, 1);
    ASSERT_TRUE(manager.show(true));
    SipInfo info;
    ASSERT_TRUE(manager.get_info(info));
    EXPECT_EQ(info.flags, SIPF_ON);
    EXPECT_EQ(info.sip_rect, (Rect{0, 268, 240, 320}));
    EXPECT_EQ(info.visible_desktop.bottom, 268);
    EXPECT_TRUE(system_.is_window_visible(manager.panel_window()));
    EXPECT_EQ(journal.take(), (std::vector<std::string>{"writing:ReceiveSipInfo(on)", "writing:Showing"}));

    ASSERT_TRUE(manager.set_current(kKeys));
    EXPECT_EQ(manager.current(), kKeys);
    EXPECT_EQ(manager.input_method_info()->narrow_index, 2);
    EXPECT_EQ(journal.take(),
              (std::vector<std::string>{"keys:Select", "writing:Hiding", "writing:Deselect", "writing:freed",
                                        "keys:RegisterCallback", "keys:ReceiveSipInfo(on)", "keys:GetInfo",
                                        "keys:Showing"}));
    EXPECT_TRUE(manager.set_current(kKeys));  // already current: nobody hears anything
    ASSERT_TRUE(manager.set_current(kWriting));
    EXPECT_EQ(manager.current(), kWriting);
    {
      std::lock_guard lock(journal.mutex);
      threads = journal.threads;
    }
    EXPECT_EQ(journal.take(),
              (std::vector<std::string>{"writing:Select", "keys:Hiding", "keys:Deselect", "keys:freed",
                                        "writing:RegisterCallback", "writing:ReceiveSipInfo(on)", "writing:GetInfo",
                                        "writing:Showing"}));
    ASSERT_TRUE(manager.show(false));
    EXPECT_FALSE(system_.is_window_visible(manager.panel_window()));
    EXPECT_EQ(typed_.text(), u"writtentypedwritten");
  }
  // The manager ends: the current input method is deselected and released.
  EXPECT_EQ(journal.take(), (std::vector<std::string>{"writing:ReceiveSipInfo(off)", "writing:Hiding",
                                                      "writing:Deselect", "writing:freed"}));
  EXPECT_EQ(live_objects.load(), 0);
  ASSERT_FALSE(threads.empty());
  for (const std::thread::id& t : threads) {
    EXPECT_EQ(t, threads.front());  // every call on the manager's one thread
    EXPECT_NE(t, std::this_thread::get_id());
  }
}

TEST_F(InputPanelManagerTest, WhatCannotBeMadeOrSelectedLeavesTheCurrentInputMethodInPlace) {
  InputPanelManager manager(typed_, {0, 268, 240, 320});
  ASSERT_TRUE(manager.register_input_method({kWriting, u"Writing", get_class_object}));
  ASSERT_TRUE(manager.register_input_method({kBroken, u"Broken", get_class_object}));
  ASSERT_TRUE(manager.register_input_method({kMissing, u"Missing", get_class_object}));
  EXPECT_FALSE(manager.register_input_method({kWriting, u"Again", get_class_object}));
  EXPECT_FALSE(manager.register_input_method({kKeys, u"No factory", nullptr}));
  EXPECT_FALSE(manager.set_default(kKeys));
  ASSERT_TRUE(manager.set_current(kWriting));
  journal.take();

  struct Case {
    Guid clsid;
    std::vector<std::string> heard;
  };
  const Case cases[] = {
      {kKeys, {}},                                  // not registered
      {kMissing, {}},                               // its library has no such class
      {kBroken, {"broken:Select", "broken:freed"}}, // refuses to be selected
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(manager.set_current(c.clsid));
    EXPECT_EQ(manager.current(), kWriting);
    EXPECT_EQ(journal.take(), c.heard);
  }
  SipInfo wrong_size;
  wrong_size.cb_size = 40;
  EXPECT_FALSE(manager.get_info(wrong_size));
  EXPECT_EQ(wrong_size.flags, SIPF_OFF);
}

TEST_F(InputPanelManagerTest, ThreadsSwitchingAtOnceLeaveOneSelectedInputMethodAndFreeEveryOther) {
  {
    InputPanelManager manager(typed_, {0, 268, 240, 320});
    ASSERT_TRUE(manager.register_input_method({kWriting, u"Writing", get_class_object}));
    ASSERT_TRUE(manager.register_input_method({kKeys, u"Keys", get_class_object}));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&manager, t] {
        for (int i = 0; i < 25; ++i) {
          manager.set_current((i + t) % 2 ? kWriting : kKeys);
          manager.show(i % 3 == 0);
        }
      });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(live_objects.load(), 1);
    const std::vector<std::string> calls = journal.take();
    const auto count = [&](const std::string& what) { return std::count(calls.begin(), calls.end(), what); };
    EXPECT_EQ(count("writing:Select") + count("keys:Select"), count("writing:Deselect") + count("keys:Deselect") + 1);
  }
  EXPECT_EQ(live_objects.load(), 0);
}

TEST_F(InputPanelManagerTest, OtherThreadsAndProcessesReachTheManagerThroughThePanelWindowsMessages) {
  InputPanelManager manager(typed_, {0, 268, 240, 320});
  ASSERT_TRUE(manager.register_input_method({kWriting, u"Writing", get_class_object}));
  ASSERT_TRUE(manager.register_input_method({kKeys, u"Keys", get_class_object}));
  EXPECT_EQ(sip_current_im_is(kWriting), false) << "none is current yet";
  EXPECT_TRUE(sip_set_current_im(kWriting));
  EXPECT_FALSE(sip_set_current_im(kMissing));
  EXPECT_EQ(sip_current_im_is(kWriting), true);
  EXPECT_EQ(sip_current_im_is(kKeys), false);
  EXPECT_TRUE(sip_show_im(true));
  SipInfo info;
  ASSERT_TRUE(sip_get_info(info));
  SipInfo direct;
  ASSERT_TRUE(manager.get_info(direct));
  EXPECT_EQ(info.flags, SIPF_ON);
  EXPECT_EQ(info.sip_rect, direct.sip_rect);
  EXPECT_EQ(info.visible_desktop, direct.visible_desktop);
  EXPECT_EQ(guid_from_halves(guid_first_half(kKeys), guid_second_half(kKeys)), kKeys);
  EXPECT_EQ(typed_.text(), u"written");
}

TEST_F(InputPanelManagerTest, WorkThatNoCallOfTheManagerHandedOverIsNeverRun) {
  InputPanelManager manager(typed_, {0, 268, 240, 320});
  bool ran = false;
  const std::function<void()> work = [&ran] { ran = true; };
  // The manager's own work message, as another process could send it with
  // any number in lParam.
  constexpr std::uint32_t kManagersWorkMessage = WM_APP + 0x3F0;
  const SendOutcome outcome =
      system_.send_message(manager.panel_window(), kManagersWorkMessage, 0, reinterpret_cast<LParam>(&work));
  EXPECT_EQ(outcome.status, MessageStatus::delivered);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(manager.show(true)) << "the manager's own work still runs";
}

TEST(InputPanelCallsTest, WithoutAManagerEveryCallFails) {
  WindowServer server{240, 320};
  WindowSystem system{server};
  SipInfo info;
  EXPECT_FALSE(sip_show_im(true));
  EXPECT_FALSE(sip_set_current_im(kWriting));
  EXPECT_FALSE(sip_current_im_is(kWriting));
  EXPECT_FALSE(sip_get_info(info));
}

}  // namespace
}  // namespace ductra::platform
