// Fonts of the class library stand-in.
#include "platform/Fonts.h"

#include "platform/TextMetrics.h"

namespace kv {

int TFont::Height() const { return -FontPixelSize(*this); }

const TFont& DefaultFont() {
  static const TFont font;
  return font;
}

}  // namespace kv
