// The outcome of a platform call. Calls report what went wrong through one
// of these values and never throw.
#pragma once

namespace ductra::platform {

enum class Status {
  kOk,
  kNotFound,         // no such file, key, value, object or program
  kAlreadyExists,    // the object was there before this call
  kMoreData,         // the caller's buffer is too small; the size says how much is needed
  kInvalidArgument,  // a malformed name, path or size
  kAccessDenied,     // the host refused, or a folder is not ours
  kCorrupt,          // a stored file cannot be read back; it is left as it is
  kTimeout,          // a wait ended before the object was signalled
  kIoError,          // any other failure of the host
};

}  // namespace ductra::platform
