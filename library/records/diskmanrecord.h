// "DISKMAN" (328 bytes): disk browser state, slide-show delay, print page
// setup and the picture zoom.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

class tdiskmanrecord : public trecord<defaultimages::kDiskManSize> {
 public:
  static constexpr const char* Name = "DISKMAN";
  static constexpr int kBrowsePage = 2;
  static constexpr int kDelayChoices = 11;
  // Slide-show delays of the index, in milliseconds.
  static constexpr std::array<int, kDelayChoices> kDelaysMs = {
      120000, 60000, 45000, 30000, 16000, 8000, 4000, 3000, 2000, 1000, 0};
  static constexpr double kMaxMargin = 0.1;
  static constexpr int kMinFontSize = 1;
  static constexpr int kMaxFontSize = 500;

  tdiskmanrecord() : trecord(defaultimages::DiskMan()) {}
  explicit tdiskmanrecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // Lower page at exit: 2 "Browse", 1 the other; anything else reads 2.
  int LowerPage() const;
  void SetLowerPage(int page) { SetI32<260>(page == 1 ? 1 : kBrowsePage); }
  bool ShowFolders() const { return Bool<264>(); }
  void SetShowFolders(bool v) { SetBool<264>(v); }
  bool ShowCam() const { return Bool<265>(); }
  void SetShowCam(bool v) { SetBool<265>(v); }
  bool ShowJpg() const { return Bool<266>(); }
  void SetShowJpg(bool v) { SetBool<266>(v); }
  // Handed to the disk thumbnail manager at start; always written 1.
  std::uint8_t AutoLoad() const { return U8<267>(); }
  void SetAutoLoad(std::uint8_t v) { SetU8<267>(v); }
  // Slide-show delay index 0..10; a stored value outside reads 2.
  int SlideShowDelayIndex() const;
  void SetSlideShowDelayIndex(int i) { SetI32<268>(recordbytes::IndexOr(i, kDelayChoices, 2)); }
  // The delay of SlideShowDelayIndex() in milliseconds.
  int SlideShowDelayMs() const;
  // Printing margin 0..0.1 (clamped; not a number reads 0.03).
  double PrintMargin() const;
  void SetPrintMargin(double v);
  bool PrintTitles() const { return Bool<280>(); }
  void SetPrintTitles(bool v) { SetBool<280>(v); }
  bool PrintBorders() const { return Bool<281>(); }
  void SetPrintBorders(bool v) { SetBool<281>(v); }
  std::string PrintFontName() const { return Str<282, 32>(); }
  void SetPrintFontName(std::string_view s) { SetStr<282, 32>(s); }
  std::uint32_t PrintFontColour() const { return U32<316>() & 0xFFFFFFu; }
  void SetPrintFontColour(std::uint32_t c) { SetU32<316>(c); }
  // Points, 1..500 (clamped).
  int PrintFontSize() const;
  void SetPrintFontSize(int points);
  std::uint8_t PrintFontStyle() const { return U8<322>() & 0x0F; }
  void SetPrintFontStyle(std::uint8_t bits) { SetU8<322>(bits & 0x0F); }
  // Picture zoom mode: -2 stretch, -1 fit, 1..7 reduced to enlarged (4 is
  // actual size), stored plus 2. A stored value above 9 reads as 4; a stored
  // 2 (mode 0) gives nullopt: leave the zoom as it is.
  std::optional<int> ZoomMode() const;
  void SetZoomMode(int mode);
  // The FTP client has been registered again once.
  bool FtpRegistered() const { return Bool<324>(); }
  void SetFtpRegistered(bool v) { SetBool<324>(v); }
};

}  // namespace vantlo
