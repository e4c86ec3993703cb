#include "library/records/contactrecord.h"

namespace vantlo {

namespace {

constexpr double kDefaultMargin = 0.005;

}  // namespace

int tcontactrecord::Rows() const { return recordbytes::ClampTo<int>(I32<0>(), 1, kMaxGrid); }
void tcontactrecord::SetRows(int v) { SetI32<0>(recordbytes::ClampTo(v, 1, kMaxGrid)); }
int tcontactrecord::Columns() const { return recordbytes::ClampTo<int>(I32<4>(), 1, kMaxGrid); }
void tcontactrecord::SetColumns(int v) { SetI32<4>(recordbytes::ClampTo(v, 1, kMaxGrid)); }
int tcontactrecord::SheetWidth() const {
  return recordbytes::ClampTo<int>(I32<8>(), 1, kMaxSheetSize);
}
void tcontactrecord::SetSheetWidth(int v) { SetI32<8>(recordbytes::ClampTo(v, 1, kMaxSheetSize)); }
int tcontactrecord::SheetHeight() const {
  return recordbytes::ClampTo<int>(I32<12>(), 1, kMaxSheetSize);
}
void tcontactrecord::SetSheetHeight(int v) {
  SetI32<12>(recordbytes::ClampTo(v, 1, kMaxSheetSize));
}

int tcontactrecord::FontSize() const {
  return recordbytes::ClampTo<int>(U16<56>(), kMinFontSize, kMaxFontSize);
}
void tcontactrecord::SetFontSize(int points) {
  SetU16<56>(static_cast<std::uint16_t>(recordbytes::ClampTo(points, kMinFontSize, kMaxFontSize)));
}

double tcontactrecord::Margin() const {
  return recordbytes::ClampReal(F64<64>(), 0.0, kMaxMargin, kDefaultMargin);
}
void tcontactrecord::SetMargin(double v) {
  SetF64<64>(recordbytes::ClampReal(v, 0.0, kMaxMargin, kDefaultMargin));
}

int tcontactrecord::LowBatteryThreshold() const {
  const std::int32_t v = I32<332>();
  return v >= kMinThreshold && v <= kMaxThreshold ? v : 0;
}
void tcontactrecord::SetLowBatteryThreshold(int tenths) {
  SetI32<332>(tenths >= kMinThreshold && tenths <= kMaxThreshold ? tenths : 0);
}

int tcontactrecord::InternetConnection() const {
  const std::int32_t v = I32<336>();
  return v < kNetworkConnection ? kNetworkConnection : v;
}

}  // namespace vantlo
