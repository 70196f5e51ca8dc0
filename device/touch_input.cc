#include "device/touch_input.h"

#include <atomic>

#include "touchshim/tapshim.h"

namespace ductra::device {
namespace {

constexpr std::uint32_t kDown = 0x2;
constexpr std::uint32_t kWasDown = 0x8;

std::atomic<platform::WindowServer*> pointer_target{nullptr};

// The platform's side of the touch driver: a sample the shim passes on.
std::int32_t pass_sample_on(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  platform::WindowServer* server = pointer_target.load();
  if (server == nullptr) return 0;
  const bool down = (flags & kDown) != 0;
  const bool was_down = (flags & kWasDown) != 0;
  if (!down && !was_down) return 1;
  const platform::PointerAction action = !down ? platform::PointerAction::up
                                         : was_down ? platform::PointerAction::move
                                                    : platform::PointerAction::down;
  server->pointer_input(action, platform::Point{x >> 2, y >> 2});
  return 1;
}

template <typename Function>
Function* entry(const platform::Library& library, const char* name) {
  return reinterpret_cast<Function*>(library.entry(name));
}

}  // namespace

TouchInput::~TouchInput() {
  if (enabled_) entry<decltype(TouchPanelDisable)>(shim_, "TouchPanelDisable")();
  if (attached_) entry<decltype(TouchPanelDllEntry)>(shim_, "TouchPanelDllEntry")(nullptr, tapshim::kProcessDetach, nullptr);
  pointer_target = nullptr;
}

bool TouchInput::start(const platform::DeviceRoot& root, const std::filesystem::path& shim,
                       platform::WindowServer& server, std::string* error) {
  platform::LibraryMap map;
  map.add(u"tapshim.dll", shim);
  if (platform::Library::load(root, map, u"tapshim.dll", &shim_) != platform::Status::ok) {
    *error = "cannot load the touch shim " + shim.string();
    return false;
  }
  auto* attach = entry<decltype(TouchPanelDllEntry)>(shim_, "TouchPanelDllEntry");
  auto* enable = entry<decltype(TouchPanelEnable)>(shim_, "TouchPanelEnable");
  if (attach == nullptr || enable == nullptr || attach(nullptr, tapshim::kProcessAttach, nullptr) == 0) {
    *error = "the touch shim found no touch driver";
    return false;
  }
  attached_ = true;
  pointer_target = &server;
  enabled_ = enable(&pass_sample_on) != 0;
  if (!enabled_) *error = "the touch driver cannot be enabled";
  return enabled_;
}

}  // namespace ductra::device
