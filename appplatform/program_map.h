// Which host program stands for each program of the device. A device
// program is looked up by its full device path or by its file name alone,
// without regard to case ("PegHelp.exe" finds "\Windows\PegHelp.exe").
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ductra::platform {

enum class ProgramKind {
  executable,  // the host program runs with the parameters as its one argument
  opener,      // the host program opens the page or file named by the parameters
  recorder,    // the request is recorded (request_log.h); nothing runs
};

struct ProgramEntry {
  std::u16string device_path;
  ProgramKind kind = ProgramKind::recorder;
  std::filesystem::path host_program;
};

class ProgramMap {
 public:
  void add(std::u16string device_path, ProgramKind kind, std::filesystem::path host_program = {});
  const ProgramEntry* find(std::u16string_view program) const;

  // The device's own map: "\Program Files\Ductra\Ductra.exe" runs
  // `application`; "\Windows\PegHelp.exe" (help) and "\Windows\iexplore.exe"
  // (web pages) open through xdg-open; "\Windows\wceload.exe" (the cabinet
  // installer) is recorded.
  static ProgramMap standard(const std::filesystem::path& application);

 private:
  std::vector<ProgramEntry> entries_;
};

// The host program of the application on this device: $DUCTRA_APPLICATION,
// else "Ductra" in the folder of the running program (they are installed
// side by side).
std::filesystem::path application_host_program();

// The file name of a device path: what follows its last '\'.
std::u16string_view device_file_name(std::u16string_view device_path);

}  // namespace ductra::platform
