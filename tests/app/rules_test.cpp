// Small rules of the main window: command line, port list index, battery
// gauge, threshold dialog, progress bar, zoom and the picture description.
#include <gtest/gtest.h>

#include "app/batterygauge.h"
#include "app/commandline.h"
#include "app/lowvoltsrule.h"
#include "app/picturedescription.h"
#include "app/portchoice.h"
#include "app/progressreport.h"
#include "app/zoommode.h"
#include "camera/qv10int.h"

namespace vantlo {
namespace {

TEST(CommandLine, SwitchesAreUpperCasedAndMatchedByPrefix) {
  EXPECT_TRUE(ParseCommandLine({"-autocap"}, false).autostart);
  EXPECT_TRUE(ParseCommandLine({"-AUTOCAPTURE"}, false).autostart);
  EXPECT_FALSE(ParseCommandLine({"-AUTOCA"}, false).autostart);
  EXPECT_FALSE(ParseCommandLine({"-noauto"}, true).autostart);
  EXPECT_FALSE(ParseCommandLine({"-NOAUTOMATIC"}, true).autostart);
  EXPECT_TRUE(ParseCommandLine({}, true).autostart);  // the setting stands
  EXPECT_TRUE(ParseCommandLine({"-debugstart"}, false).debug);
  EXPECT_FALSE(ParseCommandLine({"-DEBUGSTARTX"}, false).debug);  // whole argument only
}

TEST(CommandLine, OnlyTheFirstArgumentCounts) {
  const auto cl = ParseCommandLine({"-DEBUGSTART", "-AUTOCAP"}, false);
  EXPECT_TRUE(cl.debug);
  EXPECT_FALSE(cl.autostart);
  EXPECT_TRUE(ParseCommandLine({"-NOAUTO", "-AUTOCAP"}, true).autostart == false);
  EXPECT_TRUE(DebugStartRequested({"--simulate", "-debugstart"}));
  EXPECT_FALSE(DebugStartRequested({"x", "-debugstart"}));
}

TEST(CommandLine, SimulateStandsAnywhereAndNamesAFamily) {
  auto cl = ParseCommandLine({"--simulate"}, false);
  EXPECT_TRUE(cl.simulate);
  EXPECT_EQ(cl.simulateFamily, "classic");
  cl = ParseCommandLine({"-AUTOCAP", "--simulate=extended"}, false);
  EXPECT_TRUE(cl.simulate);
  EXPECT_EQ(cl.simulateFamily, "extended");
  EXPECT_TRUE(cl.autostart);
  cl = ParseCommandLine({"--simulate=filesystem", "-noauto"}, true);
  EXPECT_FALSE(cl.autostart);
  EXPECT_FALSE(cl.error);
  EXPECT_TRUE(ParseCommandLine({"--simulate=qv99"}, false).error);
}

TEST(PortChoice, FourthCharacterMustBeOneToEight) {
  EXPECT_EQ(PortListIndex("COM1:"), 0);
  EXPECT_EQ(PortListIndex("COM8:"), 7);
  for (const char* bad : {"COM9:", "COM0:", "COMX:", "COM", "", "COM-:", "COM\xff:"})
    EXPECT_EQ(PortListIndex(bad), -1) << bad;
  EXPECT_EQ(ValidPortName("COM9:"), "COM1:");
  EXPECT_EQ(ValidPortName("COMA:"), "COM1:");
  EXPECT_EQ(ValidPortName("COM3:xyz"), "COM3:");
  EXPECT_EQ(PortNameOfIndex(2), "COM3:");
  EXPECT_EQ(PortNameOfIndex(42), "COM1:");
}

TEST(PortChoice, SpeedChoiceAutoIs38400AndUnknownIs9600) {
  const unsigned char expected[] = {9, 6, 8, 9, 11, 12};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(BaudIndexOfSpeedChoice(i), expected[i]);
  EXPECT_EQ(BaudIndexOfSpeedChoice(-1), 6);
  EXPECT_EQ(BaudIndexOfSpeedChoice(6), 6);
}

TEST(BatteryGauge, ColoursAndPositionsWithDefaultThreshold) {
  auto g = BatteryGaugeFor(3.6, 0);
  EXPECT_EQ(g.colour, tgaugecolour::red);
  EXPECT_EQ(g.position, 4);
  g = BatteryGaugeFor(4.25, 0);
  EXPECT_EQ(g.colour, tgaugecolour::yellow);
  EXPECT_EQ(g.position, 30);
  g = BatteryGaugeFor(5.5, 0);
  EXPECT_EQ(g.colour, tgaugecolour::green);
  EXPECT_EQ(g.position, 80);
  EXPECT_EQ(g.text, "5.5 volts");
  EXPECT_EQ(BatteryGaugeFor(4.0, 40).colour, tgaugecolour::yellow);  // equal is not red
  EXPECT_EQ(BatteryGaugeFor(4.3, 40).colour, tgaugecolour::green);
}

TEST(BatteryGauge, StoredThresholdAndClamping) {
  EXPECT_EQ(BatteryGaugeFor(4.4, 45).colour, tgaugecolour::red);
  EXPECT_EQ(BatteryGaugeFor(4.6, 45).colour, tgaugecolour::yellow);
  EXPECT_EQ(BatteryGaugeFor(3.0, 0).position, 0);
  EXPECT_EQ(BatteryGaugeFor(9.0, 0).position, 100);
  EXPECT_EQ(VoltageText(4.1875), "4.18 volts");
  EXPECT_EQ(VoltageText(3.6), "3.6 volts");
}

TEST(LowVolts, RangeAndStoredValues) {
  EXPECT_EQ(ThresholdEditText(0), "4.0");
  EXPECT_EQ(ThresholdEditText(45), "4.5");
  auto v = ParseThresholdText("3.4");
  ASSERT_TRUE(v);
  EXPECT_FALSE(ThresholdInRange(*v));
  EXPECT_TRUE(ThresholdInRange(3.5));
  EXPECT_TRUE(ThresholdInRange(6.0));
  EXPECT_FALSE(ThresholdInRange(6.01));
  EXPECT_EQ(StoredThresholdFor(*ParseThresholdText("4.0")), 0);
  EXPECT_EQ(StoredThresholdFor(*ParseThresholdText(" 4.5 ")), 45);
  EXPECT_EQ(StoredThresholdFor(3.66), 37);
  EXPECT_FALSE(ParseThresholdText("abc"));
  EXPECT_FALSE(ParseThresholdText("4.0v"));
  EXPECT_FALSE(ParseThresholdText(""));
  EXPECT_FALSE(ParseThresholdText("nan"));
  EXPECT_DOUBLE_EQ(EngineThresholdFor(0), 0.0);
  EXPECT_DOUBLE_EQ(EngineThresholdFor(45), 4.5);
}

TEST(Progress, TextAndMovingBar) {
  EXPECT_EQ(ProgressStatusText("Fetching", 0), " Fetching");
  EXPECT_EQ(ProgressStatusText("Picture", 3), " Picture 3");
  EXPECT_EQ(NextProgressPosition(10, 50), 50);
  EXPECT_EQ(NextProgressPosition(90, -5), 95);
  EXPECT_EQ(NextProgressPosition(95, -5), 5);  // reaching 100 wraps
  EXPECT_EQ(NextProgressPosition(99, -1000), 5);
  EXPECT_EQ(NextProgressPosition(0, INT32_MIN), 5);
}

TEST(Zoom, StoredValuesAndTexts) {
  EXPECT_EQ(ZoomText(ZoomModeFromStored(0)), " (Stretch to screen)");
  EXPECT_EQ(ZoomText(ZoomModeFromStored(1)), " (Fit to screen)");
  EXPECT_EQ(ZoomText(ZoomModeFromStored(10)), " (Actual Size)");
  EXPECT_EQ(ZoomText(ZoomModeFromStored(255)), " (Actual Size)");
  EXPECT_EQ(ZoomModeFromStored(4), 2);
  EXPECT_EQ(StoredFromZoomMode(4), 6);
  EXPECT_EQ(StoredFromZoomMode(-2), 0);
}

TEST(PictureDescription, LongPathsShortenedAndEmptyCleared) {
  auto d = DescribePicture("/home/u/pictures/2026/december/trip/holiday_0001.jpg", 1234);
  EXPECT_EQ(d.showing, "Showing /ho.../holiday_0001.jpg");
  EXPECT_EQ(d.size, " 1234 bytes    ");
  EXPECT_EQ(DescribePicture("/tmp/a.jpg", 5).showing, "Showing /tmp/a.jpg");
  EXPECT_TRUE(DescribePicture("", 5).showing.empty());
  EXPECT_TRUE(DescribePicture("/tmp/a.jpg", 0).size.empty());
}

}  // namespace
}  // namespace vantlo
