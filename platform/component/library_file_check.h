// Whether a file can be handed to the dynamic loader without harm. The loader maps
// a library's segments straight from the file: a truncated copy ends the process
// with SIGBUS when a page past the file's end is touched, and a FIFO or a device
// blocks or feeds it for ever. These are refused with a message first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jv::component {

// The largest library file accepted; a component library is a few megabytes.
inline constexpr std::uint64_t kMaxLibraryBytes = 512ull << 20;

// Checks that `path` is a regular file of plausible size holding an ELF shared
// object of the process's own class and byte order, whose program headers and
// every segment the loader reads lie wholly within the file. The reason it is not,
// as a phrase ("it is not a regular file"); nothing when it is.
[[nodiscard]] std::optional<std::string> CheckLibraryFile(const std::string& path);

}  // namespace jv::component
