#include "engine/foundation/loaded_library.h"

#include <utility>

#include "platform/env.h"

namespace inkrec {

LoadedLibrary::LoadedLibrary(std::string path)
    : path_(std::move(path)), handle_(platform::load_library(path_)) {
  if (handle_ == nullptr) throw Utils::cant_load_library(path_);
}

LoadedLibrary::~LoadedLibrary() { platform::free_library(handle_); }

}  // namespace inkrec
