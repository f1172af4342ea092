// Resources a component library carries in its file, readable without loading it:
// the version record and the toolbox bitmap, in the ELF section ".jv_resources".
// The layout, and the writer the library runs at compile time to fill the section.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/hresult.h"

namespace jv::component {

// The section's layout. Integers are little-endian; every part starts at a
// multiple of four bytes from the section's start.
//   header   "JVRSRC1\0" (8 bytes), u32 entry count, u32 size of the whole section
//   entries  per entry: type name NUL-padded to 12 bytes, u32 id, u32 offset of the
//            data from the section's start, u32 size of the data
//   data     the entries' bytes
// VERSION 1, the version record:
//   "JVVERS1\0" (8 bytes); u16 x4 file version (major, minor, build, revision);
//   u16 x4 product version; the translation as 8 hex digits ("040904B0": language
//   0409, code page 04B0); u32 string count; per string a NUL-terminated UTF-8 name
//   and a NUL-terminated UTF-8 value.
// BITMAP n: a Windows bitmap file (file header, BITMAPINFOHEADER, pixel rows).
inline constexpr std::string_view kResourceSectionName = ".jv_resources";
inline constexpr std::string_view kSectionMagic{"JVRSRC1\0", 8};
inline constexpr std::string_view kVersionMagic{"JVVERS1\0", 8};
inline constexpr std::size_t kResourceTypeLength = 12;

struct ResourceEntry {
  std::string_view type;
  std::uint32_t id;
  std::span<const std::uint8_t> data;
};

// Writing at compile time: a content type has `template <class W> static
// constexpr void Write(W&)`, called once to count its bytes and once to fill them.
struct ByteCounter {
  std::size_t size = 0;
  constexpr void Byte(std::uint8_t) { ++size; }
};

template <std::size_t N>
struct ByteArrayWriter {
  std::array<std::uint8_t, N> bytes{};
  std::size_t size = 0;
  constexpr void Byte(std::uint8_t b) { bytes[size++] = b; }
};

template <class W>
constexpr void WriteU16(W& w, std::uint16_t v) {
  w.Byte(static_cast<std::uint8_t>(v));
  w.Byte(static_cast<std::uint8_t>(v >> 8));
}
template <class W>
constexpr void WriteU32(W& w, std::uint32_t v) {
  WriteU16(w, static_cast<std::uint16_t>(v));
  WriteU16(w, static_cast<std::uint16_t>(v >> 16));
}
template <class W>
constexpr void WriteText(W& w, std::string_view text) {
  for (char c : text) w.Byte(static_cast<std::uint8_t>(c));
}
template <class W>
constexpr void WritePadded(W& w, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) w.Byte(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}
template <class W>
constexpr void WriteAlign4(W& w) {
  while (w.size % 4 != 0) w.Byte(0);
}

template <class Content>
constexpr std::size_t ContentSize() {
  ByteCounter c;
  Content::Write(c);
  return c.size;
}

template <class Content>
constexpr std::array<std::uint8_t, ContentSize<Content>()> BuildContent() {
  ByteArrayWriter<ContentSize<Content>()> w;
  Content::Write(w);
  return w.bytes;
}

template <class W>
constexpr void WriteVersionRecord(W& w, const std::array<std::uint16_t, 4>& file_version,
                                  const std::array<std::uint16_t, 4>& product_version,
                                  std::string_view translation,
                                  std::span<const std::pair<std::string_view, std::string_view>> strings) {
  WriteText(w, kVersionMagic);
  for (std::uint16_t v : file_version) WriteU16(w, v);
  for (std::uint16_t v : product_version) WriteU16(w, v);
  WritePadded(w, translation, 8);
  WriteU32(w, static_cast<std::uint32_t>(strings.size()));
  for (const auto& [name, value] : strings) {
    WriteText(w, name);
    w.Byte(0);
    WriteText(w, value);
    w.Byte(0);
  }
}

template <class W>
constexpr void WriteResourceSection(W& w, std::span<const ResourceEntry> entries) {
  const std::size_t header = 16 + entries.size() * (kResourceTypeLength + 12);
  std::size_t total = header;
  for (const ResourceEntry& e : entries) total += (e.data.size() + 3) / 4 * 4;
  WriteText(w, kSectionMagic);
  WriteU32(w, static_cast<std::uint32_t>(entries.size()));
  WriteU32(w, static_cast<std::uint32_t>(total));
  std::size_t offset = header;
  for (const ResourceEntry& e : entries) {
    WritePadded(w, e.type, kResourceTypeLength);
    WriteU32(w, e.id);
    WriteU32(w, static_cast<std::uint32_t>(offset));
    WriteU32(w, static_cast<std::uint32_t>(e.data.size()));
    offset += (e.data.size() + 3) / 4 * 4;
  }
  for (const ResourceEntry& e : entries) {
    for (std::uint8_t b : e.data) w.Byte(b);
    WriteAlign4(w);
  }
}

}  // namespace jv::component
