#include "library/records/configrecord.h"

namespace vantlo {

namespace {

constexpr int kMinQuality = 1;
constexpr int kMaxQuality = 100;
constexpr int kMaxPrintGrid = 6;

}  // namespace

int tconfigrecord::PortNumber() const {
  const std::string name = Str<0, 5>();
  if (name.size() >= 4 && name[3] >= '1' && name[3] <= '8') return name[3] - '0';
  return 1;
}

std::string tconfigrecord::Port() const { return "COM" + std::to_string(PortNumber()) + ":"; }

// A value outside the list (a damaged record) reads as "9600", the speed every camera starts at,
// not as "Auto" (38400).
int tconfigrecord::SpeedChoice() const {
  return recordbytes::IndexOr(I32<8>(), kSpeedChoices, kSpeedChoice9600);
}

int tconfigrecord::PictureSize() const { return recordbytes::IndexOr(U8<12>(), kPictureSizes, 0); }

int tconfigrecord::ExpandAmount() const {
  return recordbytes::ClampTo<int>(I32<16>(), 0, kMaxExpand);
}
void tconfigrecord::SetExpandAmount(int v) { SetI32<16>(recordbytes::ClampTo(v, 0, kMaxExpand)); }

int tconfigrecord::JpegQuality() const {
  return recordbytes::ClampTo<int>(I32<20>(), kMinQuality, kMaxQuality);
}
void tconfigrecord::SetJpegQuality(int v) {
  SetI32<20>(recordbytes::ClampTo(v, kMinQuality, kMaxQuality));
}

std::optional<int> tconfigrecord::StartPage() const {
  switch (const std::int32_t page = I32<304>()) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 13:
      return page;
    default:
      return std::nullopt;
  }
}

twebcamsettings tconfigrecord::WebcamSettings() const {
  return twebcamsettings(Block<312, twebcamsettings::Size>());
}

void tconfigrecord::SetWebcamSettings(const twebcamsettings& block) {
  twebcamsettings stored = block;
  stored.SetActive(false);
  std::array<std::uint8_t, twebcamsettings::Size> bytes;
  std::copy(stored.Bytes().begin(), stored.Bytes().end(), bytes.begin());
  SetBlock<312, twebcamsettings::Size>(bytes);
}

int tconfigrecord::PrintRows() const {
  return recordbytes::ClampTo<int>(I32<2800>(), 1, kMaxPrintGrid);
}
void tconfigrecord::SetPrintRows(int v) { SetI32<2800>(recordbytes::ClampTo(v, 1, kMaxPrintGrid)); }
int tconfigrecord::PrintColumns() const {
  return recordbytes::ClampTo<int>(I32<2804>(), 1, kMaxPrintGrid);
}
void tconfigrecord::SetPrintColumns(int v) {
  SetI32<2804>(recordbytes::ClampTo(v, 1, kMaxPrintGrid));
}

}  // namespace vantlo
