#include "tests/support/library_file_reader.h"

#include <elf.h>

#include <cstring>
#include <fstream>

namespace jv::component {

namespace {

// The largest library file read; a component library is a few megabytes.
constexpr std::uintmax_t kMaxFileSize = 512u << 20;

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
         static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

// A whole ELF file with bounds-checked access to its section headers.
class ElfFile {
 public:
  HRESULT Open(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      *error = "cannot open " + path;
      return E_FAIL;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileSize) {
      *error = path + ": cannot read the file, or it is too large";
      return E_FAIL;
    }
    bytes_.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes_.data()), size)) {
      *error = "cannot read " + path;
      return E_FAIL;
    }
    path_ = path;
    if (bytes_.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes_.data(), ELFMAG, SELFMAG) != 0)
      return Bad("not an ELF file", error);
    std::memcpy(&header_, bytes_.data(), sizeof header_);
    if (header_.e_ident[EI_CLASS] != ELFCLASS64 || header_.e_ident[EI_DATA] != ELFDATA2LSB)
      return Bad("not a 64-bit little-endian ELF file", error);
    if (header_.e_shentsize != sizeof(Elf64_Shdr) ||
        !Fits(header_.e_shoff, Elf64_Off{header_.e_shnum} * sizeof(Elf64_Shdr)))
      return Bad("its section headers lie outside the file", error);
    if (header_.e_shstrndx >= header_.e_shnum) return Bad("it names no section-name table", error);
    return S_OK;
  }

  std::size_t section_count() const { return header_.e_shnum; }
  Elf64_Shdr Section(std::size_t i) const {
    Elf64_Shdr s;
    std::memcpy(&s, bytes_.data() + header_.e_shoff + i * sizeof(Elf64_Shdr), sizeof s);
    return s;
  }
  // The section's bytes; empty when they lie outside the file.
  std::span<const std::uint8_t> Contents(const Elf64_Shdr& s) const {
    if (s.sh_type == SHT_NOBITS || !Fits(s.sh_offset, s.sh_size)) return {};
    return std::span<const std::uint8_t>(bytes_).subspan(s.sh_offset, s.sh_size);
  }
  // A NUL-terminated string at `offset` of a string table, or none.
  static bool String(std::span<const std::uint8_t> table, std::size_t offset, std::string* out) {
    if (offset >= table.size()) return false;
    const auto* begin = reinterpret_cast<const char*>(table.data()) + offset;
    const void* nul = std::memchr(begin, 0, table.size() - offset);
    if (nul == nullptr) return false;
    *out = std::string(begin, static_cast<const char*>(nul));
    return true;
  }
  bool FindSection(std::string_view name, Elf64_Shdr* out) const {
    const std::span<const std::uint8_t> names = Contents(Section(header_.e_shstrndx));
    for (std::size_t i = 0; i < section_count(); ++i) {
      const Elf64_Shdr s = Section(i);
      std::string n;
      if (String(names, s.sh_name, &n) && n == name) {
        *out = s;
        return true;
      }
    }
    return false;
  }
  HRESULT Bad(const std::string& why, std::string* error) const {
    *error = path_ + ": " + why;
    return E_INVALIDARG;
  }

 private:
  bool Fits(std::uint64_t offset, std::uint64_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }

  std::string path_;
  std::vector<std::uint8_t> bytes_;
  Elf64_Ehdr header_{};
};

}  // namespace

