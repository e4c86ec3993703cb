// "CONTACTD5" (344 bytes): contact-sheet layout, the webcam-mode sound, the
// low-battery threshold and the internet connection choice.
#pragma once

#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

class tcontactrecord : public trecord<defaultimages::kContactSize> {
 public:
  static constexpr const char* Name = "CONTACTD5";
  static constexpr int kMaxGrid = 10;
  static constexpr int kMaxSheetSize = 4000;
  static constexpr double kMaxMargin = 0.04;
  static constexpr int kMinThreshold = 35;  // tenths of a volt
  static constexpr int kMaxThreshold = 60;
  static constexpr int kNetworkConnection = -1;
  static constexpr int kMinFontSize = 1;
  static constexpr int kMaxFontSize = 500;

  tcontactrecord() : trecord(defaultimages::Contact()) {}
  explicit tcontactrecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // Rows and columns 1..10, width and height 1..4000 pixels (all clamped).
  int Rows() const;
  void SetRows(int v);
  int Columns() const;
  void SetColumns(int v);
  int SheetWidth() const;
  void SetSheetWidth(int v);
  int SheetHeight() const;
  void SetSheetHeight(int v);
  std::string FontName() const { return Str<16, 32>(); }
  void SetFontName(std::string_view s) { SetStr<16, 32>(s); }
  std::uint32_t FontColour() const { return U32<52>() & 0xFFFFFFu; }
  void SetFontColour(std::uint32_t c) { SetU32<52>(c); }
  // Points, 1..500 (clamped).
  int FontSize() const;
  void SetFontSize(int points);
  std::uint8_t FontStyle() const { return U8<58>() & 0x0F; }
  void SetFontStyle(std::uint8_t bits) { SetU8<58>(bits & 0x0F); }
  // Margin 0..0.04 (clamped; not a number reads 0.005).
  double Margin() const;
  void SetMargin(double v);
  bool PrintBorders() const { return Bool<72>(); }
  void SetPrintBorders(bool v) { SetBool<72>(v); }
  bool CaptionTitle() const { return Bool<73>(); }
  void SetCaptionTitle(bool v) { SetBool<73>(v); }
  bool CaptionFilename() const { return Bool<74>(); }
  void SetCaptionFilename(bool v) { SetBool<74>(v); }
  bool CaptionFileSize() const { return Bool<75>(); }
  void SetCaptionFileSize(bool v) { SetBool<75>(v); }
  // Sound played before each timed capture when PlaySound() is set.
  std::string SoundFile() const { return Str<76, 255>(); }
  void SetSoundFile(std::string_view s) { SetStr<76, 255>(s); }
  // Low-battery threshold in tenths of a volt: 0 (the default 4.0 V) or
  // 35..60; a stored value outside reads as 0.
  int LowBatteryThreshold() const;
  void SetLowBatteryThreshold(int tenths);
  // Index of the dial-up entry, or kNetworkConnection; below -1 reads -1.
  int InternetConnection() const;
  void SetInternetConnection(int v) {
    SetI32<336>(v < kNetworkConnection ? kNetworkConnection : v);
  }
  bool PlaySound() const { return Bool<340>(); }
  void SetPlaySound(bool v) { SetBool<340>(v); }
  // Remote host: true "Use Host Information File", false "Use these details".
  bool UseHostInfoFile() const { return Bool<341>(); }
  void SetUseHostInfoFile(bool v) { SetBool<341>(v); }
};

}  // namespace vantlo
