// The control's record of named property values in its versioned binary form,
// which IPersistStreamInit and IPersistStorage carry.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "housing/property_value.h"
#include "platform/automation/hresult.h"

namespace jv::housing {

// The binary form, little-endian throughout:
//   "JVPS", version (u16), entry count (u16), body length in bytes (u32), body;
//   an entry is its name (u16 length in UTF-16 units, the units), its kind (u16:
//   2 I2, 3 I4, 11 Boolean, 8 text, 9 font, 13 no font) and the value: I2 2 bytes,
//   I4 4, Boolean 2 (0 or 0xFFFF), text a u32 length and the units, a font its
//   name (u16 length, units), size (i64, points in ten-thousandths), weight (i16),
//   character set (i16) and style flags (u8: 1 italic, 2 underline, 4 strikeout).
inline constexpr std::uint8_t kRecordMagic[4] = {'J', 'V', 'P', 'S'};
inline constexpr std::uint16_t kRecordVersion = 1;
inline constexpr std::size_t kRecordHeaderSize = 12;
// Far above what seven properties take; a larger body is not ours.
inline constexpr std::uint32_t kMaxRecordBody = 1u << 20;

// What a writer refuses, so that every record it writes reads back equal: a
// value or a whole record beyond the lengths of the binary form (a name or a font
// name over 65,535 units, more than 65,535 entries, a body over kMaxRecordBody),
// STG_E_DOCFILETOOLARGE; a value the reader refuses (an empty or repeated name, a
// font that the standard font does not take), STG_E_INVALIDPARAMETER. The reader
// refuses the same with STG_E_DOCFILECORRUPT.
inline constexpr HRESULT kRecordTooLarge = static_cast<HRESULT>(0x80030111u);
inline constexpr HRESULT kRecordValueRefused = static_cast<HRESULT>(0x80030057u);

// *out is written only on success.
[[nodiscard]] HRESULT EncodeRecord(std::span<const NamedProperty> properties, std::vector<std::uint8_t>* out);

// Reads a whole encoded record. Every byte must belong to it. Failures:
// STG_E_INVALIDHEADER (not a record of ours), STG_E_OLDDLL (a newer version),
// STG_E_READFAULT (fewer bytes than the header announces), STG_E_DOCFILECORRUPT
// (an entry that does not parse, an unknown kind, a duplicate name, a font that
// the standard font does not take, bytes left over). *out is written only on
// success.
[[nodiscard]] HRESULT DecodeRecord(std::span<const std::uint8_t> bytes, std::vector<NamedProperty>* out);

// The body length a header announces, for a reader that takes a record from a
// stream in two steps; the same header failures as DecodeRecord.
[[nodiscard]] HRESULT RecordBodyLength(std::span<const std::uint8_t, kRecordHeaderSize> header,
                                       std::uint32_t* out);

// Whether the binary form holds the value, and its reader takes it back:
// kRecordTooLarge or kRecordValueRefused otherwise.
[[nodiscard]] HRESULT CheckRecordValue(const PropertyValue& value);

}  // namespace jv::housing
