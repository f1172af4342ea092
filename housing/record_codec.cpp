#include "housing/record_codec.h"

#include <algorithm>
#include <cstring>

namespace jv::housing {

namespace {

// An entry's kind is the variant type its value travels in, so a reader of the
// bytes knows the numbers already. A font is an object (VT_DISPATCH); a missing
// font takes VT_UNKNOWN, the other object type, to tell it apart.
constexpr std::uint16_t kFont = VT_DISPATCH;
constexpr std::uint16_t kNoFont = VT_UNKNOWN;

enum FontFlags : std::uint8_t { kItalic = 1, kUnderline = 2, kStrikethrough = 4 };

class Writer {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Units(TextView text) {
    for (char16_t c : text) U16(static_cast<std::uint16_t>(c));
  }
  void ShortText(TextView text) {
    U16(static_cast<std::uint16_t>(text.size()));
    Units(text);
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Every read checks the bytes left first: a short or damaged body fails cleanly.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool U8(std::uint8_t* v) {
    if (left() < 1) return false;
    *v = bytes_[at_++];
    return true;
  }
  bool U16(std::uint16_t* v) { return Little(v); }
  bool U32(std::uint32_t* v) { return Little(v); }
  bool U64(std::uint64_t* v) { return Little(v); }
  bool Units(std::size_t n, Text* out) {
    if (left() / 2 < n) return false;
    out->resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      std::uint16_t c = 0;
      (void)U16(&c);
      (*out)[i] = static_cast<char16_t>(c);
    }
    return true;
  }
  bool ShortText(Text* out) {
    std::uint16_t n = 0;
    return U16(&n) && Units(n, out);
  }
  std::size_t left() const { return bytes_.size() - at_; }

