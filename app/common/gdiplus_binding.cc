#include "app/common/gdiplus_binding.h"

#include "app/common/locks.h"

namespace ductra {
namespace {

constexpr const char* kEntries[] = {
    "GdiplusStartup",      "GdiplusShutdown",   "GdipCreateFromHDC", "GdipDeleteGraphics",
    "GdipSetSmoothingMode", "GdipCreatePen1",   "GdipDeletePen",     "GdipDrawLineI",
    "GdipFree",            "GdipAlloc",         "GdipSetPenLineCap197819", "GdipDrawCurveI",
    "GdipDrawBeziersI",    "GdipDrawLinesI",
};

bool has_every_entry(const platform::Library& library) {
  for (const char* entry : kEntries) {
    if (library.entry(entry) == nullptr) return false;
  }
  return true;
}

}  // namespace

GdiplusBinding GdiplusBinding::load(const platform::DeviceRoot& root, const platform::LibraryMap& map) {
  SectionLock lock(gdiplus_lock());
  GdiplusBinding binding;
  if (platform::Library::load(root, map, u"gdiplus", &binding.library_) == platform::Status::ok &&
      !has_every_entry(binding.library_)) {
    binding.library_.close();
  }
  return binding;
}

platform::CriticalSection& gdiplus_lock() {
  static platform::CriticalSection lock;
  return lock;
}

}  // namespace ductra
