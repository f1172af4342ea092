// The OLE side's persistence: IPersistStreamInit and IPersistStorage carry the
// property record (housing/record_persistence.h) through a stream, or through one
// stream "Contents" of a compound file.
#include <span>
#include <vector>

#include "housing/jornavista_ids.h"
#include "housing/ole_control.h"
#include "housing/property_record.h"
#include "housing/record_persistence.h"

namespace jv::housing {

namespace {

constexpr wchar_t kContentsStream[] = L"Contents";

}  // namespace

HRESULT OleControl::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = jornavista::CLSID_ctrJornavista;
  return S_OK;
}

HRESULT OleControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT OleControl::PersistOf(IPersistPropertyBag** out) {
  return outer_.QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(out));
}

HRESULT OleControl::InitNew() {
  Trace("IPersistStreamInit::InitNew");
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(PersistOf(persist.put()));
  return persist->InitNew();
}

HRESULT OleControl::ReadRecord(IStream& stream, std::vector<std::uint8_t>* out) {
  std::vector<std::uint8_t> bytes(kRecordHeaderSize);
  ULONG got = 0;
  JV_TRY(stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got));
  if (got < kRecordHeaderSize) {
    bytes.resize(got);  // the decoder tells a cut record from a foreign one
  } else {
    std::uint32_t body = 0;
    JV_TRY(RecordBodyLength(std::span<const std::uint8_t, kRecordHeaderSize>(bytes.data(), kRecordHeaderSize),
                            &body));
    bytes.resize(kRecordHeaderSize + body);
    got = 0;
    if (body > 0) JV_TRY(stream.Read(bytes.data() + kRecordHeaderSize, body, &got));
    bytes.resize(kRecordHeaderSize + got);
  }
  *out = std::move(bytes);
  return S_OK;
}

HRESULT OleControl::Load(LPSTREAM stream) {
  Trace("IPersistStreamInit::Load");
  if (stream == nullptr) return E_POINTER;
  // The whole record is read and checked, every value against its property,
  // before the control sees any of it: a damaged, cut or unfit record changes nothing.
  std::vector<std::uint8_t> bytes;
  JV_TRY(ReadRecord(*stream, &bytes));
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(PersistOf(persist.put()));
  JV_TRY(LoadRecordBytes(*persist.get(), bytes));
  dirty_ = false;
  return S_OK;
}

HRESULT OleControl::SaveRecord(bool clear_dirty, std::vector<std::uint8_t>* out) {
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(PersistOf(persist.put()));
  return SaveRecordBytes(*persist.get(), clear_dirty, out);
}

HRESULT OleControl::Save(LPSTREAM stream, BOOL clear_dirty) {
  Trace("IPersistStreamInit::Save");
  if (stream == nullptr) return E_POINTER;
  std::vector<std::uint8_t> bytes;
  JV_TRY(SaveRecord(clear_dirty != FALSE, &bytes));
  ULONG written = 0;
  JV_TRY(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
  if (written != bytes.size()) return STG_E_WRITEFAULT;
  if (clear_dirty) dirty_ = false;
  if (advise_holder_) advise_holder_->SendOnSave();
  return S_OK;
}

HRESULT OleControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  std::vector<std::uint8_t> bytes;
  JV_TRY(SaveRecord(false, &bytes));
  size->QuadPart = bytes.size();
  return S_OK;
}

HRESULT OleControl::InitNew(IStorage* storage) {
  Trace("IPersistStorage::InitNew");
  if (storage == nullptr) return E_POINTER;
  return InitNew();
}

HRESULT OleControl::Load(IStorage* storage) {
  Trace("IPersistStorage::Load");
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  JV_TRY(storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put()));
  return Load(stream.get());
}

HRESULT OleControl::Save(IStorage* storage, BOOL) {
  Trace("IPersistStorage::Save");
  if (storage == nullptr) return E_POINTER;
  // The record first: a failing save writes no stream at all.
  std::vector<std::uint8_t> bytes;
  JV_TRY(SaveRecord(true, &bytes));
  JV_TRY(WriteClassStg(storage, jornavista::CLSID_ctrJornavista));
  ComPtr<IStream> stream;
  JV_TRY(storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                               stream.put()));
  ULONG written = 0;
  JV_TRY(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
  if (written != bytes.size()) return STG_E_WRITEFAULT;
  dirty_ = false;
  return S_OK;
}

HRESULT OleControl::SaveCompleted(IStorage*) {
  if (advise_holder_) advise_holder_->SendOnSave();
  return S_OK;
}

HRESULT OleControl::HandsOffStorage() { return S_OK; }

}  // namespace jv::housing
