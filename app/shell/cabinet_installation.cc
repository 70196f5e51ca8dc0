#include "app/shell/cabinet_installation.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "appplatform/launcher.h"
#include "appplatform/process.h"
#include "appplatform/text.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

constexpr std::streamoff kCabinetSizeOffset = 8;
constexpr int kLastTrimmingVersion = 4;

bool read_declared_size(const std::filesystem::path& file, std::uint32_t* size) {
  std::ifstream in(file, std::ios::binary);
  std::array<unsigned char, 4> bytes{};
  if (!in.seekg(kCabinetSizeOffset) || !in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) return false;
  *size = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

void delete_file(const platform::DeviceRoot& root, std::u16string_view device_path) {
  std::filesystem::path file;
  std::error_code ignored;
  if (root.to_host(device_path, &file) == platform::Status::ok) std::filesystem::remove(file, ignored);
}

}  // namespace

bool cab_already_installed(const platform::Registry& registry) {
  std::uint32_t installed = 0;
  return registry.read_dword(platform::Hive::local_machine, kUtilitiesKey, kUtilitiesInstalledValue, &installed) ==
             platform::Status::ok &&
         installed != 0;
}

bool trim_cab(const platform::DeviceRoot& root, std::u16string_view device_path) {
  std::filesystem::path file;
  if (root.to_host(device_path, &file) != platform::Status::ok) return false;
  std::error_code error;
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, error);
  if (error) return false;
  std::uint32_t declared = 0;
  if (!read_declared_size(file, &declared)) return false;
  const std::uintmax_t actual = std::filesystem::file_size(file, error);
  if (error) return false;
  if (declared < actual) std::filesystem::resize_file(file, declared, error);
  return !error;
}

void wait_for_installer(const platform::DeviceRoot& root) {
  for (const platform::RunningProgram& program : platform::running_programs(root)) {
    if (!platform::equal_ignoring_case(program.name, kInstallerProgram)) continue;
    platform::Process process;
    if (platform::Process::open(program.pid, &process) == platform::Status::ok) process.wait(platform::kInfinite);
    return;
  }
}

void install_cab(const CabinetPlatform& platform, std::u16string_view device_path) {
  if (cab_already_installed(platform.registry)) {
    delete_file(platform.root, device_path);
    return;
  }
  if (platform.os_major_version <= kLastTrimmingVersion && !trim_cab(platform.root, device_path)) return;
  wait_for_installer(platform.root);
  const std::u16string parameters = u" /noui \"" + std::u16string(device_path) + u"\" ";
  platform::Process installer;
  if (platform::start_program(platform.root, platform.programs, kInstallerProgram, parameters, &installer) ==
      platform::Status::ok) {
    installer.wait(platform::kInfinite);
  }
}

}  // namespace ductra
