#include "appplatform/program_map.h"

#include <cstdlib>
#include <system_error>

#include "appplatform/text.h"

namespace ductra::platform {

std::u16string_view device_file_name(std::u16string_view device_path) {
  const std::size_t slash = device_path.find_last_of(u"\\/");
  return slash == device_path.npos ? device_path : device_path.substr(slash + 1);
}

void ProgramMap::add(std::u16string device_path, ProgramKind kind, std::filesystem::path host_program) {
  entries_.push_back(ProgramEntry{std::move(device_path), kind, std::move(host_program)});
}

const ProgramEntry* ProgramMap::find(std::u16string_view program) const {
  const bool bare_name = device_file_name(program).size() == program.size();
  for (const ProgramEntry& entry : entries_) {
    const std::u16string_view key = bare_name ? device_file_name(entry.device_path) : entry.device_path;
    if (equal_ignoring_case(key, program)) return &entry;
  }
  return nullptr;
}

std::filesystem::path application_host_program() {
  if (const char* set = std::getenv("DUCTRA_APPLICATION"); set != nullptr && set[0] != '\0') return set;
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path("Ductra") : self.parent_path() / "Ductra";
}

ProgramMap ProgramMap::standard(const std::filesystem::path& application) {
  ProgramMap map;
  map.add(u"\\Program Files\\Ductra\\Ductra.exe", ProgramKind::executable, application);
  map.add(u"\\Windows\\PegHelp.exe", ProgramKind::opener, "xdg-open");
  map.add(u"\\Windows\\iexplore.exe", ProgramKind::opener, "xdg-open");
  map.add(u"\\Windows\\wceload.exe", ProgramKind::recorder);
  return map;
}

}  // namespace ductra::platform
