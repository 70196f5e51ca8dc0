// The whole road of a written word where the build has the engine: ink
// handed to the engine client by the controller, recognised by the engine
// (its letter search reads what the test says), delivered through the
// relay window to the input panel's callback.
#ifdef FAKE_SEARCH_ENGINE_LIBRARY

#include <dlfcn.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/delivery/result_delivery.h"
#include "app/shell/ductra_main.h"
#include "app/shell/shell_messages.h"
#include "app/shell/shell_window.h"
#include "tests/app/delivery/delivery_fixture.h"
#include "tests/app/shell_test_support.h"
#include "tests/support/data_file.h"

namespace ductra::testing {
namespace {

class DeliveryRoadTest : public platform::VirtualTimeTest {
 protected:
  using ReadFunction = int (*)(const char16_t* const*, int);

  DeliveryRoadTest() : device_(make_folder()) {
    EXPECT_EQ(platform::RuntimeDir::for_device(device_, &runtime_), platform::Status::ok);
    inkrec::testing::write_empty_data_file((device_.host() / "qlmain.dt").string());
    std::string error;
    library_ = EngineLibrary::open(FAKE_SEARCH_ENGINE_LIBRARY, &error);
    if (!library_) throw std::runtime_error(error);
    control_ = dlopen(FAKE_SEARCH_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    read_ = reinterpret_cast<ReadFunction>(dlsym(control_, "fake_search_engine_read"));
    engine_ = std::make_unique<Engine>(*library_);
    delivery_ = std::make_unique<ResultDelivery>(
        DeliveryParts{system_, *engine_, parts_, strings_, dictionaries_, prompt_, segmenter_, bubble_, u'.'});
    environment_ = std::make_unique<TestEnvironment>(
        system_, runtime_, *engine_, parts_, CoreFiles{device_.host() / "qlmain.dt", device_.host() / "rec_param.txt"});
    environment_->results = delivery_.get();
  }
  ~DeliveryRoadTest() override {
    if (ui_) {
      system_.post_message(shell_window(), WM_QUILLPAD_DESELECT, 0, 0);
      clock_.advance(kPromptWaitMs);
      platform::wait_for(*ui_, platform::kInfinite);
    }
    ui_.reset();
    environment_.reset();
    delivery_.reset();
    engine_.reset();
    library_.reset();
    dlclose(control_);
    std::filesystem::remove_all(runtime_.path());
    std::filesystem::remove_all(device_.host());
  }

  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-road-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  void start(int use_prompt) {
    parts_.stored_values.use_prompt = use_prompt;
    ui_ = platform::Thread::start([this] { return static_cast<std::uint32_t>(ductra_main(u"start", *environment_)); });
    clock_.advance(0);
  }

  // The engine reads the next ink as these letters (each with its
  // alternatives); the pen rests and the controller hands the ink over.
  // The time given covers the wait for the pen-up of a menu's tap, which
  // no pen gives here.
  void write(std::vector<std::u16string> letters) {
    std::vector<const char16_t*> units;
    for (const std::u16string& letter : letters) units.push_back(letter.c_str());
    ASSERT_EQ(read_(units.data(), static_cast<int>(units.size())), 0);
    callback_.clear();
    parts_.pen_rested = true;
    clock_.advance(2 * kPromptWaitMs);
  }

  platform::DeviceRoot device_;
  platform::RuntimeDir runtime_;
  platform::WindowServer server_{240, 320};
  platform::WindowSystem system_{server_};
  platform::ScriptedResponder responder_;
  quillpad::testing::RecordingCallback callback_;
  quillpad::testing::PanelThread panel_{system_, &callback_};
  FakeParts parts_;
  FakeDictionaries dictionaries_;
  FakePromptSignal prompt_;
  FakeSegmenter segmenter_;
  FakeBubble bubble_;
  Localizer strings_{"/nonexistent", 1049, platform::builtin_strings()};
  std::unique_ptr<EngineLibrary> library_;
  void* control_ = nullptr;
  ReadFunction read_ = nullptr;
  std::unique_ptr<Engine> engine_;
  std::unique_ptr<ResultDelivery> delivery_;
  std::unique_ptr<TestEnvironment> environment_;
  std::unique_ptr<platform::Thread> ui_;
};

TEST_F(DeliveryRoadTest, AWrittenWordReachesTheFocusedProgramKeyByKeyWithItsSpace) {
  start(0);
  write({u"a", u"b"});
  EXPECT_EQ(panel_.relay_messages(), (std::vector<std::string>{"0 97", "0 98", "0 32", "65535 0"}));
  EXPECT_EQ(callback_.text(), u"ab ");
  EXPECT_TRUE(responder_.menus().empty());
}

TEST_F(DeliveryRoadTest, TheAlternativesChosenInTheMenuChangeTheTypedText) {
  start(3);
  responder_.choose_text(u"o");
  responder_.choose_text(u"По умолчанию");
  write({u"ao", u"bh"});
  EXPECT_EQ(callback_.text(), u"ob ");

  // Dismissing the menu answers "none" and the engine drops the letter; a
  // single letter is typed without a space.
  responder_.choose_text(u"По умолчанию");
  responder_.dismiss_menu();
  write({u"ao", u"bh"});
  EXPECT_EQ(callback_.text(), u"a");

  const std::vector<platform::ShownMenu> menus = responder_.menus();
  ASSERT_EQ(menus.size(), 4u);
  std::vector<std::u16string> items;
  for (const platform::MenuItem& item : menus[1].items) items.push_back(item.text);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"b", u"h", u"", u"По умолчанию"}));
  EXPECT_EQ(responder_.unscripted(), 0);
}

}  // namespace
}  // namespace ductra::testing

#endif  // FAKE_SEARCH_ENGINE_LIBRARY
