// Where a caption goes on a picture, and how much of it fits. Kept apart from the drawing so the
// placement rules can be checked with any text measure.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vantlo {

struct tcaptionlayout {
  int x = 0;
  int y = 0;
  std::string drawn;  // three blanks, the caption, three blanks; cut to what fits
  int width = 0;      // width of `drawn`
  int height = 0;     // the line height
};

// Width in pixels of a text in the caption font.
using ttextwidth = std::function<int(std::string_view)>;

// Left: x is the width of "X"; right: the picture width minus the width of "XXXX" and the
// caption; centre: half of what is left beside the drawn text. A negative x becomes 0. Top: y is
// one line height; bottom: the picture height minus two line heights, kept inside the picture.
// A text that would run past the right edge is cut (at a character boundary) so it ends inside.
tcaptionlayout LayoutCaption(int pictureWidth, int pictureHeight, std::string_view caption,
                             const ttextwidth& width, int lineHeight, int alignment, bool bottom);

}  // namespace vantlo
