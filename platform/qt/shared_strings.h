// Texts that every face holds alike (object names, captions, accessible names,
// the month caption of the day), made once and shared: a QString is implicitly
// shared, so each widget keeps a reference to one copy instead of its own.
#pragma once

#include <QString>

namespace jv::qt {

// An equal string sharing its data with every other caller's. On the widgets'
// one thread; past a thousand distinct texts the pool starts over (the strings
// handed out stay valid: each holds its own reference).
QString Shared(const QString& text);

}  // namespace jv::qt
