// The picture tools of `vantlo-cli decode`: `--defringe vertical|horizontal|both`
// and `--retouch brightness=B,contrast=C,sharpness=S,red=R,green=G,blue=B`
// (slider positions -100..100 as on the "Touch" page, any subset). They run
// the de-fringe filter and the retoucher exactly as the window's pages do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "picture/touchsliders.h"

namespace vantlo {
class TJPEGImage;
}

namespace vantlo::cli {

struct ttouchoptions {
  bool DefringeVertical = false;
  bool DefringeHorizontal = false;
  std::optional<tretouchsliders> Retouch;
};

// Each returns a usage error text, or "" when the value is good.
std::string ParseDefringe(std::string_view value, ttouchoptions& options);
std::string ParseRetouch(std::string_view value, ttouchoptions& options);

// De-fringes (vertical pass first) and then retouches the decoded picture;
// the picture keeps its JPEG settings and is compressed again on saving.
// Nothing happens when no tool was asked for.
void ApplyTouchOptions(TJPEGImage& picture, const ttouchoptions& options);

}  // namespace vantlo::cli
