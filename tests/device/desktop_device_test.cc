// ductra-device on an X display (in CI a virtual one that .ci/run starts):
// its window, the text it types into the focused X client, and the pointer
// writing through the X11 touch driver. Screenshots of the device's window
// are kept in the test output folder. Without a display there is nothing
// to show the device on, and these tests say so and are skipped.
#ifdef DUCTRA_DEVICE_PROGRAM

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <thread>

#include "app/common/settings.h"
#include "appplatform/component_protocol.h"
#include "appplatform/device_socket.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/draw/png_file.h"
#include "appplatform/pen_ring.h"
#include "appplatform/registry.h"
#include "appplatform/shared_memory.h"
#include "appplatform/text.h"
#include "appplatform/window_client.h"
#include "appplatform/window_system.h"
#include "device/desktop_front_end.h"
#include "device/typed_result.h"
#include "tests/device/device_process.h"

// Xlib's names come last: its macros (Status, None, Bool) would change the
// headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
extern "C" {
#include <xdo.h>
}
#undef Status

namespace ductra::device {
namespace {

using Clock = std::chrono::steady_clock;

bool wait_until(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
  for (const auto end = Clock::now() + limit; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    if (Clock::now() >= end) return false;
  }
  return true;
}

// The first edit field shown among the descendants of `parent`.
platform::WindowHandle shown_edit_field(platform::WindowSystem& system, platform::WindowHandle parent) {
  for (platform::WindowHandle child = system.get_window(parent, platform::GW_CHILD); child;
       child = system.get_window(child, platform::GW_HWNDNEXT)) {
    if (!system.is_window_visible(child)) continue;
    if (system.class_name(child) == platform::kEditClass) return child;
    if (const platform::WindowHandle found = shown_edit_field(system, child)) return found;
  }
  return {};
}

// An X client with the keyboard focus, as the application a person types
// in: it keeps the text of the keys pressed in its window.
class TextClient {
 public:
  explicit TextClient(Display* display) : display_(display) {
    const int screen = DefaultScreen(display_);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 400, 0, 300, 100, 0,
                                  WhitePixel(display_, screen), WhitePixel(display_, screen));
    XStoreName(display_, window_, "text client");
    XSelectInput(display_, window_, KeyPressMask | StructureNotifyMask);
    XMapWindow(display_, window_);
    for (XEvent event; XWindowEvent(display_, window_, StructureNotifyMask, &event), event.type != MapNotify;) {
    }
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
  }
  ~TextClient() { XDestroyWindow(display_, window_); }

  // Reads keys until `done` holds for the text or `limit` passes.
  template <typename Done>
  const std::string& read_until(Done done, std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (!done(text_) && Clock::now() < end) {
      while (XPending(display_) > 0) take(next_event());
      pollfd wait{ConnectionNumber(display_), POLLIN, 0};
      ::poll(&wait, 1, 50);
    }
    return text_;
  }

  bool has_focus() const {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus == window_;
  }

 private:
  XEvent next_event() {
    XEvent event;
    XNextEvent(display_, &event);
    return event;
  }
  void take(XEvent event) {
    if (event.type != KeyPress || event.xkey.window != window_) return;
    char text[16] = {};
    KeySym key = 0;
    const int length = XLookupString(&event.xkey, text, sizeof text, &key, nullptr);
    text_.append(text, static_cast<std::size_t>(length));
  }

  Display* display_;
  Window window_ = 0;
  std::string text_;
};

class DesktopDeviceTest : public DeviceProcessFixture {
 protected:
  void SetUp() override {
    if (!desktop_is_available()) GTEST_SKIP() << "no X display ($DISPLAY); .ci/run starts a virtual one";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    std::filesystem::create_directories(DEVICE_OUTPUT_DIR);
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  // The device's top-level window, once it is shown.
  Window device_window(std::chrono::seconds limit = std::chrono::seconds(20)) {
    for (const auto end = Clock::now() + limit; Clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
      if (const Window found = window_named("Ductra")) return found;
    }
    return 0;
  }

  Window window_named(const char* name) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      char* title = nullptr;
      XWindowAttributes attributes{};
      if (XFetchName(display_, children[i], &title) && title != nullptr && std::string(title) == name &&
          XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable) {
        found = children[i];
      }
      if (title != nullptr) XFree(title);
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  // The window as the desktop shows it, also written to the test output.
  std::shared_ptr<platform::Bitmap> screenshot(Window window, const std::string& file) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) return nullptr;
    auto shot = platform::Bitmap::create_rgb565(attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        shot->set_color(x, y, platform::rgb(static_cast<int>((pixel & image->red_mask) >> 16),
                                            static_cast<int>((pixel & image->green_mask) >> 8),
                                            static_cast<int>(pixel & image->blue_mask)));
      }
    }
    XDestroyImage(image);
    EXPECT_TRUE(platform::write_png(*shot, std::string(DEVICE_OUTPUT_DIR) + "/" + file));
    return shot;
  }

  bool has_state(Window window, const char* state) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const Atom wanted = XInternAtom(display_, state, False);
    bool found = false;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_STATE", False), 0, 16, False, XA_ATOM,
                           &type, &format, &count, &left, &data) == Success && data != nullptr) {
      const auto* atoms = reinterpret_cast<const Atom*>(data);
      found = std::find(atoms, atoms + count, wanted) != atoms + count;
      XFree(data);
    }
    return found;
  }

  bool takes_focus_on_its_own(Window window) {
    XWMHints* hints = XGetWMHints(display_, window);
    const bool input = hints == nullptr || !(hints->flags & InputHint) || hints->input;
    if (hints != nullptr) XFree(hints);
    return input;
  }

  Window x_focus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus;
  }

  // Once the application runs with its panel active, it takes ink.
  // Switched on and waiting for the pen (typed_result.h): the capture words
  // alone say so from the moment the application opens the ring, before it
  // takes up its configuration with capture off, and a stroke begun then
  // loses its pen-down.
  static bool application_takes_ink(const platform::PenRing& ring) {
    return wait_until([&] { return pen_awaited(ring) != 0 && waits_for_pen(ring); });
  }

  Display* display_ = nullptr;
};

