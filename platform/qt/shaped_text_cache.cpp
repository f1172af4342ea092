#include "platform/qt/shaped_text_cache.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/qt/design_values.h"

namespace jv::qt {

namespace {

// Captions by text, found by a view of the text without making a string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(TextView text) const { return std::hash<TextView>{}(text); }
};
using ShapedByText = std::unordered_map<Text, QStaticText, TextHash, std::equal_to<>>;

}  // namespace

const QStaticText& ShapedText(TextView caption, const QFont& font, const QString& font_key) {
  // One table a font, by the font's key; a handful of fonts at most.
  static std::vector<std::pair<QString, ShapedByText>> fonts;
  // Enough for every caption of several fonts; past it the cache starts over
  // rather than growing with whatever texts a host writes.
  constexpr std::size_t kMaxEntries = 1024;
  ShapedByText* table = nullptr;
  for (auto& [key, shaped] : fonts)
    if (key == font_key) table = &shaped;
  if (table == nullptr) {
    if (fonts.size() >= 8) fonts.clear();
    table = &fonts.emplace_back(font_key, ShapedByText()).second;
  }
  auto it = table->find(caption);
  if (it == table->end()) {
    if (table->size() >= kMaxEntries) table->clear();
    QStaticText text(ToQString(caption));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font);
    it = table->emplace(Text(caption), std::move(text)).first;
  }
  return it->second;
}

}  // namespace jv::qt
