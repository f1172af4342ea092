// Captions shaped once and drawn many times: shaping a caption costs several times
// drawing it, and the day grid shows the same few numbers month after month.
#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>

#include "platform/automation/types.h"

namespace jv::qt {

// The caption shaped in `font`, whose key() is `font_key` (passed in because the
// caller keeps it). Every face shares one cache, by font and text, on the
// widgets' one thread; the reference holds until the next call. Looking a
// caption up makes no copy of it.
const QStaticText& ShapedText(TextView caption, const QFont& font, const QString& font_key);

}  // namespace jv::qt
