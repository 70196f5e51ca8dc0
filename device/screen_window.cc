#include "device/screen_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <fcntl.h>

#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "appplatform/text.h"
#include "device/window_scale.h"

namespace ductra::device {
namespace {

constexpr int kRefreshMs = 30;

std::atomic<int> x_errors{0};

// Xlib's own handler ends the process on any error; a window gone from
// under a focus change or a display refusing shared memory is not worth
// that.
int count_x_error(Display*, XErrorEvent*) {
  ++x_errors;
  return 0;
}

// One channel of 8 bits placed where `mask` says in a pixel value.
unsigned long place_channel(unsigned value, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long sized = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
  return (sized << shift) & mask;
}

double desktop_dots_per_inch(Display* display, int screen) {
  if (const char* dpi = XGetDefault(display, "Xft", "dpi")) {
    const double value = std::atof(dpi);
    if (value > 0) return value;
  }
  const int millimetres = DisplayHeightMM(display, screen);
  return millimetres > 0 ? DisplayHeight(display, screen) * 25.4 / millimetres : 96.0;
}

}  // namespace

struct ScreenWindow::X11 {
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
  Visual* visual = nullptr;
  XImage* image = nullptr;
  XShmSegmentInfo shm{};
  bool shared = false;
  std::vector<char> plain_pixels;
  std::shared_ptr<platform::Bitmap> screen;
  std::vector<std::uint8_t> shown;
  int scale = 1;
  Atom delete_window = 0;
  std::function<void()> on_close;
  ScreenWindow::KeyHandler on_key;
  XIM input_method = nullptr;
  XIC input_context = nullptr;
  int wake[2] = {-1, -1};
  std::atomic<bool> stopping{false};
  std::atomic<bool> keyboard_wanted{false};
  bool has_keyboard = false;
  Window focus_before = None;
  std::thread thread;

  ~X11();
  bool make_window(std::string* error);
  bool make_image();
  void run();
  void handle(XEvent& event);
  void open_input_method();
  void pass_key(XKeyEvent& key);
  void show_changed_rows();
  void draw_rows(int first, int end);
  void put(int x, int y, int width, int height);
  void follow_keyboard_wish();
  void set_input_hint(bool input);
};

ScreenWindow::X11::~X11() {
  if (thread.joinable()) {
    stopping = true;
    const char byte = 0;
    (void)::write(wake[1], &byte, 1);
    thread.join();
  }
  if (image != nullptr) {
    if (shared) {
      XShmDetach(display, &shm);
      ::shmdt(shm.shmaddr);
    }
    image->data = nullptr;  // the pixels are ours, not Xlib's
    XDestroyImage(image);
  }
  if (input_context != nullptr) XDestroyIC(input_context);
  if (input_method != nullptr) XCloseIM(input_method);
  if (gc != nullptr) XFreeGC(display, gc);
  if (window != 0) XDestroyWindow(display, window);
  if (display != nullptr) XCloseDisplay(display);
  for (const int end : wake) {
    if (end >= 0) ::close(end);
  }
}

bool ScreenWindow::X11::make_window(std::string* error) {
  const int number = DefaultScreen(display);
  visual = DefaultVisual(display, number);
  if (visual->c_class != TrueColor || DefaultDepth(display, number) < 15) {
    *error = "the display shows no true colours";
    return false;
  }
  const DesktopFacts desktop{desktop_dots_per_inch(display, number), DisplayWidth(display, number),
                             DisplayHeight(display, number)};
  scale = window_scale(desktop, screen->width(), screen->height());
  const unsigned width = static_cast<unsigned>(screen->width() * scale);
  const unsigned height = static_cast<unsigned>(screen->height() * scale);
  window = XCreateSimpleWindow(display, RootWindow(display, number), 0, 0, width, height, 0,
                               BlackPixel(display, number), BlackPixel(display, number));
  XStoreName(display, window, "Ductra");
  XClassHint class_hint{const_cast<char*>("ductra-device"), const_cast<char*>("Ductra")};
  XSetClassHint(display, window, &class_hint);
  XSizeHints size{};
  size.flags = PMinSize | PMaxSize;
  size.min_width = size.max_width = static_cast<int>(width);
  size.min_height = size.max_height = static_cast<int>(height);
  XSetWMNormalHints(display, window, &size);
  set_input_hint(false);
  delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &delete_window, 1);
  const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&above), 1);
  XSelectInput(display, window, ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask);
  open_input_method();
  gc = XCreateGC(display, window, 0, nullptr);
  if (!make_image()) {
    *error = "no image of the screen's size can be made on the display";
    return false;
  }
  XMapRaised(display, window);
  XSync(display, False);
  return true;
}

