// The six sliders of the "Touch" page without the widgets: their positions
// (-100..100), the "Lock Color Sliders" rule, and how each position maps
// onto the retoucher's settings. The page and `vantlo-cli decode
// --retouch` both go through here.
#pragma once

#include <string>

#include "picture/retouchfilters.h"

namespace vantlo {

class tretoucher;

enum class ttouchslider { Brightness, Contrast, Sharpness, Red, Green, Blue };

// Slider positions, each -100..100.
struct tretouchsliders {
  int Brightness = 0;
  int Contrast = 0;
  int Sharpness = 0;
  int Red = 0;
  int Green = 0;
  int Blue = 0;

  int& operator[](ttouchslider s);
  int operator[](ttouchslider s) const;
  bool operator==(const tretouchsliders&) const = default;
};

inline constexpr int kTouchSliderMin = -100;
inline constexpr int kTouchSliderMax = 100;

// A colour slider's channel strength: -v, doubled when it comes out
// negative (50 gives -100, -50 gives 50).
int ColourStrengthFromSlider(int v);

// Brightness -v (so +50 scales the channels by 1.5), contrast -v (positive
// values spread away from the mean grey), sharpness v, and the three
// colour strengths.
tretouchsettings SettingsFromSliders(const tretouchsliders& sliders);

// The slider state of the page, driving a retoucher.
class ttouchsliders {
 public:
  explicit ttouchsliders(tretoucher& retoucher) : retoucher_(retoucher) {}

  const tretouchsliders& Positions() const { return positions_; }
  bool Locked() const { return locked_; }

  // A slider moved to `value` (kept within -100..100). With the lock on, a
  // colour slider's value goes to all three colour sliders. The retoucher
  // gets the mapped values.
  void Move(ttouchslider slider, int value);
  // "Lock Color Sliders" (checked at start); checking it sets all three
  // colour sliders to the red slider's value.
  void SetLocked(bool on);
  // "Zero All": every slider to 0 and the retoucher's settings to 0.
  void ZeroAll();

 private:
  void SendColours();

  tretoucher& retoucher_;
  tretouchsliders positions_;
  bool locked_ = true;
};

}  // namespace vantlo
