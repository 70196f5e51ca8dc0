// The outcome of a platform call. Calls report what went wrong through one
// of these values and never throw.
#pragma once

namespace ductra::platform {

enum class Status {
  ok,
  not_found,         // no such file, key, value, object or program
  already_exists,    // the object was there before this call
  more_data,         // the caller's buffer is too small; the size says how much is needed
  invalid_argument,  // a malformed name, path or size
  access_denied,     // the host refused, or a folder is not ours
  corrupt,           // a stored file cannot be read back; it is left as it is
  timeout,           // a wait ended before the object was signalled
  io_error,          // any other failure of the host
};

}  // namespace ductra::platform
