#include "inputpanel/application_starter.h"

#include <memory>

#include "appplatform/component_protocol.h"
#include "appplatform/install_dir.h"
#include "appplatform/launcher.h"
#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_event.h"
#include "appplatform/wait.h"

namespace ductra::quillpad {
namespace {

constexpr std::u16string_view kApplicationFile = u"Ductra.exe";
constexpr std::u16string_view kStartCommandLine = u"start";

std::u16string application_path(const platform::DeviceRoot& root) {
  const platform::Registry registry(root);
  registry.create_key(platform::Hive::local_machine, platform::kInstallKey);
  return platform::install_dir_path(registry, kApplicationFile);
}

bool wait_for_window_created(const platform::DeviceRoot& root, std::uint32_t timeout_ms) {
  platform::RuntimeDir runtime;
  if (platform::RuntimeDir::for_device(root, &runtime) != platform::Status::ok) return false;
  std::unique_ptr<platform::SharedEvent> created;
  const platform::Status status = platform::SharedEvent::create(runtime, platform::kWindowCreatedEvent,
                                                                platform::EventReset::automatic, false, &created);
  if (status != platform::Status::ok && status != platform::Status::already_exists) return false;
  return platform::wait_for(*created, timeout_ms).signalled();
}

}  // namespace

platform::WindowHandle find_shell_window(platform::WindowSystem& windows) {
  const platform::WindowHandle shell = windows.find_window(platform::kShellWindowClass, platform::kShellWindowTitle);
  return shell && windows.is_window(shell) ? shell : platform::WindowHandle{};
}

bool start_application(const ComponentDevice& device, platform::Process& process) {
  platform::Process started;
  if (platform::start_program(device.root, device.programs, application_path(device.root), kStartCommandLine,
                              &started) != platform::Status::ok) {
    return false;
  }
  process = std::move(started);
  return wait_for_window_created(device.root, device.start_timeout_ms);
}

platform::WindowHandle find_or_start_application(platform::WindowSystem& windows, const ComponentDevice& device,
                                                 platform::Process& process) {
  if (const platform::WindowHandle shell = find_shell_window(windows)) return shell;
  if (!start_application(device, process)) return {};
  return find_shell_window(windows);
}

}  // namespace ductra::quillpad
