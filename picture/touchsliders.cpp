#include "picture/touchsliders.h"

#include <algorithm>

#include "picture/retoucher.h"

namespace vantlo {

int& tretouchsliders::operator[](ttouchslider s) {
  switch (s) {
    case ttouchslider::Brightness:
      return Brightness;
    case ttouchslider::Contrast:
      return Contrast;
    case ttouchslider::Sharpness:
      return Sharpness;
    case ttouchslider::Red:
      return Red;
    case ttouchslider::Green:
      return Green;
    case ttouchslider::Blue:
      break;
  }
  return Blue;
}

int tretouchsliders::operator[](ttouchslider s) const {
  return (*const_cast<tretouchsliders*>(this))[s];
}

int ColourStrengthFromSlider(int v) {
  const int s = -v;
  return s < 0 ? 2 * s : s;
}

tretouchsettings SettingsFromSliders(const tretouchsliders& sliders) {
  tretouchsettings s;
  s.Brightness = -sliders.Brightness;
  s.Contrast = -sliders.Contrast;
  s.Sharpness = sliders.Sharpness;
  s.Red = ColourStrengthFromSlider(sliders.Red);
  s.Green = ColourStrengthFromSlider(sliders.Green);
  s.Blue = ColourStrengthFromSlider(sliders.Blue);
  return s;
}

void ttouchsliders::Move(ttouchslider slider, int value) {
  value = std::clamp(value, kTouchSliderMin, kTouchSliderMax);
  switch (slider) {
    case ttouchslider::Brightness:
      positions_.Brightness = value;
      retoucher_.SetBrightness(-value);
      return;
    case ttouchslider::Contrast:
      positions_.Contrast = value;
      retoucher_.SetContrast(-value);
      return;
    case ttouchslider::Sharpness:
      positions_.Sharpness = value;
      retoucher_.SetSharpness(value);
      return;
    case ttouchslider::Red:
    case ttouchslider::Green:
    case ttouchslider::Blue:
      if (locked_)
        positions_.Red = positions_.Green = positions_.Blue = value;
      else
        positions_[slider] = value;
      SendColours();
      return;
  }
}

void ttouchsliders::SetLocked(bool on) {
  locked_ = on;
  if (!on) return;
  positions_.Green = positions_.Blue = positions_.Red;
  SendColours();
}

void ttouchsliders::ZeroAll() {
  positions_ = {};
  retoucher_.ZeroAll();
}

void ttouchsliders::SendColours() {
  retoucher_.SetColourMix(ColourStrengthFromSlider(positions_.Red),
                          ColourStrengthFromSlider(positions_.Green),
                          ColourStrengthFromSlider(positions_.Blue));
}

}  // namespace vantlo
