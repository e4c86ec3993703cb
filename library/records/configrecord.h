// "CONFIGD5" (2816 bytes): serial link, CAM-to-JPEG options, saving and
// naming, the start page, the timed-capture block, the picture cache folder,
// the MiniLab defaults and the print grid.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"
#include "library/records/webcamsettings.h"

namespace vantlo {

class tconfigrecord : public trecord<defaultimages::kConfigSize> {
 public:
  static constexpr const char* Name = "CONFIGD5";
  static constexpr int kSpeedChoices = 6;  // "Auto" "9600" ... "115200"
  static constexpr int kSpeedChoice9600 = 1;
  static constexpr int kPictureSizes = 8;  // "Default" ... "Quarter Size"
  // The entries of the speed and CAM-to-JPEG size lists, in stored order.
  static constexpr std::array<const char*, kSpeedChoices> kSpeedNames = {
      "Auto", "9600", "19200", "38400", "57600", "115200"};
  static constexpr std::array<const char*, kPictureSizes> kPictureSizeNames = {
      "Default",   "160 x 120",  "320 x 240", "480 x 360",
      "640 x 480", "1280 x 960", "Half Size", "Quarter Size"};
  static constexpr int kMaxExpand = 50;
  static constexpr std::size_t kPrefixMax = 10;
  static constexpr std::size_t kReservedOffset = 2808;
  static constexpr std::size_t kReservedSize = 8;

  tconfigrecord() : trecord(defaultimages::Config()) {}
  explicit tconfigrecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // --- serial link ---
  // The port name, "COM1:" to "COM8:". The fourth character picks the port;
  // a stored name whose fourth character is not 1..8 reads as "COM1:".
  std::string Port() const;
  // 1..8, the digit of Port().
  int PortNumber() const;
  // Keeps the first five characters, as the port list does.
  void SetPort(std::string_view name) { SetStr<0, 5>(name); }
  // Index into "Auto", "9600", "19200", "38400", "57600", "115200"; a value
  // outside the list (stored or given) reads as 1 ("9600").
  int SpeedChoice() const;
  void SetSpeedChoice(int index) {
    SetI32<8>(recordbytes::IndexOr(index, kSpeedChoices, kSpeedChoice9600));
  }

  // --- CAM to JPEG ---
  // Index into "Default", "160 x 120", ..., "Quarter Size"; outside reads 0.
  int PictureSize() const;
  void SetPictureSize(int index) {
    SetU8<12>(static_cast<std::uint8_t>(recordbytes::IndexOr(index, kPictureSizes, 0)));
  }
  bool PlainStretch() const { return Bool<13>(); }
  void SetPlainStretch(bool v) { SetBool<13>(v); }
  bool ColorRangeExpand() const { return Bool<14>(); }
  void SetColorRangeExpand(bool v) { SetBool<14>(v); }
  std::uint8_t AlwaysReencode() const { return U8<15>(); }
  void SetAlwaysReencode(std::uint8_t v) { SetU8<15>(v); }
  // Colour range expansion, 0..50 (clamped).
  int ExpandAmount() const;
  void SetExpandAmount(int v);
  // JPEG quality 1..100 (clamped; 0 is stored as 1).
  int JpegQuality() const;
  void SetJpegQuality(int v);
  bool ProgressiveJpeg() const { return Bool<24>(); }
  void SetProgressiveJpeg(bool v) { SetBool<24>(v); }

  // --- saving ---
  // Folder for saved pictures; empty means the current directory.
  std::string SaveFolder() const { return Str<26, 255>(); }
  void SetSaveFolder(std::string_view s) { SetStr<26, 255>(s); }
  bool ConfirmDeleteFromCamera() const { return Bool<282>(); }
  void SetConfirmDeleteFromCamera(bool v) { SetBool<282>(v); }
  bool ConfirmDeleteFile() const { return Bool<283>(); }
  void SetConfirmDeleteFile(bool v) { SetBool<283>(v); }
  bool ConfirmOverwrite() const { return Bool<284>(); }
  void SetConfirmOverwrite(bool v) { SetBool<284>(v); }
  char SaveDrive() const { return static_cast<char>(U8<285>()); }
  void SetSaveDrive(char c) { SetU8<285>(static_cast<std::uint8_t>(c)); }
  bool DailyFolder() const { return Bool<286>(); }
  void SetDailyFolder(bool v) { SetBool<286>(v); }
  bool SaveJpeg() const { return Bool<287>(); }
  void SetSaveJpeg(bool v) { SetBool<287>(v); }
  bool SaveCam() const { return Bool<288>(); }
  void SetSaveCam(bool v) { SetBool<288>(v); }
  bool SaveThumbnails() const { return Bool<289>(); }
  void SetSaveThumbnails(bool v) { SetBool<289>(v); }
  bool SaveContactSheets() const { return Bool<290>(); }
  void SetSaveContactSheets(bool v) { SetBool<290>(v); }
  // True: names by date (style in textrarecord::Date2Style); false: Prefix().
  bool NameByDate() const { return Bool<291>(); }
  void SetNameByDate(bool v) { SetBool<291>(v); }
  std::string Prefix() const { return Str<292, 10>(); }
  void SetPrefix(std::string_view s) { SetStr<292, 10>(s); }

