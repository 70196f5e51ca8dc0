// LoadedLibrary: a shared library held open for the holder's lifetime.
// The only exception the engine's own code throws is cant_load_library,
// when the library cannot be loaded.
#pragma once

#include <stdexcept>
#include <string>

namespace inkrec {
namespace Utils {

class cant_load_library : public std::runtime_error {
 public:
  explicit cant_load_library(const std::string& path) : std::runtime_error(path), path_(path) {}
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace Utils

class LoadedLibrary {
 public:
  // Loads the library; throws Utils::cant_load_library with the path.
  explicit LoadedLibrary(std::string path);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  const std::string& path() const { return path_; }
  void* handle() const { return handle_; }

 private:
  std::string path_;
  void* handle_;
};

}  // namespace inkrec
