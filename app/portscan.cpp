#include "portscan.h"

#include "portchoice.h"

namespace vantlo {

std::string TestLinkStatusText(int status) {
  static const char* const kTexts[] = {"Camera Connected", "Port not available", "Write error #1",
                                       "Write error #2",   "Read error #1",      "Not a camera",
                                       "No response",      "Reset error"};
  if (status < 1 || status > 8) return "Unknown";
  return kTexts[status - 1];
}

void tportscan::Prepare() {
  remembered_ = probe_.CurrentPortName();
  detected_ = kNotFound;
  cancelled_ = false;
}

bool tportscan::TestAllPorts(tportscanview& view) {
  cancelled_ = false;
  for (int row = 0; row < kPortCount; ++row) {
    const std::string name = PortNameOfIndex(row);
    view.RowTesting(row);
    probe_.SelectPort(name);
    std::string firstByte;
    int error = 0;
    const int status = probe_.TestLink(firstByte, error);
    view.RowResult(row, status, TestLinkStatusText(status), probe_.ErrorText(error));
    if (status == 1) {
      detected_ = name;
      view.CameraFound(row, name);
      return true;
    }
    if (row + 1 < kPortCount) {
      view.Pump();
      if (cancelled_) return false;
    }
  }
  return false;
}

void tportscan::Finish(bool useDetected) {
  if (useDetected && detected_ != kNotFound)
    probe_.SelectPort(detected_);
  else if (!remembered_.empty())
    probe_.SelectPort(remembered_);
}

}  // namespace vantlo