void ScreenWindow::X11::set_input_hint(bool input) {
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = input ? True : False;
  hints.initial_state = NormalState;
  XSetWMHints(display, window, &hints);
}

// The desktop's input method types the text of a key (compose sequences,
// dead keys, any alphabet); without one, a key types its Latin-1 text.
void ScreenWindow::X11::open_input_method() {
  input_method = XOpenIM(display, nullptr, nullptr, nullptr);
  if (input_method == nullptr) return;
  input_context = XCreateIC(input_method, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                            XNFocusWindow, window, nullptr);
  if (input_context != nullptr) XSetICFocus(input_context);
}

// Through shared memory when the display has it and takes it; else an
// image sent over the connection.
bool ScreenWindow::X11::make_image() {
  const int number = DefaultScreen(display);
  const unsigned width = static_cast<unsigned>(screen->width() * scale);
  const unsigned height = static_cast<unsigned>(screen->height() * scale);
  const unsigned depth = static_cast<unsigned>(DefaultDepth(display, number));
  if (XShmQueryExtension(display)) {
    image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &shm, width, height);
    if (image != nullptr) {
      shm.shmid = ::shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
      shm.shmaddr = shm.shmid >= 0 ? static_cast<char*>(::shmat(shm.shmid, nullptr, 0)) : nullptr;
      const int errors_before = x_errors.load();
      if (shm.shmaddr != nullptr && shm.shmaddr != reinterpret_cast<char*>(-1)) {
        image->data = shm.shmaddr;
        shm.readOnly = False;
        shared = XShmAttach(display, &shm) && (XSync(display, False), x_errors.load() == errors_before);
      }
      if (shm.shmid >= 0) ::shmctl(shm.shmid, IPC_RMID, nullptr);  // gone once both sides let go
      if (shared) return true;
      if (shm.shmaddr != nullptr && shm.shmaddr != reinterpret_cast<char*>(-1)) ::shmdt(shm.shmaddr);
      image->data = nullptr;
      XDestroyImage(image);
      image = nullptr;
    }
  }
  image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
  if (image == nullptr) return false;
  plain_pixels.assign(static_cast<std::size_t>(image->bytes_per_line) * height, 0);
  image->data = plain_pixels.data();
  return true;
}

void ScreenWindow::X11::run() {
  pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake[0], POLLIN, 0}};
  while (!stopping) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (!XFilterEvent(&event, None)) handle(event);
    }
    follow_keyboard_wish();
    show_changed_rows();
    XFlush(display);
    ::poll(waits, 2, kRefreshMs);
    if (waits[1].revents & POLLIN) {
      char bytes[16];
      (void)::read(wake[0], bytes, sizeof bytes);
    }
  }
}

void ScreenWindow::X11::handle(XEvent& event) {
  if (event.type == KeyPress || event.type == KeyRelease) {
    if (has_keyboard && on_key) pass_key(event.xkey);
  } else if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);  // libxdo maps keys of its own to type any character
  } else if (event.type == Expose) {
    put(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height);
  } else if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == delete_window) {
    if (on_close) on_close();
  }
}

void ScreenWindow::X11::pass_key(XKeyEvent& key) {
  KeySym keysym = NoSymbol;
  std::u16string typed;
  if (key.type == KeyRelease) {
    XLookupString(&key, nullptr, 0, &keysym, nullptr);
  } else if (input_context != nullptr) {
    char text[64];
    Status got = 0;
    const int length = Xutf8LookupString(input_context, &key, text, sizeof text, &keysym, &got);
    if (got == XLookupChars || got == XLookupBoth) typed = platform::to_utf16(std::string_view(text, length));
  } else {
    char text[16];
    const int length = XLookupString(&key, text, sizeof text, &keysym, nullptr);
    for (int i = 0; i < length; ++i) typed.push_back(static_cast<unsigned char>(text[i]));  // Latin-1
  }
  on_key(key.type == KeyPress ? platform::KeyAction::down : platform::KeyAction::up, desktop_key(keysym, typed));
}

