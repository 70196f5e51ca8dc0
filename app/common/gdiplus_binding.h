// The optional GDI+ library and the process-wide lock over its use.
//
// The binding is made once at start-up: "gdiplus" is loaded through the
// library map and counts as available only when it has every entry point
// the drawing code may call; otherwise it is unloaded at once. On this
// device the map says there is no such library, so it is never available
// and nothing draws through it.
#pragma once

#include "appplatform/critical_section.h"
#include "appplatform/device_root.h"
#include "appplatform/library.h"

namespace ductra {

class GdiplusBinding {
 public:
  static GdiplusBinding load(const platform::DeviceRoot& root, const platform::LibraryMap& map);

  bool available() const { return library_.is_loaded(); }

 private:
  platform::Library library_;
};

// Serialises every use of the binding; lives for the whole process.
platform::CriticalSection& gdiplus_lock();

}  // namespace ductra
