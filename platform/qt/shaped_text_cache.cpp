#include "platform/qt/shaped_text_cache.h"

#include <QHash>

namespace jv::qt {

const QStaticText& ShapedText(const QString& caption, const QFont& font, const QString& font_key) {
  static QHash<QString, QStaticText> cache;
  // Enough for every caption of several fonts; past it the cache starts over
  // rather than growing with whatever texts a host writes.
  constexpr qsizetype kMaxEntries = 1024;
  const QString key = font_key + QChar(0x1F) + caption;
  auto it = cache.find(key);
  if (it == cache.end()) {
    if (cache.size() >= kMaxEntries) cache.clear();
    QStaticText text(caption);
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font);
    it = cache.insert(key, text);
  }
  return *it;
}

}  // namespace jv::qt
