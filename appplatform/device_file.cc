#include "appplatform/device_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "appplatform/text.h"

namespace ductra::platform {
namespace {

Status status_of_errno() {
  switch (errno) {
    case ENOENT:
    case ENOTDIR:
      return Status::not_found;
    case EEXIST:
      return Status::already_exists;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return Status::access_denied;
    case EINVAL:
    case ENAMETOOLONG:
      return Status::invalid_argument;
    default:
      return Status::io_error;
  }
}

int open_flags(FileAccess access, FileDisposition disposition) {
  int flags = O_CLOEXEC;
  flags |= access == FileAccess::read ? O_RDONLY : access == FileAccess::write ? O_WRONLY : O_RDWR;
  switch (disposition) {
    case FileDisposition::create_new:
      return flags | O_CREAT | O_EXCL;
    case FileDisposition::create_always:
      return flags | O_CREAT | O_TRUNC;
    case FileDisposition::open_existing:
      return flags;
    case FileDisposition::open_always:
      return flags | O_CREAT;
    case FileDisposition::truncate_existing:
      return flags | O_TRUNC;
  }
  return flags;
}

}  // namespace

DeviceFile::DeviceFile(DeviceFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DeviceFile& DeviceFile::operator=(DeviceFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

Status DeviceFile::open(const DeviceRoot& root, std::u16string_view path, FileAccess access,
                        FileDisposition disposition, DeviceFile* out) {
  std::filesystem::path host;
  if (const Status status = root.to_host(path, &host); status != Status::ok) return status;
  if (disposition == FileDisposition::truncate_existing && access == FileAccess::read) {
    return Status::invalid_argument;  // emptying a file needs write access
  }
  out->close();
  const int fd = ::open(host.c_str(), open_flags(access, disposition), 0644);
  if (fd < 0) return status_of_errno();
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Status::access_denied;
  }
  out->fd_ = fd;
  return Status::ok;
}

Status DeviceFile::read(std::span<std::byte> buffer, std::size_t* done) {
  *done = 0;
  while (*done < buffer.size()) {
    const ssize_t n = ::read(fd_, buffer.data() + *done, buffer.size() - *done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return status_of_errno();
    if (n == 0) break;
    *done += static_cast<std::size_t>(n);
  }
  return Status::ok;
}

Status DeviceFile::write(std::span<const std::byte> data, std::size_t* done) {
  *done = 0;
  while (*done < data.size()) {
    const ssize_t n = ::write(fd_, data.data() + *done, data.size() - *done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return status_of_errno();
    *done += static_cast<std::size_t>(n);
  }
  return Status::ok;
}

Status DeviceFile::seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) {
  const int whence = origin == SeekOrigin::begin ? SEEK_SET : origin == SeekOrigin::current ? SEEK_CUR : SEEK_END;
  const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (at < 0) return status_of_errno();
  if (position != nullptr) *position = static_cast<std::uint64_t>(at);
  return Status::ok;
}

Status DeviceFile::set_end() {
  const off_t at = ::lseek(fd_, 0, SEEK_CUR);
  if (at < 0 || ::ftruncate(fd_, at) != 0) return status_of_errno();
  return Status::ok;
}

Status DeviceFile::size(std::uint64_t* bytes) const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return status_of_errno();
  *bytes = static_cast<std::uint64_t>(info.st_size);
  return Status::ok;
}

void DeviceFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Status file_attributes(const DeviceRoot& root, std::u16string_view path, FileAttributes* attributes) {
  std::filesystem::path host;
  if (const Status status = root.to_host(path, &host); status != Status::ok) return status;
  struct stat info {};
  if (::stat(host.c_str(), &info) != 0) return status_of_errno();
  attributes->directory = S_ISDIR(info.st_mode);
  attributes->read_only = (info.st_mode & S_IWUSR) == 0;
  return Status::ok;
}

Status set_normal_attributes(const DeviceRoot& root, std::u16string_view path) {
  std::filesystem::path host;
  if (const Status status = root.to_host(path, &host); status != Status::ok) return status;
  struct stat info {};
  if (::stat(host.c_str(), &info) != 0) return status_of_errno();
  if (::chmod(host.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR) != 0) return status_of_errno();
  return Status::ok;
}

Status delete_file(const DeviceRoot& root, std::u16string_view path) {
  std::filesystem::path host;
  if (const Status status = root.to_host(path, &host); status != Status::ok) return status;
  if (::unlink(host.c_str()) != 0) return status_of_errno();
  return Status::ok;
}

std::u16string_view startup_folder() { return u"\\Windows\\StartUp"; }

std::u16string module_device_path() {
  if (const char* launched = std::getenv("DUCTRA_DEVICE_PROGRAM"); launched != nullptr && launched[0] == '\\') {
    return to_utf16(launched);
  }
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return u"\\Program Files\\Ductra\\" + to_utf16(self.filename().string());
}

}  // namespace ductra::platform
