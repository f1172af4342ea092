#include "platform/win32/shared_fonts.h"

#include <string>
#include <vector>

#include "platform/win32/screen_units.h"

namespace jv::win32 {

namespace {

// One font made: its design by value (the design's name may not outlive the
// face that passed it) and the dpi it was made for.
struct Made {
  bool is_default;
  std::u16string name;
  double size_points;
  std::int16_t weight, charset;
  bool italic, underline, strikethrough;
  int dpi;
  HFONT font;

  bool Is(bool other_default, const platform::FontDesign& d, int other_dpi) const {
    if (is_default != other_default || dpi != other_dpi) return false;
    return is_default ||
           (name == d.name && size_points == d.size_points && weight == d.weight && charset == d.charset &&
            italic == d.italic && underline == d.underline && strikethrough == d.strikethrough);
  }
};

// The fonts made so far. Faces on several threads (apartments) ask at once, so
// the list is locked; a handful of entries, looked through in order.
class FontShelf {
 public:
  FontShelf() = default;
  FontShelf(const FontShelf&) = delete;
  FontShelf& operator=(const FontShelf&) = delete;
  ~FontShelf() {
    for (const Made& m : made_) DeleteObject(m.font);
  }

  HFONT Find(bool is_default, const platform::FontDesign& design, int dpi) {
    AcquireSRWLockExclusive(&lock_);
    HFONT font = nullptr;
    for (const Made& m : made_)
      if (m.Is(is_default, design, dpi)) font = m.font;
    if (font == nullptr) {
      font = is_default ? CreateDefaultFont(dpi) : CreateDesignFont(design, dpi);
      if (font != nullptr)
        made_.push_back({is_default, std::u16string(design.name), design.size_points, design.weight,
                         design.charset, design.italic, design.underline, design.strikethrough, dpi, font});
    }
    ReleaseSRWLockExclusive(&lock_);
    return font;
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::vector<Made> made_;
};

FontShelf& Shelf() {
  static FontShelf shelf;
  return shelf;
}

}  // namespace

HFONT SharedDefaultFont(int dpi) { return Shelf().Find(true, platform::FontDesign{}, dpi); }

HFONT SharedDesignFont(const platform::FontDesign& design, int dpi) {
  return Shelf().Find(false, design, dpi);
}

}  // namespace jv::win32