 private:
  template <class T>
  bool Little(T* v) {
    if (left() < sizeof(T)) return false;
    T r = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      r |= static_cast<T>(static_cast<T>(bytes_[at_ + i]) << (8 * i));
    at_ += sizeof(T);
    *v = r;
    return true;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

void EncodeValue(Writer& w, const PropertyValue& value) {
  if (const auto* v = std::get_if<std::int16_t>(&value)) {
    w.U16(VT_I2);
    w.U16(static_cast<std::uint16_t>(*v));
  } else if (const auto* v = std::get_if<std::int32_t>(&value)) {
    w.U16(VT_I4);
    w.U32(static_cast<std::uint32_t>(*v));
  } else if (const auto* v = std::get_if<BooleanValue>(&value)) {
    w.U16(VT_BOOL);
    w.U16(v->value ? 0xFFFF : 0);
  } else if (const auto* v = std::get_if<Text>(&value)) {
    w.U16(VT_BSTR);
    w.U32(static_cast<std::uint32_t>(v->size()));
    w.Units(*v);
  } else if (const auto* v = std::get_if<FontDescription>(&value)) {
    w.U16(kFont);
    w.ShortText(v->name);
    w.U64(static_cast<std::uint64_t>(v->size_cy));
    w.U16(static_cast<std::uint16_t>(v->weight));
    w.U16(static_cast<std::uint16_t>(v->charset));
    w.U8(static_cast<std::uint8_t>((v->italic ? kItalic : 0) | (v->underline ? kUnderline : 0) |
                                   (v->strikethrough ? kStrikethrough : 0)));
  } else {
    w.U16(kNoFont);
  }
}

bool DecodeValue(Reader& r, PropertyValue* out) {
  std::uint16_t kind = 0;
  if (!r.U16(&kind)) return false;
  switch (kind) {
    case VT_I2: {
      std::uint16_t v = 0;
      if (!r.U16(&v)) return false;
      *out = static_cast<std::int16_t>(v);
      return true;
    }
    case VT_I4: {
      std::uint32_t v = 0;
      if (!r.U32(&v)) return false;
      *out = static_cast<std::int32_t>(v);
      return true;
    }
    case VT_BOOL: {
      std::uint16_t v = 0;
      if (!r.U16(&v) || (v != 0 && v != 0xFFFF)) return false;
      *out = BooleanValue{v != 0};
      return true;
    }
    case VT_BSTR: {
      std::uint32_t n = 0;
      Text text;
      if (!r.U32(&n) || !r.Units(n, &text)) return false;
      *out = std::move(text);
      return true;
    }
    case kFont: {
      FontDescription font;
      std::uint64_t size = 0;
      std::uint16_t weight = 0, charset = 0;
      std::uint8_t flags = 0;
      if (!r.ShortText(&font.name) || !r.U64(&size) || !r.U16(&weight) || !r.U16(&charset) || !r.U8(&flags))
        return false;
      if ((flags & ~(kItalic | kUnderline | kStrikethrough)) != 0) return false;
      font.size_cy = static_cast<std::int64_t>(size);
      font.weight = static_cast<std::int16_t>(weight);
      font.bold = font.weight >= 600;
      font.charset = static_cast<std::int16_t>(charset);
      font.italic = (flags & kItalic) != 0;
      font.underline = (flags & kUnderline) != 0;
      font.strikethrough = (flags & kStrikethrough) != 0;
      // A font the standard font does not take would load as no font at all.
      if (!StdFontAccepts(font)) return false;
      *out = std::move(font);
      return true;
    }
    case kNoFont:
      *out = NoFont{};
      return true;
    default:
      return false;
  }
}

}  // namespace

HRESULT CheckRecordValue(const PropertyValue& value) {
  if (const auto* text = std::get_if<Text>(&value)) {
    if (text->size() > kMaxRecordBody / 2) return kRecordTooLarge;
  } else if (const auto* font = std::get_if<FontDescription>(&value)) {
    if (font->name.size() > UINT16_MAX) return kRecordTooLarge;
    if (!StdFontAccepts(*font)) return kRecordValueRefused;
  }
  return S_OK;
}

HRESULT EncodeRecord(std::span<const NamedProperty> properties, std::vector<std::uint8_t>* out) {
  if (out == nullptr) return E_POINTER;
  if (properties.size() > UINT16_MAX) return kRecordTooLarge;
  Writer body;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const NamedProperty& p = properties[i];
    if (p.name.empty()) return kRecordValueRefused;
    if (p.name.size() > UINT16_MAX) return kRecordTooLarge;
    for (std::size_t j = 0; j < i; ++j)
      if (properties[j].name == p.name) return kRecordValueRefused;
    JV_TRY(CheckRecordValue(p.value));
    body.ShortText(p.name);
    EncodeValue(body, p.value);
    if (body.bytes().size() > kMaxRecordBody) return kRecordTooLarge;
  }
  Writer w;
  for (std::uint8_t b : kRecordMagic) w.U8(b);
  w.U16(kRecordVersion);
  w.U16(static_cast<std::uint16_t>(properties.size()));
  w.U32(static_cast<std::uint32_t>(body.bytes().size()));
  w.bytes().insert(w.bytes().end(), body.bytes().begin(), body.bytes().end());
  *out = std::move(w.bytes());
  return S_OK;
}

HRESULT RecordBodyLength(std::span<const std::uint8_t, kRecordHeaderSize> header, std::uint32_t* out) {
  if (std::memcmp(header.data(), kRecordMagic, sizeof kRecordMagic) != 0) return STG_E_INVALIDHEADER;
  Reader r(header.subspan(sizeof kRecordMagic));
  std::uint16_t version = 0, count = 0;
  std::uint32_t length = 0;
  (void)r.U16(&version);
  (void)r.U16(&count);
  (void)r.U32(&length);
  if (version == 0) return STG_E_INVALIDHEADER;
  if (version > kRecordVersion) return STG_E_OLDDLL;
  if (length > kMaxRecordBody) return STG_E_DOCFILECORRUPT;
  *out = length;
  return S_OK;
}

HRESULT DecodeRecord(std::span<const std::uint8_t> bytes, std::vector<NamedProperty>* out) {
  if (out == nullptr) return E_POINTER;
  if (bytes.size() < kRecordHeaderSize) {
    // A prefix of our magic is a cut record; anything else is not ours.
    const std::size_t n = std::min(bytes.size(), sizeof kRecordMagic);
    return std::memcmp(bytes.data(), kRecordMagic, n) == 0 ? STG_E_READFAULT : STG_E_INVALIDHEADER;
  }
  std::uint32_t length = 0;
  JV_TRY(RecordBodyLength(bytes.first<kRecordHeaderSize>(), &length));
  const std::span<const std::uint8_t> body = bytes.subspan(kRecordHeaderSize);
  if (body.size() < length) return STG_E_READFAULT;
  if (body.size() > length) return STG_E_DOCFILECORRUPT;
  const std::uint16_t count = static_cast<std::uint16_t>(bytes[6] | (bytes[7] << 8));

  std::vector<NamedProperty> properties;
  Reader r(body);
  for (std::uint16_t i = 0; i < count; ++i) {
    NamedProperty p;
    if (!r.ShortText(&p.name) || p.name.empty() || !DecodeValue(r, &p.value)) return STG_E_DOCFILECORRUPT;
    for (const NamedProperty& earlier : properties)
      if (earlier.name == p.name) return STG_E_DOCFILECORRUPT;
    properties.push_back(std::move(p));
  }
  if (r.left() != 0) return STG_E_DOCFILECORRUPT;
  *out = std::move(properties);
  return S_OK;
}

}  // namespace jv::housing
