// The control's properties as a record of named values: an IPropertyBag in memory
// that the instance saves into and loads from, and the record's own versioned
// binary form, which IPersistStreamInit and IPersistStorage carry.
#pragma once

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "platform/automation/ocidl.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/std_font.h"
#include "platform/automation/types.h"

namespace jv::housing {

// No font: a Font property that refers to no object.
struct NoFont {
  friend bool operator==(const NoFont&, const NoFont&) = default;
};

// A truth value, apart from the 16-bit integer that VARIANT_BOOL also is.
struct Truth {
  bool value = false;
  friend bool operator==(const Truth&, const Truth&) = default;
};

// The kinds a property takes: 16- and 32-bit integers, a truth value, text, and a
// font by its attributes.
using PropertyValue = std::variant<std::int16_t, std::int32_t, Truth, Text, FontDescription, NoFont>;

struct NamedProperty {
  Text name;
  PropertyValue value;
};

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

// The record as a property bag. Read answers E_INVALIDARG for a name it does not
// hold (the bag's "no value") and for nothing else, and hands out a new standard
// font for a stored font; Write refuses with DISP_E_BADVARTYPE a value of another
// kind, an object that is not a font with DISP_E_TYPEMISMATCH, and a value the
// binary form would refuse with EncodeRecord's statuses. A write replaces the
// value of that name.
class PropertyRecord final : public RefCounted<IPropertyBag> {
 public:
  // A new record with one reference, owned by the caller.
  static PropertyRecord* Create(std::vector<NamedProperty> properties = {});

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return Answer(riid, object, {IID_IPropertyBag});
  }
  HRESULT JV_STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT JV_STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  const std::vector<NamedProperty>& properties() const { return properties_; }

 private:
  explicit PropertyRecord(std::vector<NamedProperty> properties) : properties_(std::move(properties)) {}
  ~PropertyRecord() override = default;

  std::vector<NamedProperty> properties_;
};

}  // namespace jv::housing