TEST_F(DesktopDeviceTest, ReplayedWritingIsTypedIntoTheFocusedApplicationAndTheWindowStaysOutOfTheWay) {
  TextClient client(display_);
  const pid_t device = start({"--replay", DEVICE_FIXTURE_DIR "/written_samples.txt"}, "desktop");
  const Window window = device_window();
  ASSERT_NE(window, 0u) << output("desktop.err");
  EXPECT_TRUE(has_state(window, "_NET_WM_STATE_ABOVE")) << "kept above other windows";
  EXPECT_FALSE(takes_focus_on_its_own(window)) << "it never asks for the keyboard focus";
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  EXPECT_EQ(attributes.width % 240, 0);
  EXPECT_EQ(attributes.width / 240, attributes.height / 320) << "a whole factor on both sides";

  const std::string& first = client.read_until([](const std::string& text) { return !text.empty(); },
                                               std::chrono::seconds(60));
  EXPECT_FALSE(first.empty()) << output("desktop.err");
  screenshot(window, "device_window.png");
  ASSERT_EQ(exit_code(device), 0) << output("desktop.err");

  // What the device typed for each sample, it also printed.
  const std::vector<std::string> printed = lines("desktop.out");
  ASSERT_EQ(printed.size(), 5u) << output("desktop.out");
  const std::string typed = std::accumulate(printed.begin(), printed.end(), std::string());
  const std::string& received =
      client.read_until([&](const std::string& text) { return text.size() >= typed.size(); }, std::chrono::seconds(20));
  EXPECT_EQ(received, typed);
  EXPECT_EQ(received.substr(received.size() - 3), "ARa") << "the letters A, R and a as written";
  EXPECT_TRUE(client.has_focus()) << "the application kept the keyboard focus throughout";
}

