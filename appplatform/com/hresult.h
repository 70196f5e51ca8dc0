// The status codes of component calls: zero or positive is success (S_FALSE
// a success that did nothing), negative is failure.
#pragma once

#include <cstdint>

namespace ductra::platform {

using HResult = std::int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
inline constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
inline constexpr HResult CLASS_E_NOAGGREGATION = static_cast<HResult>(0x80040110u);
inline constexpr HResult CLASS_E_CLASSNOTAVAILABLE = static_cast<HResult>(0x80040111u);
inline constexpr HResult CO_E_CLASSSTRING = static_cast<HResult>(0x800401F3u);

constexpr bool succeeded(HResult h) { return h >= 0; }
constexpr bool failed(HResult h) { return h < 0; }

}  // namespace ductra::platform