HRESULT ReadResources(const std::string& path, std::vector<Resource>* out, std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  ElfFile elf;
  JV_TRY(elf.Open(path, error));
  Elf64_Shdr section{};
  if (!elf.FindSection(kResourceSectionName, &section)) return elf.Bad("it has no resource section", error);
  const std::span<const std::uint8_t> d = elf.Contents(section);
  if (d.size() < 16 || std::memcmp(d.data(), kSectionMagic.data(), kSectionMagic.size()) != 0)
    return elf.Bad("its resource section has no valid header", error);
  const std::uint32_t count = U32(d, 8);
  const std::uint32_t total = U32(d, 12);
  constexpr std::size_t kEntrySize = kResourceTypeLength + 12;
  if (total > d.size() || count > (total - 16) / kEntrySize)
    return elf.Bad("its resource section is shorter than its header says", error);
  std::vector<Resource> resources;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = 16 + i * kEntrySize;
    Resource r;
    const auto* type = reinterpret_cast<const char*>(d.data() + at);
    r.type.assign(type, strnlen(type, kResourceTypeLength));
    r.id = U32(d, at + kResourceTypeLength);
    const std::uint32_t offset = U32(d, at + kResourceTypeLength + 4);
    const std::uint32_t size = U32(d, at + kResourceTypeLength + 8);
    if (offset > total || size > total - offset)
      return elf.Bad("resource " + r.type + " " + std::to_string(r.id) + " lies outside its section", error);
    r.data.assign(d.begin() + offset, d.begin() + offset + size);
    resources.push_back(std::move(r));
  }
  *out = std::move(resources);
  return S_OK;
}

HRESULT DecodeVersionRecord(std::span<const std::uint8_t> d, VersionRecord* out, std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  constexpr std::size_t kFixed = 8 + 16 + 8 + 4;
  if (d.size() < kFixed || std::memcmp(d.data(), kVersionMagic.data(), kVersionMagic.size()) != 0) {
    *error = "the version record has no valid header";
    return E_INVALIDARG;
  }
  VersionRecord r;
  for (std::size_t i = 0; i < 4; ++i) {
    r.file_version[i] = U16(d, 8 + 2 * i);
    r.product_version[i] = U16(d, 16 + 2 * i);
  }
  r.translation.assign(reinterpret_cast<const char*>(d.data() + 24), 8);
  const std::uint32_t count = U32(d, 32);
  std::size_t at = kFixed;
  auto next = [&](std::string* s) {
    if (at >= d.size()) return false;
    const auto* begin = reinterpret_cast<const char*>(d.data() + at);
    const void* nul = std::memchr(begin, 0, d.size() - at);
    if (nul == nullptr) return false;
    s->assign(begin, static_cast<const char*>(nul));
    at += s->size() + 1;
    return true;
  };
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name, value;
    if (!next(&name) || !next(&value)) {
      *error = "the version record's strings are cut short";
      return E_INVALIDARG;
    }
    r.strings.emplace_back(std::move(name), std::move(value));
  }
  *out = std::move(r);
  return S_OK;
}

HRESULT ReadVersionRecord(const std::string& path, VersionRecord* out, std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  std::vector<Resource> resources;
  JV_TRY(ReadResources(path, &resources, error));
  for (const Resource& r : resources) {
    if (r.type != "VERSION" || r.id != 1) continue;
    if (HRESULT hr = DecodeVersionRecord(r.data, out, error); FAILED(hr)) {
      *error = path + ": " + *error;
      return hr;
    }
    return S_OK;
  }
  *error = path + ": it has no version record";
  return E_INVALIDARG;
}

HRESULT ReadExportedSymbols(const std::string& path, std::vector<std::string>* out, std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  ElfFile elf;
  JV_TRY(elf.Open(path, error));
  std::vector<std::string> names;
  for (std::size_t i = 0; i < elf.section_count(); ++i) {
    const Elf64_Shdr s = elf.Section(i);
    if (s.sh_type != SHT_DYNSYM) continue;
    if (s.sh_link >= elf.section_count() || s.sh_entsize != sizeof(Elf64_Sym))
      return elf.Bad("its dynamic symbol table is malformed", error);
    const std::span<const std::uint8_t> symbols = elf.Contents(s);
    const std::span<const std::uint8_t> strings = elf.Contents(elf.Section(s.sh_link));
    for (std::size_t at = sizeof(Elf64_Sym); at + sizeof(Elf64_Sym) <= symbols.size();
         at += sizeof(Elf64_Sym)) {
      Elf64_Sym sym;
      std::memcpy(&sym, symbols.data() + at, sizeof sym);
      const unsigned bind = ELF64_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
      std::string name;
      if (!ElfFile::String(strings, sym.st_name, &name))
        return elf.Bad("a symbol's name is malformed", error);
      names.push_back(std::move(name));
    }
  }
  *out = std::move(names);
  return S_OK;
}

}  // namespace jv::component
