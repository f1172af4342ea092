// IPersistStreamInit of the registered library as a container uses it: one set of
// limits for save and load, and a refused load that applies nothing.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;

struct Instance {
  IPersistStreamInit* persist = nullptr;
  _ctrJornavista* control = nullptr;
  Instance() {
    if (SUCCEEDED(CoCreateInstance(ids::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
      persist->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&control));
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;
  ~Instance() {
    if (control) control->Release();
    if (persist) persist->Release();
  }
  bool ok() const { return control != nullptr; }
  std::wstring SDate() const {
    BSTR b = nullptr;
    control->get_SDate(&b);
    std::wstring s(b ? b : L"", SysStringLen(b));
    SysFreeString(b);
    return s;
  }
  HRESULT PutSDate(const std::wstring& text) const {
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const HRESULT hr = control->put_SDate(b);
    SysFreeString(b);
    return hr;
  }
};

IStream* StreamOf(const std::vector<std::uint8_t>& bytes) {
  IStream* s = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &s);
  if (!bytes.empty()) s->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER zero{};
  s->Seek(zero, STREAM_SEEK_SET, nullptr);
  return s;
}

unsigned long long SizeOf(IStream* s) {
  STATSTG stat{};
  s->Stat(&stat, STATFLAG_NONAME);
  return stat.cbSize.QuadPart;
}

// A record of named values, byte by byte: I4 entries and one font.
class RecordBytes {
 public:
  RecordBytes& I4(const std::wstring& name, std::int32_t v) {
    ++count_;
    Name(name);
    U16(VT_I4);
    for (int i = 0; i < 4; ++i) body_.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
    return *this;
  }
  RecordBytes& Font(const std::wstring& face, std::int16_t weight) {
    ++count_;
    Name(L"Font");
    U16(VT_DISPATCH);
    Name(face);
    const std::uint64_t size = 82500;
    for (int i = 0; i < 8; ++i) body_.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    U16(static_cast<std::uint16_t>(weight));
    U16(0);
    body_.push_back(0);
    return *this;
  }
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> b = {'J', 'V', 'P', 'S', 1, 0, static_cast<std::uint8_t>(count_), 0};
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(body_.size() >> (8 * i)));
    b.insert(b.end(), body_.begin(), body_.end());
    return b;
  }

 private:
  void Name(const std::wstring& name) {
    U16(static_cast<std::uint16_t>(name.size()));
    for (wchar_t c : name) U16(static_cast<std::uint16_t>(c));
  }
  void U16(std::uint16_t v) { body_.insert(body_.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); }
  std::vector<std::uint8_t> body_;
  int count_ = 0;
};

void SaveLimits(Report& report) {
  Case t(report, "IPersistStreamInit: a save refuses what a load would refuse, and writes nothing then");
  Instance first;
  if (!t.Expect(first.ok(), "an instance")) return;
  t.Status(first.persist->InitNew(), S_OK, "InitNew");
  // MS Sans Serif, the instance's own font, leaves 524,190 units for SDate.
  const struct {
    std::size_t units;
    HRESULT save;
  } cases[] = {{524'190, S_OK}, {524'191, STG_E_DOCFILETOOLARGE}, {524'289, STG_E_DOCFILETOOLARGE}};
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.units) + " units of SDate";
    t.Status(first.PutSDate(std::wstring(c.units, L'7')), S_OK, what + ": the put");
    IStream* stream = StreamOf({});
    t.Status(first.persist->Save(stream, TRUE), c.save, what + ": Save");
    if (c.save != S_OK) {
      t.Equal(SizeOf(stream), 0ull, what + ": bytes written");
    } else {
      Instance second;
      LARGE_INTEGER zero{};
      stream->Seek(zero, STREAM_SEEK_SET, nullptr);
      t.Status(second.persist->Load(stream), S_OK, what + ": Load");
      t.Expect(second.SDate() == first.SDate(), what + ": SDate loads back equal");
    }
    stream->Release();
  }
  // A container's own font that the library's font would not make again.
  FONTDESC desc = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{90000, 0}}, 1200, ANSI_CHARSET, FALSE, FALSE, FALSE};
  IFont* heavy = nullptr;
  OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&heavy));
  SHORT weight = 0;
  if (heavy != nullptr && SUCCEEDED(heavy->get_Weight(&weight)) && weight == 1200) {
    t.Status(first.PutSDate(L"1/2/2003"), S_OK, "a short SDate");
    t.Status(first.control->putref_Font(heavy), S_OK, "putref_Font of a weight of 1200");
    IStream* stream = StreamOf({});
    t.Status(first.persist->Save(stream, TRUE), STG_E_INVALIDPARAMETER, "Save of a font weighing 1200");
    t.Equal(SizeOf(stream), 0ull, "bytes written for it");
    stream->Release();
  } else {
    report.Note("the system's font keeps no weight of 1200 (" + std::to_string(weight) + "): that save is not checked");
  }
  if (heavy) heavy->Release();
}

void RefusedLoads(Report& report) {
  Case t(report, "IPersistStreamInit: a record with a value its property cannot take applies nothing");
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"BackStyle an I4 of 70000 after BackColor", RecordBytes().I4(L"BackColor", 255).I4(L"BackStyle", 70000).Bytes()},
      {"a font of weight 2000 after BackColor", RecordBytes().I4(L"BackColor", 255).Font(L"Arial", 2000).Bytes()},
  };
  for (const auto& c : cases) {
    Instance target;
    if (!t.Expect(target.ok(), "an instance")) return;
    const std::wstring sdate = target.SDate();
    IStream* stream = StreamOf(c.bytes);
    t.Status(target.persist->Load(stream), STG_E_DOCFILECORRUPT, std::string(c.what) + ": Load");
    stream->Release();
    OLE_COLOR color = 1;
    target.control->get_BackColor(&color);
    t.Equal(static_cast<unsigned long>(color), 0ul, std::string(c.what) + ": BackColor");
    t.Expect(target.SDate() == sdate, std::string(c.what) + ": SDate as it was");
    t.Status(target.persist->IsDirty(), S_FALSE, std::string(c.what) + ": IsDirty");
    IStream* good = StreamOf(RecordBytes().I4(L"BackColor", 9).Bytes());
    t.Status(target.persist->Load(good), S_OK, std::string(c.what) + ": a good record afterwards");
    good->Release();
    target.control->get_BackColor(&color);
    t.Equal(static_cast<unsigned long>(color), 9ul, std::string(c.what) + ": BackColor from it");
  }
}

}  // namespace

void StreamPersistenceChecks(Report& report) {
  SaveLimits(report);
  RefusedLoads(report);
}

}  // namespace jv::wincheck
