// The standard font object: a counted, shared IFont holding a name, a size, style
// flags, weight and character set, with bold and weight kept in step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/automation/bstr.h"
#include "platform/automation/font.h"
#include "platform/automation/hresult.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/types.h"
#include "platform/automation/unknown.h"

namespace jv {

// A font by value, for creating one and for reading one out. The defaults are
// those of a new standard font in the automation world: MS Sans Serif, 8.25 points,
// regular, the ANSI character set. No font by that name need exist here; the
// windowing runtime picks its nearest match when it draws.
struct FontDescription {
  Text name = u"MS Sans Serif";
  std::int64_t size_cy = 82500;  // points in ten-thousandths: 8.25 points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int16_t weight = 400;
  std::int16_t charset = 0;
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// What a font accepts: a name that is not empty and holds no zero character, a
// size above zero, a weight from 0 to 1000 and a character set from 0 to 255.
// Anything else is refused with E_INVALIDARG and changes nothing.
//
// Bold is the same fact as a weight of 600 or more: setting Bold true makes the
// weight 700 and false makes it 400; setting the weight sets Bold. A description
// whose bold flag contradicts its weight creates the font as if Bold were set after
// the weight, so the flag wins; one that agrees keeps its weight (800 stays 800).
[[nodiscard]] HRESULT CreateStdFont(const FontDescription& description, IFont** out);
// Whether CreateStdFont takes the description's values (the rule above), for a
// writer that must not store a font it could not make again.
bool StdFontAccepts(const FontDescription& description);
// Reads any IFont, not only this implementation; *out is untouched on failure.
[[nodiscard]] HRESULT DescribeFont(IFont* font, FontDescription* out);

// The number of StdFont objects alive, so that tests can see that the last
// Release ends the object and that nothing keeps one alive.
std::size_t LiveStdFontCount();

// Used from one apartment (thread) only, as the control is, so the count is plain.
// Device handles, text metrics and scaling have no meaning without a Windows device
// context and answer E_NOTIMPL. QueryInterface also answers IDispatch and IFontDisp
// with the font's dispatch view (font_disp.h), for scripting hosts.
class StdFont final : public RefCounted<IFont> {
 public:
  StdFont(const StdFont&) = delete;
  StdFont& operator=(const StdFont&) = delete;

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

#define JV_STDFONT_PROPERTY(Name, Type)                          \
  HRESULT JV_STDMETHODCALLTYPE get_##Name(Type* value) override; \
  HRESULT JV_STDMETHODCALLTYPE put_##Name(Type value) override;
  JV_IFONT_PROPERTIES(JV_STDFONT_PROPERTY)
#undef JV_STDFONT_PROPERTY
  HRESULT JV_STDMETHODCALLTYPE get_hFont(HFONT* font) override;
  HRESULT JV_STDMETHODCALLTYPE Clone(IFont** clone) override;
  HRESULT JV_STDMETHODCALLTYPE IsEqual(IFont* other) override;
  HRESULT JV_STDMETHODCALLTYPE SetRatio(LONG logical, LONG himetric) override;
  HRESULT JV_STDMETHODCALLTYPE QueryTextMetrics(TEXTMETRICOLE* metrics) override;
  HRESULT JV_STDMETHODCALLTYPE AddRefHfont(HFONT font) override;
  HRESULT JV_STDMETHODCALLTYPE ReleaseHfont(HFONT font) override;
  HRESULT JV_STDMETHODCALLTYPE SetHdc(HDC dc) override;

 private:
  friend HRESULT CreateStdFont(const FontDescription& description, IFont** out);
  StdFont();
  ~StdFont() override;

  Text name_ = FontDescription{}.name;
  std::int64_t size_cy_ = FontDescription{}.size_cy;
  bool italic_ = false;
  bool underline_ = false;
  bool strikethrough_ = false;
  std::int16_t weight_ = 400;  // Bold is weight_ >= 600
  std::int16_t charset_ = 0;
};

}  // namespace jv
