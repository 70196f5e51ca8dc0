// Path and string helpers of the file layer. Paths are UTF-16; both the
// backslash and the slash separate folders.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace inkrec {

// Units replace_file_name may append after the kept directory part.
inline constexpr std::size_t kMaxAppendedName = 260;

// Keeps `path` up to and including its last separator (a path without one
// stays whole), then appends `name` (unless null) without one leading
// separator, at most 260 units, and terminates. The buffer must hold the
// kept part, 260 more units and the terminator.
void replace_file_name(char16_t* path, const char16_t* name);
void replace_file_name_narrow(char* path, const char* name);

// The same on strings: the directory part of `path` joined with `name`.
std::u16string with_file_name(std::u16string_view path, std::u16string_view name);
// The directory part of `path`, separator kept; the whole path when it has none.
std::u16string directory_of(std::u16string_view path);

// Copies units up to and including the terminator, at most n; unless
// no_fill is set, the rest of the n units is zero-filled. A source of n or
// more units leaves the destination unterminated.
void copy_wide_string(char16_t* destination, const char16_t* source, std::size_t n, bool no_fill);
std::size_t wide_length(const char16_t* text);
// Appends at most n bytes of source to destination's end; always terminated.
void bounded_append(char* destination, const char* source, std::size_t n);

}  // namespace inkrec
