#include "app/core/captionlayout.h"

#include <algorithm>

namespace vantlo {

namespace {

// Removes the last UTF-8 character of s.
void PopCharacter(std::string& s) {
  while (!s.empty()) {
    unsigned char c = static_cast<unsigned char>(s.back());
    s.pop_back();
    if ((c & 0xC0) != 0x80) break;  // reached the lead byte
  }
}

}  // namespace

tcaptionlayout LayoutCaption(int pictureWidth, int pictureHeight, std::string_view caption,
                             const ttextwidth& width, int lineHeight, int alignment, bool bottom) {
  tcaptionlayout l;
  l.drawn = "   " + std::string(caption) + "   ";
  l.height = lineHeight;
  switch (alignment) {
    case 0:
      l.x = width("X");
      break;
    case 1:
      l.x = pictureWidth - width("XXXX" + std::string(caption));
      break;
    default:
      l.x = (pictureWidth - width(l.drawn)) / 2;
      break;
  }
  if (l.x < 0) l.x = 0;
  l.y = bottom ? pictureHeight - 2 * lineHeight : lineHeight;
  l.y = std::clamp(l.y, 0, std::max(0, pictureHeight - lineHeight));

  l.width = width(l.drawn);
  while (!l.drawn.empty() && l.x + l.width > pictureWidth) {
    PopCharacter(l.drawn);
    l.width = l.drawn.empty() ? 0 : width(l.drawn);
  }
  return l;
}

}  // namespace vantlo
