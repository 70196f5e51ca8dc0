#include "appplatform/registry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "appplatform/file_lock.h"
#include "appplatform/registry_tree.h"

namespace ductra::platform {
namespace {

constexpr std::size_t kLongestName = 16383;
constexpr std::size_t kLargestValue = 1 << 20;

// The tree stored in `file`; an empty tree when there is no file yet.
Status load(const std::filesystem::path& file, RegistryTree* tree) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Status::ok : Status::access_denied;
  std::string text;
  char chunk[8192];
  ssize_t n;
  while ((n = ::read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (n < 0) return Status::io_error;
  return tree->parse(text) ? Status::ok : Status::corrupt;
}

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes the tree beside the file and puts it in the file's place in one
// step, so a reader sees either the old registry or the new one.
Status store(const std::filesystem::path& file, const RegistryTree& tree) {
  const std::filesystem::path temporary = file.string() + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return Status::access_denied;
  const bool written = write_all(fd, tree.format()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return Status::io_error;
  }
  return Status::ok;
}

bool is_string_type(ValueType type) {
  return type == ValueType::string || type == ValueType::expand_string || type == ValueType::multi_string;
}

// Completes stored string data with the 0 units a reader relies on.
void terminate_string(ValueType type, std::vector<std::byte>* data) {
  if (data->size() % 2 != 0) data->push_back(std::byte{0});
  const auto unit_is_zero = [data](std::size_t from_end) {
    const std::size_t at = data->size() - 2 * from_end;
    return (*data)[at] == std::byte{0} && (*data)[at + 1] == std::byte{0};
  };
  const std::size_t wanted = type == ValueType::multi_string ? 2 : 1;
  std::size_t present = 0;
  while (present < wanted && present < data->size() / 2 && unit_is_zero(present + 1)) ++present;
  data->resize(data->size() + 2 * (wanted - present), std::byte{0});
}

}  // namespace

Registry::Registry(const DeviceRoot& root)
    : file_(root.host() / "registry.txt"), lock_(root.host() / "registry.lock") {}

Status Registry::create_key(Hive hive, std::u16string_view key) const {
  std::u16string normal;
  if (!RegistryTree::normalise_path(key, &normal)) return Status::invalid_argument;
  const FileLock lock(lock_);
  if (!lock.locked()) return Status::access_denied;
  RegistryTree tree;
  if (const Status status = load(file_, &tree); status != Status::ok) return status;
  if (tree.find_key(hive, normal) != nullptr) return Status::ok;
  tree.make_key(hive, normal);
  return store(file_, tree);
}

bool Registry::key_exists(Hive hive, std::u16string_view key) const {
  RegistryTree tree;
  return load(file_, &tree) == Status::ok && tree.find_key(hive, key) != nullptr;
}

Status Registry::read_value(Hive hive, std::u16string_view key, std::u16string_view name, ValueType* type,
                            std::span<std::byte> buffer, std::uint32_t* size) const {
  RegistryTree tree;
  if (const Status status = load(file_, &tree); status != Status::ok) return status;
  const RegistryTree::Key* found_key = tree.find_key(hive, key);
  const RegistryTree::Value* value = found_key == nullptr ? nullptr : RegistryTree::find_value(*found_key, name);
  if (value == nullptr) return Status::not_found;
  const auto value_type = static_cast<ValueType>(value->type);
  std::vector<std::byte> data = value->data;
  if (is_string_type(value_type)) terminate_string(value_type, &data);
  if (type != nullptr) *type = value_type;
  *size = static_cast<std::uint32_t>(data.size());
  if (buffer.data() == nullptr) return Status::ok;
  if (buffer.size() < data.size()) return Status::more_data;
  std::copy(data.begin(), data.end(), buffer.begin());
  return Status::ok;
}

Status Registry::write_value(Hive hive, std::u16string_view key, std::u16string_view name, ValueType type,
                             std::span<const std::byte> data) const {
  if (name.size() > kLongestName || name.find(u'\0') != name.npos || data.size() > kLargestValue) {
    return Status::invalid_argument;
  }
  const FileLock lock(lock_);
  if (!lock.locked()) return Status::access_denied;
  RegistryTree tree;
  if (const Status status = load(file_, &tree); status != Status::ok) return status;
  if (tree.find_key(hive, key) == nullptr) return Status::not_found;
  RegistryTree::Key* stored = tree.make_key(hive, key);
  if (stored == nullptr) return Status::invalid_argument;
  RegistryTree::set_value(*stored, name, static_cast<std::uint32_t>(type), {data.begin(), data.end()});
  return store(file_, tree);
}

Status Registry::read_dword(Hive hive, std::u16string_view key, std::u16string_view name,
                            std::uint32_t* value) const {
  std::byte bytes[4];
  std::uint32_t size = 0;
  const Status status = read_value(hive, key, name, nullptr, bytes, &size);
  if (status != Status::ok) return status;
  if (size != sizeof bytes) return Status::invalid_argument;
  std::memcpy(value, bytes, sizeof bytes);
  return Status::ok;
}

Status Registry::write_dword(Hive hive, std::u16string_view key, std::u16string_view name,
                             std::uint32_t value) const {
  std::byte bytes[4];
  std::memcpy(bytes, &value, sizeof bytes);
  return write_value(hive, key, name, ValueType::dword, bytes);
}

}  // namespace ductra::platform
