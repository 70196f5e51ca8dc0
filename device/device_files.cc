#include "device/device_files.h"

#include <system_error>

namespace ductra::device {
namespace {

std::filesystem::path first_existing(std::initializer_list<std::filesystem::path> candidates) {
  std::error_code error;
  for (const std::filesystem::path& candidate : candidates) {
    if (std::filesystem::exists(candidate, error)) return candidate;
  }
  return *candidates.begin();
}

}  // namespace

DeviceFiles DeviceFiles::beside_this_program() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path prefix = self.parent_path().parent_path();
  DeviceFiles files;
  files.library_dir = first_existing({prefix / DUCTRA_INSTALL_LIBDIR / kComponentLibrary, prefix / "lib" / kComponentLibrary})
                          .parent_path();
  files.data_dir = first_existing({prefix / "share" / "inkrec" / "qlmain.dt", std::filesystem::path(DUCTRA_SOURCE_DATA_DIR) / "qlmain.dt"})
                       .parent_path();
  return files;
}

}  // namespace ductra::device
