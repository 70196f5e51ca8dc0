// The fixture of the settings tests: a 240 x 320 screen with a window
// server on a virtual clock, the interface in Russian, a device root with
// the help pages installed, a responder that drives each modal dialog by a
// step the test gives, and what the pages asked of the rest of the
// application (help boxes, copybook and dictionaries runs, web pages).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/common/localizer.h"
#include "app/settings/page_services.h"
#include "appplatform/device_root.h"
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_action.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/png_file.h"
#include "appplatform/message_box.h"
#include "appplatform/program_map.h"
#include "appplatform/ui_responder.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra::testing {

// Drives each modal dialog, in the order they open, by the next step given;
// a dialog without a step is cancelled and counted. Boxes take the answers
// given, else their last button.
class DialogDriver final : public platform::UiResponder {
 public:
  using Step = std::function<void(platform::WindowHandle dialog)>;

  DialogDriver() : previous_(platform::set_ui_responder(this)) {}
  ~DialogDriver() override { platform::set_ui_responder(previous_); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  void then(Step step) { steps_.push_back(std::move(step)); }
  void answer_box(int button) { box_answers_.push_back(button); }

  std::optional<int> choose_menu_item(const platform::MenuRequest&) override { return std::nullopt; }
  int answer_message_box(const platform::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (box_answers_.empty()) return request.buttons.empty() ? platform::IDOK : request.buttons.back();
    const int answer = box_answers_.front();
    box_answers_.pop_front();
    return answer;
  }
  bool recognize_hold(const platform::HoldRequest&) override { return false; }
  void drive_dialog(platform::WindowHandle dialog) override {
    titles.push_back(platform::WindowSystem::current().window_text(dialog));
    if (steps_.empty()) {
      ++undriven;
      platform::WindowSystem::current().send_message(dialog, platform::WM_COMMAND, platform::IDCANCEL, 0);
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
  }

  std::vector<platform::MessageBoxRequest> boxes;
  std::vector<std::u16string> titles;
  int undriven = 0;

 private:
  platform::UiResponder* previous_;
  std::deque<Step> steps_;
  std::deque<int> box_answers_;
};

// What the pages asked of the dialogs other parts of the application own.
class RecordedDialogs final : public SettingsDialogs {
 public:
  void run_copybook(platform::WindowHandle, CharsetId charset) override { copybook_runs.push_back(charset); }
  void run_dictionaries(platform::WindowHandle, int recognize_mode, Configurations&) override {
    dictionaries_runs.push_back(recognize_mode);
  }
  std::vector<CharsetId> copybook_runs;
  std::vector<int> dictionaries_runs;
};

inline std::filesystem::path settings_output_dir() {
  std::filesystem::path dir = std::filesystem::path(APP_TEST_OUTPUT_DIR) / "settings";
  std::filesystem::create_directories(dir);
  return dir;
}

class SettingsTest : public platform::VirtualTimeTest {
 protected:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 320;

  SettingsTest() : root_(make_folder()) {
    platform::set_display(screen_);
    root_.prepare();
    programs_.add(u"\\Windows\\PegHelp.exe", platform::ProgramKind::recorder);
    programs_.add(u"\\Windows\\iexplore.exe", platform::ProgramKind::recorder);
    for (const auto& page : std::filesystem::directory_iterator(DUCTRA_HELP_DIR)) {
      std::filesystem::copy_file(page.path(), root_.host() / "Windows" / page.path().filename());
    }
    localizer().set_language(1049);
  }
  ~SettingsTest() override {
    localizer().set_language(1049);
    platform::set_display(nullptr);
    std::filesystem::remove_all(root_.host());
  }

  // Paints the dialog, everything in it and its menu bar, then keeps the
  // screen as a PNG.
  void keep_picture(platform::WindowHandle dialog, const std::string& name) {
    paint_tree(dialog);
    for (auto bar = system_.get_window(platform::kDesktopWindow, platform::GW_CHILD); bar;
         bar = system_.get_window(bar, platform::GW_HWNDNEXT)) {
      if (system_.class_name(bar) == platform::kMenuBarClass && system_.get_window(bar, platform::GW_OWNER) == dialog) {
        paint_tree(bar);
      }
    }
    EXPECT_TRUE(platform::write_png(*screen_, (settings_output_dir() / name).string()));
  }
  static void paint_tree(platform::WindowHandle window) {
    platform::WindowSystem& system = platform::WindowSystem::current();
    system.update_window(window);
    for (auto c = system.get_window(window, platform::GW_CHILD); c; c = system.get_window(c, platform::GW_HWNDNEXT)) {
      paint_tree(c);
    }
  }
  // Does what a person does to a control of the dialog (or its shown page).
  static void act(platform::WindowHandle dialog, const platform::DialogAction& action) {
    EXPECT_TRUE(platform::perform_dialog_action(dialog, action)) << "control " << action.control;
  }
  // A tap on the soft key of `command` on the menu bar of `dialog`.
  static void press_soft_key(platform::WindowHandle dialog, int command) {
    platform::WindowSystem& system = platform::WindowSystem::current();
    for (auto bar = system.get_window(platform::kDesktopWindow, platform::GW_CHILD); bar;
         bar = system.get_window(bar, platform::GW_HWNDNEXT)) {
      if (system.class_name(bar) != platform::kMenuBarClass || system.get_window(bar, platform::GW_OWNER) != dialog) {
        continue;
      }
      const std::vector<platform::SoftKey> keys = platform::menu_bar_keys(bar);
      const std::vector<platform::Rect> rects = platform::menu_bar_key_rects(bar);
      for (std::size_t i = 0; i < keys.size() && i < rects.size(); ++i) {
        if (keys[i].command != command) continue;
        const platform::Point at = *system.screen_to_client(
            bar, {(rects[i].left + rects[i].right) / 2, (rects[i].top + rects[i].bottom) / 2});
        system.send_message(bar, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::make_lparam(at.x, at.y));
        system.send_message(bar, platform::WM_LBUTTONUP, 0, platform::make_lparam(at.x, at.y));
        return;
      }
    }
    ADD_FAILURE() << "no soft key " << command;
  }
  static platform::MessageResult ask(platform::WindowHandle dialog, int id, std::uint32_t message,
                                     platform::WParam wparam = 0, platform::LParam lparam = 0) {
    return platform::WindowSystem::current()
        .send_message(platform::shown_control(dialog, id), message, wparam, lparam)
        .result;
  }
  static bool enabled(platform::WindowHandle dialog, int id) {
    return platform::WindowSystem::current().is_window_enabled(platform::shown_control(dialog, id));
  }
  static bool checked(platform::WindowHandle dialog, int id) {
    return ask(dialog, id, platform::BM_GETCHECK) == platform::BST_CHECKED;
  }
  static std::u16string text(platform::WindowHandle dialog, int id) {
    return platform::WindowSystem::current().window_text(platform::shown_control(dialog, id));
  }
  // The texts of a list or combo box's items, and its selected item.
  static std::vector<std::u16string> items(platform::WindowHandle dialog, int id) {
    std::vector<std::u16string> out;
    const platform::ChildRecord* record = platform::find_child_record(platform::shown_control(dialog, id));
    for (int i = 0; record != nullptr && i < record->items.count(); ++i) out.push_back(*record->items.text(i));
    return out;
  }
  static int selected(platform::WindowHandle dialog, int id) {
    const platform::ChildRecord* record = platform::find_child_record(platform::shown_control(dialog, id));
    return record != nullptr ? record->items.selected() : platform::kNoItem;
  }

  std::shared_ptr<platform::Bitmap> screen_ = platform::Bitmap::create_rgb565(kWidth, kHeight);
  platform::WindowServer server_{kWidth, kHeight};
  platform::WindowSystem system_{server_};
  platform::DeviceRoot root_;
  platform::ProgramMap programs_;
  std::vector<std::uint32_t> help_boxes_;
  HelpLauncher help_{root_, programs_, localizer(), [this](std::uint32_t id) { help_boxes_.push_back(id); }};
  RecordedDialogs dialogs_;
  std::vector<std::u16string> pages_opened_;
  PageServices services_{help_, dialogs_,
                         [](char* buffer, int size) {
                           std::snprintf(buffer, static_cast<std::size_t>(size), "%s", "9.0.462.11806");
                           return 462;
                         },
                         [this](std::u16string_view url) {
                           pages_opened_.emplace_back(url);
                           return true;
                         },
                         [](std::uint32_t id, crCharSet* record) {
                           const std::u16string name = u"Charset " + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
                           name.copy(record->name, name.size());
                           record->id = id;
                           return 0;
                         }};

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-settings-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }
};

}  // namespace ductra::testing
