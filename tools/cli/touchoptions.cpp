#include "tools/cli/touchoptions.h"

#include <array>
#include <charconv>
#include <utility>

#include "picture/defringe.h"
#include "picture/jpegimage.h"
#include "picture/retoucher.h"

namespace vantlo::cli {

std::string ParseDefringe(std::string_view value, ttouchoptions& options) {
  if (value == "vertical") {
    options.DefringeVertical = true;
  } else if (value == "horizontal") {
    options.DefringeHorizontal = true;
  } else if (value == "both") {
    options.DefringeVertical = options.DefringeHorizontal = true;
  } else {
    return "decode: --defringe takes vertical, horizontal or both";
  }
  return "";
}

std::string ParseRetouch(std::string_view value, ttouchoptions& options) {
  static constexpr std::array<std::pair<std::string_view, ttouchslider>, 6> kNames = {{
      {"brightness", ttouchslider::Brightness},
      {"contrast", ttouchslider::Contrast},
      {"sharpness", ttouchslider::Sharpness},
      {"red", ttouchslider::Red},
      {"green", ttouchslider::Green},
      {"blue", ttouchslider::Blue},
  }};
  const std::string usage =
      "decode: --retouch takes NAME=V[,NAME=V...] with NAME brightness, contrast, sharpness, "
      "red, green or blue and V -100..100";
  tretouchsliders sliders = options.Retouch.value_or(tretouchsliders{});
  if (value.empty()) return usage;
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    const std::string_view item = value.substr(0, comma);
    value = comma == std::string_view::npos ? std::string_view{} : value.substr(comma + 1);
    if (comma != std::string_view::npos && value.empty()) return usage;
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos) return usage;
    const std::string_view name = item.substr(0, eq), number = item.substr(eq + 1);
    int v = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), v);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size() ||
        v < kTouchSliderMin || v > kTouchSliderMax)
      return usage;
    bool known = false;
    for (const auto& [n, slider] : kNames) {
      if (n == name) {
        sliders[slider] = v;
        known = true;
      }
    }
    if (!known) return usage;
  }
  options.Retouch = sliders;
  return "";
}

void ApplyTouchOptions(TJPEGImage& picture, const ttouchoptions& options) {
  if (!options.DefringeVertical && !options.DefringeHorizontal && !options.Retouch) return;
  tbitmap bitmap = picture.Bitmap();
  if (options.DefringeVertical || options.DefringeHorizontal) {
    tbitmap result;
    DeFringe(bitmap, result, options.DefringeVertical, options.DefringeHorizontal);
    bitmap = std::move(result);
  }
  if (options.Retouch) {
    // The Touch page's path: the sliders (unlocked, each as given) drive a
    // retoucher whose base picture is the picture, and Apply writes it.
    tretoucher retoucher;
    ttouchsliders sliders(retoucher);
    sliders.SetLocked(false);
    for (ttouchslider s :
         {ttouchslider::Brightness, ttouchslider::Contrast, ttouchslider::Sharpness,
          ttouchslider::Red, ttouchslider::Green, ttouchslider::Blue})
      sliders.Move(s, (*options.Retouch)[s]);
    retoucher.LoadPicture(bitmap, false);
    retoucher.ApplyTo(bitmap);
  }
  picture.Assign(bitmap);
}

}  // namespace vantlo::cli
