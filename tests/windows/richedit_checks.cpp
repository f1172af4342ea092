// A document container: Wine's RichEdit (riched20.dll) embeds the control between
// two lines of text through IRichEditOle::InsertObject with no size given, so that
// it takes the size from the control's data, and draws it through IViewObject.
#include <objbase.h>
#include <ole2.h>
#include <richedit.h>
#include <richole.h>
#include <windows.h>

#include <string>

#include "housing/jornavista_ids.h"
#include "tests/windows/ole_checks.h"

namespace jv::wincheck {

void RichEditChecks(Report& report, Driver& driver) {
  Case c(report, "Wine's RichEdit embeds the control in a document at the frame's size");
  HMODULE riched = LoadLibraryW(L"riched20.dll");
  if (!c.Expect(riched != nullptr, "riched20.dll loads")) return;
  HWND form = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 420, 380,
                              nullptr, nullptr, nullptr, nullptr);
  HWND editor = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 400,
                                360, form, nullptr, nullptr, nullptr);
  if (!c.Expect(editor != nullptr, "a RichEdit window")) return;
  SendMessageW(editor, EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(L"A line of text before the calendar.\r"));
  IRichEditOle* document = nullptr;
  SendMessageW(editor, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&document));
  if (!c.Expect(document != nullptr, "EM_GETOLEINTERFACE")) return;
  IOleClientSite* site = nullptr;
  IStorage* storage = nullptr;
  IOleObject* object = nullptr;
  c.Status(document->GetClientSite(&site), S_OK, "IRichEditOle::GetClientSite");
  StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE, 0,
                   &storage);
  if (!c.Status(CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IOleObject, reinterpret_cast<void**>(&object)),
                S_OK, "the control"))
    return;
  IPersistStorage* persist = nullptr;
  object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  c.Status(persist->InitNew(storage), S_OK, "IPersistStorage::InitNew");
  persist->Release();
  {
    // What RichEdit asks for when the object has no extent: the control's picture,
    // at the frame's size though no container has sized or shown it yet.
    IDataObject* data = nullptr;
    object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
    FORMATETC format = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    STGMEDIUM medium{};
    if (c.Expect(data != nullptr, "IDataObject") &&
        c.Status(data->GetData(&format, &medium), S_OK, "GetData CF_BITMAP before activation")) {
      BITMAP info{};
      GetObjectW(medium.hBitmap, sizeof info, &info);
      c.Expect(info.bmWidth == 231 && info.bmHeight == 249, "the bitmap is 231 by 249 pixels (it is " +
                                                                std::to_string(info.bmWidth) + " by " +
                                                                std::to_string(info.bmHeight) + ")");
      ReleaseStgMedium(&medium);
    }
    if (data) data->Release();
  }
  c.Status(object->SetClientSite(site), S_OK, "SetClientSite");
  OleSetContainedObject(object, TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  inserted.clsid = jornavista::CLSID_ctrJornavista;
  inserted.poleobj = object;
  inserted.pstg = storage;
  inserted.polesite = site;
  inserted.sizel = {0, 0};  // RichEdit asks the control's data for its size
  inserted.dvaspect = DVASPECT_CONTENT;
  c.Status(document->InsertObject(&inserted), S_OK, "IRichEditOle::InsertObject");
  SendMessageW(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\rA line of text after it."));
  c.Equal(document->GetObjectCount(), 1L, "objects in the document");
  REOBJECT got{};
  got.cbStruct = sizeof got;
  if (c.Status(document->GetObject(0, &got, REO_GETOBJ_NO_INTERFACES), S_OK, "GetObject")) {
    // The size RichEdit took from the control's picture, in HIMETRIC.
    c.Expect(std::abs(got.sizel.cx - 6112) <= 30 && std::abs(got.sizel.cy - 6588) <= 30,
             "the object's size is the frame's 6112 by 6588 HIMETRIC (it is " + std::to_string(got.sizel.cx) +
                 " by " + std::to_string(got.sizel.cy) + ")");
  }
  InvalidateRect(editor, nullptr, TRUE);
  Driver::Pump(300);
  const Driver::Shot shot = driver.Screenshot("richedit-document");
  RECT area{};
  GetWindowRect(editor, &area);
  int row = 0;
  const int band = LongestRun(shot, area, GetSysColor(COLOR_HIGHLIGHT), &row);
  // The band under the paging buttons is 216 pixels wide in the frame's 231.
  c.Equal(band, 216, "the calendar's band in the document, pixels wide (row " + std::to_string(row) + ")");
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
  site->Release();
  document->Release();
  DestroyWindow(form);
  storage->Release();
  Driver::Pump(100);
}

}  // namespace jv::wincheck
