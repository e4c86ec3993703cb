// Faults the simulated camera injects on request, seen on the wire.
#include <gtest/gtest.h>

#include "rawclient.h"
#include "simulator/simcamera.h"

namespace vantlo::testing {
namespace {

using camsim::Family;
using camsim::Faults;
using camsim::Options;
using camsim::SimulatedCamera;

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;

Options With(Family f, Faults faults) {
  Options o;
  o.family = f;
  o.faults = faults;
  return o;
}

// Sends DC2 after a thumbnail command and returns the first packet as sent.
Bytes FirstThumbnailPacket(RawClient& c) {
  c.Command(Bytes{'D', 'H', 1}, 0);
  c.Command(Cmd("MK"), 0);
  c.Write({0x12});
  return c.Read(128 + 5, 500);
}

TEST(SimFaults, NakTheFirstEnquiriesThenAck) {
  Faults f;
  f.nakEnquiries = 2;
  SimulatedCamera cam(With(Family::classic, f));
  cam.Start();
  RawClient c(cam.DevicePath());
  EXPECT_EQ(c.Command(Cmd("MP"), 1).enquiryAnswer, kNak);
  EXPECT_EQ(c.Command(Cmd("MP"), 1).enquiryAnswer, kNak);
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{5});
}

TEST(SimFaults, NakEveryEnquiry) {
  Faults f;
  f.nakEnquiries = -1;
  SimulatedCamera cam(With(Family::extended, f));
  cam.Start();
  RawClient c(cam.DevicePath());
  for (int i = 0; i < 12; ++i) EXPECT_EQ(c.Command(Cmd("XP"), 2).enquiryAnswer, kNak);
}

TEST(SimFaults, WrongCommandChecksumStillSendsTheReply) {
  Faults f;
  f.badCommandChecksum = true;
  SimulatedCamera cam(With(Family::classic, f));
  cam.Start();
  RawClient c(cam.DevicePath());
  auto e = c.Command(Cmd("MP"), 1);
  EXPECT_NE(e.checksum, OnesComplementSum(Cmd("MP")));
  EXPECT_EQ(e.data, Bytes{5});
}

TEST(SimFaults, BadPacketKinds) {
  for (auto kind : {Faults::PacketFault::checksum, Faults::PacketFault::shortPacket,
                    Faults::PacketFault::overlong}) {
    Faults f;
    f.badPackets = 1;
    f.packetFault = kind;
    SimulatedCamera cam(With(Family::classic, f));
    cam.Start();
    RawClient c(cam.DevicePath());
    Bytes bad = FirstThumbnailPacket(c);
    ASSERT_GE(bad.size(), 3u);
    size_t declared = static_cast<size_t>(bad[1]) * 256 + bad[2];
    switch (kind) {
      case Faults::PacketFault::checksum:
        ASSERT_EQ(bad.size(), 133u);
        EXPECT_NE(bad.back(), OnesComplementSum(Bytes(bad.begin() + 1, bad.end() - 1)));
        break;
      case Faults::PacketFault::shortPacket:
        EXPECT_EQ(declared, 128u);
        EXPECT_EQ(bad.size(), 131u);
        break;
      case Faults::PacketFault::overlong:
        EXPECT_GT(declared, 128u);
        break;
    }
    // After a NAK the packet comes again, intact.
    c.Write({kNak});
    Bytes good = c.Read(133, 500);
    ASSERT_EQ(good.size(), 133u);
    EXPECT_EQ(good[1] * 256 + good[2], 128);
    EXPECT_EQ(good.back(), OnesComplementSum(Bytes(good.begin() + 1, good.end() - 1)));
    EXPECT_EQ(good[131], 0x17);
  }
}

TEST(SimFaults, SilenceAfterSomeBytes) {
  Faults f;
  f.silenceAfterBytes = 3;  // ACK, checksum, data byte of the first command
  SimulatedCamera cam(With(Family::classic, f));
  cam.Start();
  RawClient c(cam.DevicePath());
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{5});
  EXPECT_EQ(c.Command(Cmd("MP"), 1, 300).enquiryAnswer, -1);
}

TEST(SimFaults, BatteryPlayModeAndCount) {
  Faults f;
  f.batteryByte = 0x30;
  f.playMode = true;
  SimulatedCamera cam(With(Family::classic, f));
  cam.Start();
  RawClient c(cam.DevicePath());
  EXPECT_EQ(c.Command(Bytes{'R', 'B', 0x05, 0xFF, 0xFE, 0xE6}, 1).data, Bytes{0x30});
  EXPECT_EQ(c.Command(Cmd("DR"), 1).data, Bytes{kNak});
  EXPECT_EQ(cam.PictureCount(), 5) << "play mode takes no picture";

  Faults g;
  g.countOverride = 301;
  g.batteryByte = 1;
  SimulatedCamera ext(With(Family::extended, g));
  ext.Start();
  RawClient e(ext.DevicePath());
  EXPECT_EQ(e.Command(Cmd("XP"), 2).data, (Bytes{0x01, 0x2D}));
  EXPECT_EQ(e.Command(Cmd("BC"), 1).data, Bytes{1});
}

TEST(SimFaults, StaleInputIsDrainedAtStart) {
  Options o;
  SimulatedCamera cam(o);
  {
    RawClient early(cam.DevicePath());
    early.Write({0x05, 0x05, 'M', 'P'});
  }
  cam.Start();
  RawClient c(cam.DevicePath());
  EXPECT_TRUE(c.Read(1, 200).empty()) << "no answer to bytes sent before start";
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{5});
  EXPECT_EQ(cam.Stats().enquiries, 1);
}

}  // namespace
}  // namespace vantlo::testing
