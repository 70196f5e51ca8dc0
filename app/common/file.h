// A stdio stream on a device file, owned: opened from a UTF-16 device path
// and a UTF-16 mode, closed when the File goes.
//
// The mode is one of "r", "w", "a", each optionally followed by "+" and/or
// "b" (in either order); any other mode, a path that does not map under
// the device root, or a failed open leave handle() null.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "appplatform/device_root.h"

namespace ductra {

class File {
 public:
  File(const platform::DeviceRoot& root, std::u16string_view device_path, std::u16string_view mode);

  std::FILE* handle() const { return stream_.get(); }

 private:
  struct Closer {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  std::unique_ptr<std::FILE, Closer> stream_;
};

}  // namespace ductra
