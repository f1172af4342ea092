// The day grid as one Active Accessibility object, on the day-grid model: a table
// whose children 1 to 42 are the day cells in reading order (simple elements, no
// objects of their own). A numbered cell is named by its whole date, a blank one
// has no name and is invisible; the highlighted cell is selected, the cell at the
// control's cursor is focused while the grid has the keyboard focus; the default
// action of a numbered cell is the day click. The runtime that shows the grid
// supplies what only it knows through GridAccessHost.
#pragma once

#include <cstdint>

#include "platform/automation/ref_counted.h"
#include "platform/face/accessible_interface.h"
#include "platform/face/day_grid_model.h"

namespace jv::platform {

struct ScreenRect {
  long left = 0, top = 0, width = 0, height = 0;
};

class GridAccessHost {
 public:
  virtual bool GridHasFocus() = 0;
  // Where a rectangle of the grid's interior (twips) lies on the screen, in pixels.
  virtual ScreenRect ToScreen(const TwipsRect& rect) = 0;
  virtual ScreenRect GridOnScreen() = 0;
  // A screen point as twips in the grid's interior; false when it is outside the grid.
  virtual bool FromScreen(long x, long y, std::int32_t* tx, std::int32_t* ty) = 0;
  // The user's day click on a cell, with all its effects.
  [[nodiscard]] virtual HRESULT ClickCell(std::int16_t index) = 0;
  [[nodiscard]] virtual HRESULT FocusGrid() = 0;
  [[nodiscard]] virtual HRESULT GetParent(IDispatch** out) = 0;
  // The user's long date form ("Friday, November 14, 2003").
  [[nodiscard]] virtual HRESULT FormatLongDate(DATE date, Text* out) = 0;

 protected:
  ~GridAccessHost() = default;
};

class AccessibleGrid final : public RefCounted<IAccessible> {
 public:
  // With one reference, the caller's.
  static AccessibleGrid* Create(DayGridModel& model, GridAccessHost& host) { return new AccessibleGrid(model, host); }

  // The grid's window went: every call from now on answers msaa::kDisconnected
  // and touches neither the model nor the host.
  void Disconnect() {
    model_ = nullptr;
    host_ = nullptr;
  }

  // Child id of a cell (1 to the count) and back; 0 for none.
  long ChildOf(std::int16_t index) const;
  std::int16_t IndexOf(long child) const;

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) override;

  HRESULT JV_STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT JV_STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT JV_STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT JV_STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT JV_STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT JV_STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT JV_STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT JV_STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT JV_STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT JV_STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT JV_STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT JV_STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT JV_STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT JV_STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT JV_STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                           VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT JV_STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT JV_STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT JV_STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  // The name Windows gives a click as a default action.
  static constexpr std::u16string_view kClickAction = u"Click";

 private:
  AccessibleGrid(DayGridModel& model, GridAccessHost& host) : model_(&model), host_(&host) {}

  // What a VARIANT child id names: the grid itself, a cell, or nothing valid.
  struct Target {
    bool valid = false;
    bool self = false;
    std::int16_t index = 0;
  };
  Target Resolve(const VARIANT& child) const;

  DayGridModel* model_;
  GridAccessHost* host_;
};

}  // namespace jv::platform
