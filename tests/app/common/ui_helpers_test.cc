#include "app/common/ui_helpers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "app/common/hyperlink.h"
#include "app/common/localizer.h"
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/display.h"
#include "appplatform/request_log.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "temp_device.h"

namespace ductra {
namespace {

using platform::WindowHandle;

TEST(UiHelpersTest, ColoursFromComponentsAndBlackForAnyOutOfRange) {
  struct Case {
    int red, green, blue;
    platform::ColorRef colour;
  };
  const std::vector<Case> cases = {
      {255, 255, 255, 0xFFFFFF}, {0, 0, 192, 0xC00000}, {1, 2, 3, 0x030201},
      {256, 0, 0, 0},            {0, 300, 0, 0},        {0, 0, -1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(make_rgb(c.red, c.green, c.blue), c.colour) << c.red << " " << c.green;
}

TEST(UiHelpersTest, TheProgramsFolderIsItsPathWithoutTheLastPart) {
  EXPECT_EQ(directory_of(u"\\Program Files\\Ductra\\Ductra.exe"), u"\\Program Files\\Ductra");
  EXPECT_EQ(directory_of(u"\\Ductra.exe"), u"");
  EXPECT_EQ(directory_of(u"Ductra.exe"), u"Ductra.exe");
  ::setenv("DUCTRA_DEVICE_PROGRAM", "\\Program Files\\Ductra\\Ductra.exe", 1);
  EXPECT_EQ(exe_directory(), u"\\Program Files\\Ductra");
  ::unsetenv("DUCTRA_DEVICE_PROGRAM");
}

TEST(UiHelpersTest, ThePanelIsShownWhenItIsOnWithAPanelOfSomeHeight) {
  struct Case {
    bool answered;
    std::uint32_t flags;
    platform::Rect panel;
    bool shown;
  };
  const std::vector<Case> cases = {
      {true, platform::SIPF_ON, {0, 240, 240, 320}, true},
      {true, platform::SIPF_OFF, {0, 240, 240, 320}, false},
      {true, platform::SIPF_ON, {0, 240, 240, 240}, false},
      {false, platform::SIPF_ON, {0, 240, 240, 320}, false},
  };
  for (const Case& c : cases) {
    std::uint32_t asked_size = 0;
    const bool shown = sip_is_shown([&](platform::SipInfo& info) {
      asked_size = info.cb_size;
      info.flags = c.flags;
      info.sip_rect = c.panel;
      return c.answered;
    });
    EXPECT_EQ(shown, c.shown) << c.flags << " " << c.panel.height() << " " << c.answered;
    EXPECT_EQ(asked_size, 48u);
  }
  EXPECT_FALSE(sip_is_shown(nullptr));
}

class OpenUrlTest : public testing::TempDevice {};

TEST_F(OpenUrlTest, TheBrowserIsStartedWithTheAddressOnlyWhereThereIsOne) {
  platform::ProgramMap map;
  map.add(std::u16string(kBrowserProgram), platform::ProgramKind::recorder);
  EXPECT_TRUE(open_url(root(), map, u"http://www.example.com/ductra"));
  EXPECT_EQ(platform::recorded_requests(root()),
            std::vector<std::u16string>{u"\\Windows\\iexplore.exe http://www.example.com/ductra"});
  EXPECT_FALSE(open_url(root(), platform::ProgramMap{}, u"http://www.example.com/")) << "no browser";
  EXPECT_FALSE(open_url_by_string(root(), map, 65000)) << "no such string";
}

// A dialog with a static control turned into a link and a list box, on a
// small screen; the test's thread owns them.
class HyperlinkTest : public ::testing::Test {
 protected:
  static constexpr int kLink = 101;
  static constexpr int kOther = 102;
  static constexpr int kList = 103;
  // Texts of the program's own table.
  static constexpr std::uint32_t kCaptionId = 13;
  static constexpr std::uint32_t kAddressId = 10;

  HyperlinkTest() {
    platform::set_display(screen_);
    platform::register_standard_controls(system_);
    platform::DialogTemplate dialog;
    dialog.id = 1;
    dialog.title = u"About";
    dialog.style = platform::WS_VISIBLE;
    dialog.frame = {0, 0, 240, 120};
    dialog.items = {{kLink, u"STATIC", u"", 0, {10, 10, 230, 30}},
                    {kOther, u"STATIC", u"other", 0, {10, 40, 230, 60}},
                    {kList, u"LISTBOX", u"", 0, {10, 70, 230, 110}}};
    dialog_ = platform::create_dialog(dialog, {}, &dialog_procedure, 0);
    settle();
  }
  ~HyperlinkTest() override {
    system_.destroy_window(dialog_);
    platform::set_display(nullptr);
  }

  static platform::MessageResult dialog_procedure(WindowHandle, std::uint32_t, platform::WParam, platform::LParam) {
    return 0;
  }

  void attach(std::uint32_t url_id) {
    Hyperlink::attach(dialog_, kLink, kCaptionId, url_id, [this](std::u16string_view url) {
      opened_.emplace_back(url);
      return true;
    });
    settle();
  }
  void settle() {
    platform::Message m;
    while (system_.peek_message(m, true)) system_.dispatch_message(m);
  }
  platform::Point middle_of(int id) {
    const platform::Rect r = system_.window_rect(platform::dialog_item(dialog_, id)).value();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void pen(platform::PointerAction action, platform::Point at) {
    server_.pointer_input(action, at);
    settle();
  }
  int pixels_of(platform::ColorRef colour, platform::Rect area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) count += screen_->color_at(x, y) == colour;
    return count;
  }

  std::shared_ptr<platform::Bitmap> screen_ = platform::Bitmap::create_rgb565(240, 120);
  platform::WindowServer server_{240, 120};
  platform::WindowSystem system_{server_};
  WindowHandle dialog_;
  std::vector<std::u16string> opened_;
};

TEST_F(HyperlinkTest, ALiftOnTheLinkOpensItsAddressAndItsCaptionWhenItHasNone) {
  attach(0);
  const std::u16string caption = localizer().string(kCaptionId);
  ASSERT_FALSE(caption.empty());
  EXPECT_EQ(system_.window_text(platform::dialog_item(dialog_, kLink)), caption);
  pen(platform::PointerAction::down, middle_of(kLink));
  pen(platform::PointerAction::up, middle_of(kLink));
  EXPECT_EQ(opened_, std::vector<std::u16string>{caption});

  attach(kAddressId);
  pen(platform::PointerAction::down, middle_of(kLink));
  pen(platform::PointerAction::up, middle_of(kOther));
  EXPECT_EQ(opened_.back(), localizer().string(kAddressId)) << "the link held the capture";
  EXPECT_EQ(opened_.size(), 2u);
}

TEST_F(HyperlinkTest, ALiftAfterTheCaptureWentElsewhereOpensNothing) {
  attach(0);
  pen(platform::PointerAction::down, middle_of(kLink));
  system_.set_capture(platform::dialog_item(dialog_, kOther));
  pen(platform::PointerAction::up, middle_of(kLink));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(HyperlinkTest, EnterOpensTheLinkWhichAsksForIt) {
  attach(0);
  const WindowHandle link = platform::dialog_item(dialog_, kLink);
  EXPECT_EQ(system_.send_message(link, 0x0087, platform::VK_RETURN, 0).result, 4) << "WM_GETDLGCODE";
  system_.send_message(link, platform::WM_KEYDOWN, platform::VK_RETURN, 0);
  EXPECT_EQ(opened_.size(), 1u);
  Hyperlink::attach(dialog_, 999, kCaptionId, 0, nullptr);  // no such control: nothing happens
}

TEST_F(HyperlinkTest, TheLinkIsBlueAndFramedWhileItHasTheFocus) {
  attach(0);
  const platform::Rect link = system_.window_rect(platform::dialog_item(dialog_, kLink)).value();
  const platform::ColorRef blue = platform::from_rgb565(platform::to_rgb565(platform::rgb(0, 0, 192)));
  EXPECT_GT(pixels_of(blue, link), 20);
  const auto unfocused = pixels_of(platform::rgb(0, 0, 0), link);
  system_.set_focus(platform::dialog_item(dialog_, kLink));
  settle();
  EXPECT_GT(pixels_of(platform::rgb(0, 0, 0), link), unfocused) << "the focus rectangle";
  system_.set_focus(dialog_);
  settle();
  EXPECT_EQ(pixels_of(platform::rgb(0, 0, 0), link), unfocused);
}

TEST_F(HyperlinkTest, ABoldItemKeepsItsFontButItsWeight) {
  const WindowHandle other = platform::dialog_item(dialog_, kOther);
  const platform::LogFont before = platform::child_font(other)->description();
  set_dialog_item_bold(dialog_, kOther);
  const platform::LogFont after = platform::child_font(other)->description();
  EXPECT_EQ(after.weight, 700);
  EXPECT_EQ(after.height, before.height);
  EXPECT_EQ(after.face, before.face);
  set_dialog_item_bold(dialog_, 999);  // no such item: nothing happens
}

TEST_F(HyperlinkTest, TheSelectedListEntrysDataAndNothingWithoutASelection) {
  const WindowHandle list = platform::dialog_item(dialog_, kList);
  for (int i = 0; i < 3; ++i) {
    const std::u16string text = u"entry" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    system_.send_message(list, platform::LB_ADDSTRING, 0, reinterpret_cast<platform::LParam>(text.c_str()));
    system_.send_message(list, platform::LB_SETITEMDATA, static_cast<platform::WParam>(i), 700 + i);
  }
  EXPECT_EQ(list_selected_data(dialog_, kList), 0u);
  system_.send_message(list, platform::LB_SETCURSEL, 2, 0);
  EXPECT_EQ(list_selected_data(dialog_, kList), 702u);
  EXPECT_EQ(list_selected_data(dialog_, 999), 0u);
}

}  // namespace
}  // namespace ductra
