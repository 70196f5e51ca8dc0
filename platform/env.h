// The operating system as the engine and the application see it.
//
// This is the one place that calls POSIX: shared libraries and durable file
// replacement. Everything else goes through here.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// A loaded shared library; null when it cannot be loaded.
void* load_library(const std::string& path);
void free_library(void* handle);

// The size in bytes of the file behind an open stream, without moving its
// position or dropping its buffer; -1 when it cannot be had.
long long file_size(std::FILE* stream);

// Pushes a stream's written data to the disk; false on failure.
bool sync_file(std::FILE* stream);

// The file a path names, with every symbolic link on the way followed
// (also a link to a file that does not exist yet); the path itself when it
// names no link.
std::string resolve_links(const std::string& path);

// A new file for writing, created exclusively (never an existing file or
// link) under a name of the form "<prefix><random>.tmp" that no other file
// has. It gets the mode bits of `mode_of` when that file exists, else the
// mode a newly created file gets. Null, with *path empty, on failure.
std::FILE* create_unique_file(const std::string& prefix, const std::string& mode_of,
                              std::string* path);

// Renames `from` over `to` in one step (the old `to` is replaced whole).
bool replace_file(const std::string& from, const std::string& to);
bool remove_file(const std::string& path);

// Pushes the folder entries of the folder holding `path` to the disk, so
// that a rename into it survives a crash; false on failure.
bool sync_folder_of(const std::string& path);

}  // namespace platform
