// The property record that streams and compound files carry: any bytes either
// decode, and then encode to the same bytes and read back through the bag, or are
// refused with one of the record's statuses; never a crash or a half-read record.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "housing/property_record.h"
#include "platform/automation/variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace jv;
  using namespace jv::housing;
  std::vector<NamedProperty> properties;
  const HRESULT hr = DecodeRecord(std::span(data, size), &properties);
  if (FAILED(hr)) {
    if (hr != STG_E_INVALIDHEADER && hr != STG_E_OLDDLL && hr != STG_E_READFAULT && hr != STG_E_DOCFILECORRUPT)
      std::abort();
    if (!properties.empty()) std::abort();
    return 0;
  }
  // A record that decodes is written back byte for byte: the writer refuses
  // nothing that the reader takes.
  std::vector<std::uint8_t> again;
  if (EncodeRecord(properties, &again) != S_OK) std::abort();
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
  // Every value reads out of the bag, a font as a new font object (the reader
  // took only fonts the font accepts).
  PropertyRecord* record = PropertyRecord::Create(properties);
  for (const NamedProperty& p : properties) {
    Text name = p.name;
    if (name.find(u'\0') != Text::npos) continue;  // the bag takes zero-terminated names
    VARIANT v;
    VariantInit(&v);
    const HRESULT read = record->Read(reinterpret_cast<LPCOLESTR>(name.c_str()), &v, nullptr);
    if (FAILED(read) && read != E_OUTOFMEMORY) std::abort();
    VariantClear(&v);
  }
  record->Release();
  return 0;
}
