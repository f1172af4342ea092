#include "platform/qt/shared_strings.h"

#include <QSet>

namespace jv::qt {

QString Shared(const QString& text) {
  static QSet<QString> pool;
  constexpr qsizetype kMaxEntries = 1024;
  auto it = pool.constFind(text);
  if (it == pool.cend()) {
    if (pool.size() >= kMaxEntries) pool.clear();
    it = pool.insert(text);
  }
  return *it;
}

}  // namespace jv::qt
