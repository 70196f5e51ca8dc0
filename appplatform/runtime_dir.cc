#include "appplatform/runtime_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ductra::platform {
namespace {

constexpr std::size_t kLongestFileName = 200;

std::uint64_t fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string hex64(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

bool is_directory(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

std::filesystem::path base_folder(std::string* prefix) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && is_directory(runtime)) return runtime;
  *prefix += std::to_string(::geteuid()) + "-";
  if (is_directory("/dev/shm")) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

// True when `path` is a folder (not a link) of this user that nobody else
// may enter.
bool is_private_folder(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & 077) == 0;
}

}  // namespace

Status RuntimeDir::for_device(const DeviceRoot& root, RuntimeDir* out) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::weakly_canonical(std::filesystem::absolute(root.host(), error), error);
  if (error) absolute = root.host();
  std::string prefix = "ductra-";
  const std::filesystem::path base = base_folder(&prefix);
  std::filesystem::path folder = base / (prefix + hex64(fnv1a(absolute.string())));
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return Status::access_denied;
  if (!is_private_folder(folder)) return Status::access_denied;
  *out = RuntimeDir(std::move(folder));
  return Status::ok;
}

std::filesystem::path RuntimeDir::object_path(std::string_view kind, std::u16string_view name) const {
  std::string file(kind);
  file += '-';
  for (const char16_t unit : name) {
    const bool plain = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                       (unit >= u'0' && unit <= u'9') || unit == u'-';
    char spelled[8];
    if (plain) {
      file += static_cast<char>(unit);
    } else if (unit < 0x80) {
      std::snprintf(spelled, sizeof spelled, "_%02X", static_cast<unsigned>(unit));
      file += spelled;
    } else {
      std::snprintf(spelled, sizeof spelled, "_u%04X", static_cast<unsigned>(unit));
      file += spelled;
    }
  }
  if (file.size() > kLongestFileName) {
    const std::string_view units(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(char16_t));
    file = std::string(kind) + "-h" + hex64(fnv1a(units));
  }
  return path_ / file;
}

int open_runtime_file(const std::filesystem::path& path, bool* created) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  *created = fd >= 0;
  if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  return fd;
}

}  // namespace ductra::platform
