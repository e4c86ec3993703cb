#include "app/portscan.h"

#include <gtest/gtest.h>

#include <map>

namespace vantlo {
namespace {

// A probe with a fixed answer per port; the real engine on a simulated
// camera is exercised in the wizard window test.
struct tfakeprobe : tlinkprobe {
  std::string current = "COM2:";
  std::map<std::string, std::pair<int, int>> answers;  // port -> status, error
  std::vector<std::string> selected;
  std::string CurrentPortName() const override { return current; }
  void SelectPort(const std::string& n) override {
    current = n;
    selected.push_back(n);
  }
  int TestLink(std::string& b, int& e) override {
    b.clear();
    auto it = answers.find(current);
    if (it == answers.end()) {
      e = 2;
      return 2;
    }
    e = it->second.second;
    return it->second.first;
  }
  std::string ErrorText(int code) const override { return "err" + std::to_string(code); }
};

struct trowview : tportscanview {
  std::map<int, std::string> status, error;
  std::vector<int> testing;
  std::function<void()> onPump = [] {};
  std::string found;
  void RowTesting(int r) override { testing.push_back(r); }
  void RowResult(int r, int, const std::string& s, const std::string& e) override {
    status[r] = s;
    error[r] = e;
  }
  void CameraFound(int, const std::string& p) override { found = "Camera found on " + p; }
  void Pump() override { onPump(); }
};

TEST(PortScan, StopsAtTheFirstCameraAndLeavesLaterPortsUntested) {
  tfakeprobe probe;
  probe.answers["COM2:"] = {7, 0};
  probe.answers["COM3:"] = {1, 0};
  tportscan scan(probe);
  scan.Prepare();
  EXPECT_EQ(scan.DetectedPort(), "not found");
  trowview view;
  EXPECT_TRUE(scan.TestAllPorts(view));
  EXPECT_EQ(view.status[0], "Port not available");
  EXPECT_EQ(view.error[0], "err2");
  EXPECT_EQ(view.status[1], "No response");
  EXPECT_EQ(view.status[2], "Camera Connected");
  EXPECT_EQ(view.status.count(3), 0u);
  EXPECT_EQ(view.found, "Camera found on COM3:");
  EXPECT_EQ(scan.DetectedPort(), "COM3:");
  scan.Finish(true);
  EXPECT_EQ(probe.current, "COM3:");
}

TEST(PortScan, CancelStopsBeforeTheNextPortAndRestoresThePort) {
  tfakeprobe probe;
  tportscan scan(probe);
  scan.Prepare();
  trowview view;
  view.onPump = [&] {
    if (view.testing.size() == 2) scan.Cancel();
  };
  EXPECT_FALSE(scan.TestAllPorts(view));
  EXPECT_EQ(view.testing, (std::vector<int>{0, 1}));
  scan.Finish(false);
  EXPECT_EQ(probe.current, "COM2:");
}

TEST(PortScan, NoCameraAnywhereTestsAllEight) {
  tfakeprobe probe;
  tportscan scan(probe);
  scan.Prepare();
  trowview view;
  EXPECT_FALSE(scan.TestAllPorts(view));
  EXPECT_EQ(view.status.size(), 8u);
  EXPECT_EQ(scan.DetectedPort(), "not found");
  scan.Finish(true);  // nothing detected: back to the remembered port
  EXPECT_EQ(probe.current, "COM2:");
  EXPECT_EQ(TestLinkStatusText(8), "Reset error");
  EXPECT_EQ(TestLinkStatusText(9), "Unknown");
}

}  // namespace
}  // namespace vantlo
