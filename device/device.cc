#include "device/device.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

#include "appplatform/alive_marker.h"
#include "appplatform/com/input_panel_manager.h"
#include "appplatform/component_protocol.h"
#include "appplatform/device_socket.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/shared_screen.h"
#include "appplatform/launcher.h"
#include "appplatform/library.h"
#include "appplatform/pen_ring.h"
#include "appplatform/shared_memory.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/text.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "device/desktop_front_end.h"
#include "device/desktop_keyboard.h"
#include "device/device_files.h"
#include "device/device_setup.h"
#include "device/pen_pipe.h"
#include "device/printed_text.h"
#include "device/sample_replay.h"
#include "device/touch_input.h"
#include "device/typed_result.h"

namespace ductra::device {
namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kPanelTop = 268;
constexpr std::u16string_view kDeviceMarker = u"ductra-device";
// After a sample is written: the pen, the pen time-out (at most 3 s), the
// recognition (which the application's watchdog ends after 15 s) and the
// typing, with room for a loaded machine.
constexpr std::uint32_t kResultLimitMs = 60000;
// Before the first sample the application also starts and loads its data.
constexpr std::uint32_t kReadyLimitMs = 60000;
// The replay driver opens its pipe as the touch shim starts, before the
// application does.
constexpr std::uint32_t kPipeLimitMs = 10000;
constexpr std::chrono::milliseconds kApplicationEndWait{5000};

int fail(const std::string& reason) {
  std::fprintf(stderr, "ductra-device: %s\n", reason.c_str());
  return 1;
}

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// Writes each sample to the replay driver's pipe and prints the text typed
// for it, one line per sample. A sample is written once the application,
// switched on, waits for the pen (so no stroke is lost while it starts or
// recognises the sample before: its capture words say "ready" from the
// moment it opens the ring, before it takes up its configuration, and a
// stroke begun then loses its start), and its line is printed once the
// application has typed the whole result (typed_result.h). What goes wrong is said on standard
// error: text typed outside any sample's result (kept there, not dropped),
// a sample the application was not ready for, a result that did not come.
// False when anything went wrong.
bool write_samples(std::istream& input, const std::filesystem::path& pipe, const platform::RuntimeDir& runtime,
                   PrintedText& typed) {
  platform::SharedMemory ring_block;
  if (platform::SharedMemory::open(runtime, platform::kPenRingName, platform::kPenRingWithTailBytes, &ring_block) !=
      platform::Status::ok) {
    fail("cannot open the pen ring");
    return false;
  }
  const platform::PenRing ring(ring_block.bytes());
  PenPipe pen;
  if (!pen.open(pipe, kPipeLimitMs)) {
    fail("the replay driver did not open its pipe within " + std::to_string(kPipeLimitMs / 1000) + " s");
    return false;
  }
  bool all_typed = true;
  std::size_t line_number = 0;
  for (std::string line; std::getline(input, line);) {
    ++line_number;
    const std::optional<WrittenSample> sample = written_sample(line, WritingBox{});
    if (!sample) continue;
    const std::string where = "line " + std::to_string(line_number) + " (" + sample->label + ")";
    if (!wait_until_ready_for_pen(ring, kReadyLimitMs)) {
      fail("the application did not wait for the pen before " + where + " (" + pen_state(ring, 0) + ")");
      all_typed = false;
    }
    const std::u16string stray = typed.take_line();
    if (!stray.empty()) fail("typed outside a sample's result, before " + where + ": " + platform::to_utf8(stray));
    const std::uint32_t awaited_before = pen_awaited(ring);
    if (!pen.write(replay_text(*sample))) {
      fail("the replay driver stopped reading its pipe at " + where);
      return false;
    }
    const std::uint32_t playing_ms = playing_time(*sample);
    const TypedResult result =
        wait_for_typed_result(ring, typed, awaited_before, playing_ms, playing_ms + kResultLimitMs);
    if (!result.complete) {
      fail("no whole result for " + where + " within " + std::to_string(kResultLimitMs / 1000) +
           " s after its pen (" + pen_state(ring, awaited_before) + "); printed what came");
      all_typed = false;
    }
    std::printf("%s\n", platform::to_utf8(result.text).c_str());
    std::fflush(stdout);
  }
  return all_typed;
}

void wait_for_termination() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  int signal = 0;
  sigwait(&signals, &signal);
}