TEST_F(DesktopDeviceTest, TheLeftButtonWritesInkThatTheWindowShows) {
  platform::SharedMemory ring_block;
  ASSERT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingWithTailBytes,
                                         &ring_block),
            platform::Status::ok);
  const platform::PenRing ring(ring_block.bytes());
  TextClient client(display_);
  const pid_t device = start({}, "pointer");
  const Window window = device_window();
  ASSERT_NE(window, 0u) << output("pointer.err");
  ASSERT_TRUE(application_takes_ink(ring));
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  const int scale = attributes.width / 240;
  const std::shared_ptr<platform::Bitmap> before = screenshot(window, "device_window_before_ink.png");

  xdo_t* xdo = xdo_new(nullptr);
  ASSERT_NE(xdo, nullptr);
  int left = 0, top = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &left, &top, &child);
  const int screen = DefaultScreen(display_);
  xdo_move_mouse(xdo, left + 60 * scale, top + 80 * scale, screen);
  xdo_mouse_down(xdo, CURRENTWINDOW, 1);
  for (int step = 1; step <= 40; ++step) {
    xdo_move_mouse(xdo, left + (60 + 3 * step) * scale, top + (80 + 2 * step) * scale, screen);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (const auto end = Clock::now() + std::chrono::seconds(10);
       ring.load(&platform::PenRingHeader::write_index_) < 30 && Clock::now() < end;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_GE(ring.load(&platform::PenRingHeader::write_index_), 30u) << "the stroke reached the application";
  ASSERT_TRUE(before);
  // Points of the stroke's path whose colour changed since `before`. The
  // application draws the ink and the window repaints it in their own time.
  const auto changed_points = [&](const std::shared_ptr<platform::Bitmap>& now) {
    int changed = 0;
    for (int step = 5; step <= 35 && now; ++step) {
      const int x = (60 + 3 * step) * scale, y = (80 + 2 * step) * scale;
      changed += before->color_at(x, y) != now->color_at(x, y);
    }
    return changed;
  };
  std::shared_ptr<platform::Bitmap> during;
  wait_until([&] { return changed_points(during = screenshot(window, "device_window_with_ink.png")) > 20; });
  xdo_mouse_up(xdo, CURRENTWINDOW, 1);
  xdo_free(xdo);

  ASSERT_TRUE(during);
  EXPECT_GT(changed_points(during), 20) << "the application's ink, drawn on the shared screen, shows in the window";

  ::kill(device, SIGTERM);
  EXPECT_EQ(exit_code(device), 0) << output("pointer.err");
}

TEST_F(DesktopDeviceTest, KeysTypedAtTheWindowReachTheApplicationsDialogWhichThenGivesTheFocusBack) {
  platform::SharedMemory ring_block;
  ASSERT_EQ(platform::SharedMemory::open(runtime_, platform::kPenRingName, platform::kPenRingWithTailBytes,
                                         &ring_block),
            platform::Status::ok);
  TextClient client(display_);
  const pid_t device = start({}, "keys");
  const Window window = device_window();
  ASSERT_NE(window, 0u) << output("keys.err");
  ASSERT_TRUE(application_takes_ink(platform::PenRing(ring_block.bytes()))) << output("keys.err");
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  const int scale = attributes.width / 240;
  int left = 0, top = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &left, &top, &child);
  // This test joins the device's windows as any of its processes does.
  platform::WindowClient link;
  ASSERT_TRUE(link.connect(platform::window_server_socket(runtime_)));
  platform::WindowSystem system(link);
  const platform::WindowHandle shell = system.find_window(platform::kShellWindowClass, platform::kShellWindowTitle);
  ASSERT_TRUE(shell);
  const platform::Registry registry(root_);
  xdo_t* xdo = xdo_new(nullptr);
  ASSERT_NE(xdo, nullptr);

  // The settings' pen width: typed and accepted with Return, then typed in
  // other alphabets too (libxdo maps keys of its own for them) and cancelled
  // with Escape.
  struct Round {
    const char* typed;
    const char* closing_key;
    std::uint32_t pen_width;
  };
  for (const Round& round : {Round{"12", "Return", 12}, Round{"7жé", "Escape", 12}}) {
    SCOPED_TRACE(round.closing_key);
    system.post_message(shell, platform::WM_QUILLPAD_OPTIONS, 0, 0);
    platform::WindowHandle field;
    ASSERT_TRUE(wait_until([&] { return (field = shown_edit_field(system, platform::kDesktopWindow)) != platform::WindowHandle{}; }))
        << "the application's settings show their pen width field";
    EXPECT_TRUE(wait_until([&] { return x_focus() == window; })) << "the device took the keyboard for the dialog";
    const platform::Rect place = *system.window_rect(field);
    xdo_move_mouse(xdo, left + (place.left + place.right) / 2 * scale, top + (place.top + place.bottom) / 2 * scale,
                   DefaultScreen(display_));
    xdo_click_window(xdo, CURRENTWINDOW, 1);
    ASSERT_TRUE(wait_until([&] { return system.focus() == field; })) << "a tap gives the field the focus";
    for (int i = 0; i < 3; ++i) xdo_send_keysequence_window(xdo, CURRENTWINDOW, "BackSpace", 12000);
    // libxdo types a character without a key of its own through a keycode it
    // maps for that character and then maps back; the device looks the key up
    // when it reads the event, so on a busy machine the keys are spaced widely
    // enough for it to read each before its mapping changes again.
    constexpr useconds_t kRemappedKeyDelay = 400000;
    xdo_enter_text_window(xdo, CURRENTWINDOW, round.typed, kRemappedKeyDelay);
    EXPECT_TRUE(wait_until([&] { return system.window_text(field) == platform::to_utf16(round.typed); }))
        << platform::to_utf8(system.window_text(field));
    if (round.pen_width == 12 && std::string(round.closing_key) == "Return") {
      screenshot(window, "device_window_settings_typed.png");
    }
    xdo_send_keysequence_window(xdo, CURRENTWINDOW, round.closing_key, 12000);
    EXPECT_TRUE(wait_until([&] { return !system.is_window(field); })) << "the key closed the settings";
    EXPECT_TRUE(wait_until([&] { return client.has_focus(); })) << "the focus went back to the client";
    std::uint32_t pen_width = 0;
    EXPECT_TRUE(wait_until([&] {
      return registry.read_dword(platform::Hive::local_machine, kSettingsKey, u"PenWidth", &pen_width) ==
                 platform::Status::ok &&
             pen_width == round.pen_width;
    })) << "the pen width saved is " << pen_width;
  }
  xdo_free(xdo);
  EXPECT_EQ(client.read_until([](const std::string&) { return false; }, std::chrono::seconds(1)), "")
      << "no key typed for the dialog reached the client";

  ::kill(device, SIGTERM);
  EXPECT_EQ(exit_code(device), 0) << output("keys.err");
}

}  // namespace
}  // namespace ductra::device

#endif  // DUCTRA_DEVICE_PROGRAM
