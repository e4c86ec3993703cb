#include "library/records/capdatarecord.h"

namespace vantlo {

tcaptionrecord tcapdatarecord::Caption(tcaptionkind kind) const {
  return tcaptionrecord(kind == tcaptionkind::Webcam ? Block<312, tcaptionrecord::Size>()
                                                     : Block<0, tcaptionrecord::Size>());
}

void tcapdatarecord::SetCaption(tcaptionkind kind, const tcaptionrecord& caption) {
  std::array<std::uint8_t, tcaptionrecord::Size> bytes;
  std::copy(caption.Bytes().begin(), caption.Bytes().end(), bytes.begin());
  if (kind == tcaptionkind::Webcam) {
    SetBlock<312, tcaptionrecord::Size>(bytes);
  } else {
    SetBlock<0, tcaptionrecord::Size>(bytes);
  }
}

}  // namespace vantlo