// Blocks the termination signals in every thread made from here on, so
// wait_for_termination takes them.
void block_termination_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

}  // namespace

int run_device(const DeviceOptions& options) {
  block_termination_signals();
  const bool on_desktop = !options.headless && desktop_is_available();
  // The pen: the pointer over the window on the desktop, else the replay.
  const char* touch_driver = on_desktop && !options.replay ? kPointerDriverLibrary : kReplayDriverLibrary;
  std::ifstream replay_input;
  if (options.replay) {
    replay_input.open(*options.replay);
    if (!replay_input) return fail("cannot read " + options.replay->string());
  }
  const platform::DeviceRoot root = platform::DeviceRoot::from_environment();
  ::setenv("DUCTRA_DEVICE_ROOT", root.host().c_str(), 1);  // the shim, component and application use it
  const DeviceFiles files = DeviceFiles::beside_this_program();
  std::string error;
  if (!set_up_device_root(root, files, touch_driver, kDesktopKeyboardClassId, &error)) return fail(error);
  platform::RuntimeDir runtime;
  if (platform::RuntimeDir::for_device(root, &runtime) != platform::Status::ok) return fail("no runtime folder");
  platform::AliveMarker instance;
  if (platform::AliveMarker::hold(runtime, kDeviceMarker, &instance) != platform::Status::ok) {
    return fail("another device runs on " + root.host().string());
  }

  std::shared_ptr<platform::Bitmap> screen;
  if (platform::create_shared_screen(runtime, kScreenWidth, kScreenHeight, &screen) != platform::Status::ok) {
    return fail("cannot make the screen's shared memory");
  }
  platform::set_display(screen);
  platform::WindowServer server(kScreenWidth, kScreenHeight);
  server.set_work_area({0, 0, kScreenWidth, kPanelTop});
  if (!server.listen(platform::window_server_socket(runtime))) return fail("cannot open the window server's socket");
  platform::WindowSystem system(server);

  const std::filesystem::path pipe = runtime.path() / "replay-pipe";
  ::unlink(pipe.c_str());
  if (options.replay) {
    if (::mkfifo(pipe.c_str(), 0600) != 0) return fail("cannot make the replay pipe");
    // A driver that stops reading fails the write (reported), not the device.
    ::signal(SIGPIPE, SIG_IGN);
    ::setenv("DUCTRA_REPLAY_FILE", pipe.c_str(), 1);
  } else {
    ::setenv("DUCTRA_REPLAY_FILE", "/dev/null", 1);
  }

  PrintedText printed;
  DesktopFrontEnd desktop;
  if (on_desktop && !desktop.open(server, screen, &error)) return fail(error);
  platform::KeySink& sink = on_desktop ? static_cast<platform::KeySink&>(desktop.typing()) : printed;
  PrintedText& typed = on_desktop ? desktop.typing().typed() : printed;
  platform::Library component;
  if (platform::Library::load(root, platform::LibraryMap::standard(), u"\\Windows\\Quillpad.dll", &component) !=
      platform::Status::ok) {
    return fail("cannot load the input-panel component");
  }
  int exit_code = 0;
  {
    auto manager = std::make_unique<platform::InputPanelManager>(
        sink, platform::Rect{0, kPanelTop, kScreenWidth, kScreenHeight});
    manager->register_input_method({kDesktopKeyboardClassId, u"Keyboard", &desktop_keyboard_class_object});
    manager->register_input_method(
        {platform::kQuillpadClassId, u"Ductra",
         reinterpret_cast<platform::GetClassObjectFunction>(component.entry("DllGetClassObject"))});
    manager->set_current(kDesktopKeyboardClassId);
    manager->show(true);
    TouchInput touch;
    if (!touch.start(root, files.library(kShimLibrary), server, &error)) {
      exit_code = fail(error);
    } else if (!manager->set_current(platform::kQuillpadClassId) ||
               !system.find_window(platform::kShellWindowClass, platform::kShellWindowTitle)) {
      exit_code = fail("the application did not start");
    } else if (options.replay) {
      if (!write_samples(replay_input, pipe, runtime, typed)) exit_code = 1;
    } else {
      wait_for_termination();
    }
    manager->set_current(kDesktopKeyboardClassId);
    wait_until([&] { return platform::running_programs(root).empty(); }, kApplicationEndWait);
    manager.reset();
  }
  ::unlink(pipe.c_str());
  return exit_code;
}

}  // namespace ductra::device