// Compares the screen with what was last shown, row by row, and shows the
// band of rows that changed.
void ScreenWindow::X11::show_changed_rows() {
  const std::span<const std::uint8_t> bits = std::as_const(*screen).bits();
  const auto row_bytes = static_cast<std::size_t>(screen->width()) * 2;
  const auto stride = static_cast<std::size_t>(screen->stride_bytes());
  if (shown.size() != bits.size()) shown.assign(bits.size(), 0xFF);
  int first = -1, end = -1;
  for (int y = 0; y < screen->height(); ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * stride;
    if (std::memcmp(bits.data() + at, shown.data() + at, row_bytes) == 0) continue;
    std::memcpy(shown.data() + at, bits.data() + at, row_bytes);
    if (first < 0) first = y;
    end = y + 1;
  }
  if (first < 0) return;
  draw_rows(first, end);
  put(0, first * scale, screen->width() * scale, (end - first) * scale);
}

// Widens rows [first, end) of what was shown into the image.
void ScreenWindow::X11::draw_rows(int first, int end) {
  const auto stride = static_cast<std::size_t>(screen->stride_bytes());
  for (int y = first; y < end; ++y) {
    const std::uint8_t* row = shown.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < screen->width(); ++x) {
      const Rgb8 colour = widen_rgb565(static_cast<unsigned>(row[2 * x] | (row[2 * x + 1] << 8)));
      const unsigned long pixel = place_channel(colour.red, visual->red_mask) |
                                  place_channel(colour.green, visual->green_mask) |
                                  place_channel(colour.blue, visual->blue_mask);
      for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) XPutPixel(image, x * scale + dx, y * scale + dy, pixel);
      }
    }
  }
}

void ScreenWindow::X11::put(int x, int y, int width, int height) {
  if (shared) {
    XShmPutImage(display, window, gc, image, x, y, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                 False);
    XSync(display, False);  // the server has read the pixels before they change again
  } else {
    XPutImage(display, window, gc, image, x, y, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
  }
}

void ScreenWindow::X11::follow_keyboard_wish() {
  const bool wanted = keyboard_wanted.load();
  if (wanted == has_keyboard) return;
  has_keyboard = wanted;
  set_input_hint(wanted);
  if (wanted) {
    int revert = 0;
    XGetInputFocus(display, &focus_before, &revert);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
  } else if (focus_before != None && focus_before != PointerRoot && focus_before != window) {
    XSetInputFocus(display, focus_before, RevertToPointerRoot, CurrentTime);
  }
  XSync(display, False);
}

ScreenWindow::ScreenWindow() = default;
ScreenWindow::~ScreenWindow() = default;

bool ScreenWindow::open(const char* display_name, std::shared_ptr<platform::Bitmap> screen,
                        std::function<void()> on_close, KeyHandler on_key, std::string* error) {
  auto x11 = std::make_unique<X11>();
  x11->display = XOpenDisplay(display_name);
  if (x11->display == nullptr) {
    *error = "cannot open the display";
    return false;
  }
  XSetErrorHandler(&count_x_error);
  x11->screen = std::move(screen);
  x11->on_close = std::move(on_close);
  x11->on_key = std::move(on_key);
  if (::pipe2(x11->wake, O_CLOEXEC) != 0 || !x11->make_window(error)) return false;
  X11& running = *x11;
  x11->thread = std::thread([&running] { running.run(); });
  x11_ = std::move(x11);
  return true;
}

unsigned long ScreenWindow::window_id() const { return x11_ ? x11_->window : 0; }

int ScreenWindow::scale() const { return x11_ ? x11_->scale : 1; }

void ScreenWindow::want_keyboard(bool wanted) {
  if (!x11_) return;
  x11_->keyboard_wanted = wanted;
  const char byte = 0;
  (void)::write(x11_->wake[1], &byte, 1);
}

}  // namespace ductra::device
