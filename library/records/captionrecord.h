// One caption setting (312 bytes); "CAPDATA" holds two of them, one for
// pictures saved by hand and one for webcam mode. The caption dialog edits a
// copy: take it with tcapdatarecord::Caption() and store it with SetCaption().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

enum class tcaptionmode { None = 0, Standard = 1, Custom = 2, Prompt = 3 };
enum class tcaptionalign { Left = 0, Right = 1, Centre = 2 };

class tcaptionrecord : public trecord<defaultimages::kCaptionSize> {
 public:
  // Font style bits.
  static constexpr std::uint8_t kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8;
  static constexpr int kMinFontSize = 1;
  static constexpr int kMaxFontSize = 500;

  tcaptionrecord() : trecord(defaultimages::Caption()) {}
  explicit tcaptionrecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // A stored mode outside 0..3 reads as no caption.
  tcaptionmode Mode() const;
  void SetMode(tcaptionmode m) { SetU8<0>(static_cast<std::uint8_t>(m)); }
  std::string CustomText() const { return Str<1, 255>(); }
  void SetCustomText(std::string_view s) { SetStr<1, 255>(s); }
  std::string FontName() const { return Str<257, 31>(); }
  void SetFontName(std::string_view s) { SetStr<257, 31>(s); }
  // Colour value: red in bits 0-7, green 8-15, blue 16-23.
  std::uint32_t FontColour() const { return U32<292>() & 0xFFFFFFu; }
  void SetFontColour(std::uint32_t c) { SetU32<292>(c); }
  // Points, kept within 1..500 so a damaged value cannot ask for an absurd font.
  int FontSize() const;
  void SetFontSize(int points);
  std::uint8_t FontStyle() const { return U8<298>() & 0x0F; }
  void SetFontStyle(std::uint8_t bits) { SetU8<298>(bits & 0x0F); }
  bool Transparent() const { return Bool<300>(); }
  void SetTransparent(bool v) { SetBool<300>(v); }
  std::uint32_t BackgroundColour() const { return U32<304>() & 0xFFFFFFu; }
  void SetBackgroundColour(std::uint32_t c) { SetU32<304>(c); }
  // True: at the bottom of the picture; false: at the top.
  bool Bottom() const { return Bool<308>(); }
  void SetBottom(bool v) { SetBool<308>(v); }
  // A stored alignment outside 0..2 reads as centred (the default).
  tcaptionalign Alignment() const;
  void SetAlignment(tcaptionalign a) { SetU8<309>(static_cast<std::uint8_t>(a)); }
};

}  // namespace vantlo
