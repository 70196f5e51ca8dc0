#include "touchshim/shim.h"

#include <array>
#include <cstring>
#include <string>

#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "touchshim/touch_panel_exports.h"

namespace ductra::tapshim {

namespace {

constexpr std::u16string_view kDriverKey = u"HARDWARE\\DEVICEMAP\\TOUCH";
constexpr std::u16string_view kDriverValue = u"DriverName1";
constexpr std::u16string_view kDefaultDriver = u"touch.dll";
constexpr std::u16string_view kComponentLibrary = u"\\Windows\\Quillpad.dll";
constexpr std::size_t kMaxDriverNameBytes = 512;

std::int32_t touch_sample_hook(std::uint32_t flags, std::int32_t x, std::int32_t y) {
  return Shim::instance().route(flags, x, y);
}

// The driver name stored in the registry, up to its first 0 unit; empty
// when the key, the value or a string of at most 512 bytes is missing.
std::u16string configured_driver_name(const platform::DeviceRoot& root) {
  std::array<std::byte, kMaxDriverNameBytes> bytes{};
  platform::ValueType type = platform::ValueType::none;
  std::uint32_t size = 0;
  const platform::Registry registry(root);
  if (registry.read_value(platform::Hive::local_machine, kDriverKey, kDriverValue, &type, bytes, &size) !=
          platform::Status::ok ||
      (type != platform::ValueType::string && type != platform::ValueType::expand_string)) {
    return {};
  }
  std::u16string name(size / 2, u'\0');
  std::memcpy(name.data(), bytes.data(), name.size() * 2);
  return name.substr(0, name.find(u'\0'));
}

}  // namespace

Shim& Shim::instance() {
  static Shim shim;
  return shim;
}

Shim::Shim() : router_(host_, windows_) {}

bool Shim::open_resources() {
  close_resources(false);
  const platform::DeviceRoot root = platform::DeviceRoot::from_environment();
  platform::RuntimeDir runtime;
  platform::SharedMemory block;
  if (platform::RuntimeDir::for_device(root, &runtime) != platform::Status::ok ||
      platform::SharedMemory::open(runtime, platform::kPenRingName, platform::kPenRingBytes, &block) !=
          platform::Status::ok) {
    return false;
  }
  const platform::PenRing ring(block.bytes());
  ring.initialize();
  if (!real_driver_.is_loaded() && !load_touch_driver(root)) return false;
  driver_.set_entries(resolve_driver_entries([this](const char* name) { return real_driver_.entry(name); }));
  platform::Library::load(root, platform::LibraryMap::standard(), kComponentLibrary, &component_);
  host_.set_runtime(runtime);
  ring_block_ = std::move(block);
  router_.set_ring(ring);
  return true;
}

void Shim::close_resources(bool full_release) {
  if (full_release) driver_.disable();
  router_.set_ring(platform::PenRing());
  ring_block_.close();
  if (full_release) {
    driver_.forget_entries();
    real_driver_.close();
  }
  component_.close();
}

std::int32_t Shim::enable(SampleCallback system_callback) {
  host_.set_system_callback(system_callback);
  return driver_.enable(&touch_sample_hook);
}

bool Shim::load_touch_driver(const platform::DeviceRoot& root) {
  const std::u16string configured = configured_driver_name(root);
  return (!configured.empty() && load_driver_named(root, configured)) || load_driver_named(root, kDefaultDriver);
}

// A driver whose entries are the shim's own would forward every call to
// itself for ever: it is refused.
bool Shim::load_driver_named(const platform::DeviceRoot& root, std::u16string_view name) {
  platform::Library driver;
  if (platform::Library::load(root, platform::LibraryMap::standard(), name, &driver) != platform::Status::ok) {
    return false;
  }
  if (driver.entry("TouchPanelEnable") == reinterpret_cast<void*>(&TouchPanelEnable)) return false;
  real_driver_ = std::move(driver);
  return true;
}

}  // namespace ductra::tapshim
