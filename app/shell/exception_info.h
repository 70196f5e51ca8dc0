// An engine error as the application reports it: the operation that met it
// and the engine's status.
#pragma once

namespace ductra {

struct ExceptionInfo {
  const char16_t* where = u"";
  int code = 0;
};

}  // namespace ductra