  // --- main window ---
  // The page shown at start: one of 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13;
  // any other stored value gives nullopt (leave the page as it is).
  std::optional<int> StartPage() const;
  void SetStartPage(int page) { SetI32<304>(page); }

  // --- timed capture (webcam mode) ---
  twebcamsettings WebcamSettings() const;
  // Stores the block with its running flag cleared.
  void SetWebcamSettings(const twebcamsettings& block);

  // Folder of the camera picture cache; empty: the default temp folder.
  std::string CacheFolder() const { return Str<2144, 255>(); }
  void SetCacheFolder(std::string_view s) { SetStr<2144, 255>(s); }

  // --- MiniLab defaults ---
  std::string MiniLabFontName() const { return Str<2482, 31>(); }
  void SetMiniLabFontName(std::string_view s) { SetStr<2482, 31>(s); }
  std::uint32_t MiniLabFontColour() const { return U32<2516>() & 0xFFFFFFu; }
  void SetMiniLabFontColour(std::uint32_t c) { SetU32<2516>(c); }
  int MiniLabFontSize() const { return I16<2520>(); }
  void SetMiniLabFontSize(int v) { SetI16<2520>(static_cast<std::int16_t>(v)); }
  bool MiniLabFetchThumbnails() const { return Bool<2524>(); }
  void SetMiniLabFetchThumbnails(bool v) { SetBool<2524>(v); }
  bool MiniLabSaveThumbnails() const { return Bool<2525>(); }
  void SetMiniLabSaveThumbnails(bool v) { SetBool<2525>(v); }
  bool MiniLabFetchPictures() const { return Bool<2526>(); }
  void SetMiniLabFetchPictures(bool v) { SetBool<2526>(v); }
  bool MiniLabSaveJpeg() const { return Bool<2527>(); }
  void SetMiniLabSaveJpeg(bool v) { SetBool<2527>(v); }
  bool MiniLabSaveCam() const { return Bool<2528>(); }
  void SetMiniLabSaveCam(bool v) { SetBool<2528>(v); }
  bool MiniLabPrint() const { return Bool<2529>(); }
  void SetMiniLabPrint(bool v) { SetBool<2529>(v); }
  std::uint8_t MiniLabByte2530() const { return U8<2530>(); }
  bool MiniLabSaveContactSheets() const { return Bool<2531>(); }
  void SetMiniLabSaveContactSheets(bool v) { SetBool<2531>(v); }
  std::uint8_t MiniLabByte2532() const { return U8<2532>(); }
  std::string MiniLabPictureFile() const { return Str<2544, 255>(); }
  void SetMiniLabPictureFile(std::string_view s) { SetStr<2544, 255>(s); }

  // Date-time of the last orderly exit.
  tdatetime LastExit() const { return DateTime<2536>(); }
  void SetLastExit(tdatetime t) { SetDateTime<2536>(t); }

  // --- printing ---
  // Rows and columns of pictures per printed page, 1..6 (clamped).
  int PrintRows() const;
  void SetPrintRows(int v);
  int PrintColumns() const;
  void SetPrintColumns(int v);

  // The 8 bytes the store keeps for itself (see tregconfig::WriteConfig).
  std::array<std::uint8_t, kReservedSize> Reserved() const {
    return Block<kReservedOffset, kReservedSize>();
  }
  void SetReserved(const std::array<std::uint8_t, kReservedSize>& b) {
    SetBlock<kReservedOffset, kReservedSize>(b);
  }
};

}  // namespace vantlo
