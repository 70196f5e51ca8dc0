#include "app/program/run_ductra.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/program/product_environment.h"
#include "appplatform/device_socket.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/shared_screen.h"
#include "appplatform/window_client.h"

namespace ductra {
namespace {

constexpr char kEngineLibrary[] = "libinkrec.so";

// The engine beside the program as installed (../<libdir>), else the
// build's engine, else wherever the system's loader finds it. Found here
// by path: a loader under a sanitizer does not search the program's own
// library path.
std::filesystem::path engine_library() {
  std::error_code error;
  const std::filesystem::path prefix = std::filesystem::read_symlink("/proc/self/exe", error).parent_path().parent_path();
  for (const std::filesystem::path& candidate :
       {prefix / DUCTRA_INSTALL_LIBDIR / kEngineLibrary, std::filesystem::path(DUCTRA_BUILD_ENGINE)}) {
    if (std::filesystem::exists(candidate, error)) return candidate;
  }
  return kEngineLibrary;
}

// Draws on the device's framebuffer; without it the application runs but
// its ink and windows are not seen.
void show_on_device_screen(const platform::RuntimeDir& runtime) {
  std::shared_ptr<platform::Bitmap> screen;
  if (platform::open_shared_screen(runtime, &screen) == platform::Status::ok) {
    platform::set_display(std::move(screen));
  } else {
    std::fprintf(stderr, "Ductra: the device's screen cannot be opened\n");
  }
}

}  // namespace

int run_ductra(std::u16string_view command_line) {
  const platform::DeviceRoot root = platform::DeviceRoot::from_environment();
  platform::RuntimeDir runtime;
  if (platform::RuntimeDir::for_device(root, &runtime) != platform::Status::ok) {
    std::fprintf(stderr, "Ductra: no runtime folder for the device at %s\n", root.host().c_str());
    return kExitNotStarted;
  }
  platform::WindowClient client;
  if (!client.connect(platform::window_server_socket(runtime))) {
    std::fprintf(stderr, "Ductra: no device runs at %s (start ductra-device first)\n", root.host().c_str());
    return kExitNotStarted;
  }
  platform::WindowSystem windows(client);
  show_on_device_screen(runtime);
  std::string error;
  const std::unique_ptr<EngineLibrary> library = EngineLibrary::open(engine_library(), &error);
  if (!library) {
    std::fprintf(stderr, "Ductra: the engine cannot be loaded: %s\n", error.c_str());
    return kExitNotStarted;
  }
  Engine engine(*library);
  ProductEnvironment environment(windows, root, runtime, engine);
  return ductra_main(command_line, environment);
}

}  // namespace ductra
