// The simulated camera's bytes on the wire and its state, seen from a bare pty client.
#include <gtest/gtest.h>

#include "rawclient.h"
#include "simulator/simcamera.h"

namespace vantlo::testing {
namespace {

using camsim::Family;
using camsim::Options;
using camsim::SimulatedCamera;

constexpr uint8_t kAck = 0x06;

struct Sim {
  explicit Sim(Options o) : camera(o) { camera.Start(); }
  explicit Sim(Family f) : Sim(OptionsFor(f)) {}
  static Options OptionsFor(Family f) {
    Options o;
    o.family = f;
    return o;
  }
  SimulatedCamera camera;
};

// Data of all packets before the end packet; checks every frame on the way.
Bytes Payload(const std::vector<RawClient::Packet>& packets, size_t blockSize) {
  Bytes data;
  for (size_t i = 0; i < packets.size(); ++i) {
    const Bytes& p = packets[i].raw;
    EXPECT_TRUE(packets[i].complete) << "packet " << i;
    if (p.size() < 5) break;
    size_t n = static_cast<size_t>(p[1]) * 256 + p[2];
    EXPECT_EQ(p[0], 0x02) << "packet " << i;
    EXPECT_LE(n, blockSize) << "packet " << i;
    EXPECT_EQ(p.back(), OnesComplementSum(Bytes(p.begin() + 1, p.end() - 1))) << "packet " << i;
    if (n == 0) {
      EXPECT_EQ(p, (Bytes{0x02, 0x00, 0x00, 0x03, 0xFC}));
      EXPECT_EQ(i, packets.size() - 1);
      break;
    }
    EXPECT_EQ(p[3 + n], 0x17) << "data packets end with the trailer 0x17";
    data.insert(data.end(), p.begin() + 3, p.begin() + 3 + static_cast<long>(n));
  }
  return data;
}

TEST(SimFraming, CommandChecksumIsOnesComplementAndCountFollows) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  auto e = c.Command(Cmd("MP"), 1);
  EXPECT_EQ(e.enquiryAnswer, kAck);
  EXPECT_EQ(e.checksum, OnesComplementSum(Cmd("MP")));
  EXPECT_EQ(e.data, Bytes{5});
  // Arguments, NUL included, count in the checksum.
  auto b = c.Command(Bytes{'R', 'B', 0x05, 0xFF, 0xFE, 0xE6}, 1);
  EXPECT_EQ(b.checksum, OnesComplementSum(Bytes{'R', 'B', 0x05, 0xFF, 0xFE, 0xE6}));
  EXPECT_EQ(b.data, Bytes{0x50});
}

TEST(SimFraming, ThumbnailPacketsAtDefaultBlockSizeEndWithTheEmptyPacket) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  ASSERT_EQ(c.Command(Bytes{'D', 'H', 1}, 0).checksum, OnesComplementSum(Bytes{'D', 'H', 1}));
  ASSERT_GE(c.Command(Cmd("MK"), 0).checksum, 0);
  auto packets = c.ReceivePackets();
  Bytes thumb = Payload(packets, 128);
  EXPECT_EQ(thumb.size(), 2808u);
  EXPECT_EQ(packets.size(), 2808 / 128 + 1 + 1);  // 22 full, 1 partial, 1 end
}

TEST(SimFraming, PictureUsesNegotiatedBlockSizeAndSpeed) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  ASSERT_GE(c.Command(Bytes{'C', 'B', 0x03}, 0).checksum, 0);
  c.SetBaud(115200);
  ASSERT_GE(c.Command(Bytes{'P', 'P', 0x10, 0x00}, 0).checksum, 0);
  c.Sync();
  EXPECT_EQ(sim.camera.BaudRate(), 115200);
  EXPECT_EQ(sim.camera.BlockSize(), 4096);
  ASSERT_GE(c.Command(Bytes{'D', 'A', 2}, 0).checksum, 0);
  ASSERT_GE(c.Command(Cmd("DL"), 0).checksum, 0);
  ASSERT_GE(c.Command(Cmd("Mg"), 0).checksum, 0);
  Bytes picture = Payload(c.ReceivePackets(), 4096);
  ASSERT_GT(picture.size(), 136u);
  EXPECT_EQ(picture[0], 0x01) << "picture 2 is a fine picture: raw flavour 1";
  ASSERT_GE(c.Command(Bytes{'D', 'A', 1}, 0).checksum, 0);
  ASSERT_GE(c.Command(Cmd("DL"), 0).checksum, 0);
  ASSERT_GE(c.Command(Cmd("MG"), 0).checksum, 0);
  picture = Payload(c.ReceivePackets(), 4096);
  ASSERT_GT(picture.size(), 136u);
  EXPECT_EQ(picture[0], 0x00) << "normal pictures are raw flavour 0";
}

TEST(SimFraming, ClassicModeBitsSayFineAndProtected) {
  Options o = Sim::OptionsFor(Family::classic);
  o.protectedPictures = {1, 2};
  Sim sim(o);
  RawClient c(sim.camera.DevicePath());
  auto mode = [&c](uint8_t n) { return c.Command(Bytes{'D', 'Y', 0x02, n}, 1).data; };
  // Bit 1: fine (pictures 2 and 5 of the generated ones); bit 0: protected.
  EXPECT_EQ(mode(1), Bytes{0x01});
  EXPECT_EQ(mode(2), Bytes{0x03});
  EXPECT_EQ(mode(3), Bytes{0x00}) << "a normal unprotected picture answers 0";
  EXPECT_EQ(mode(5), Bytes{0x02});
}

TEST(SimFraming, ResetReturnsTo9600AndBlockSize128) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  c.Command(Bytes{'C', 'B', 0x0B}, 0);
  c.SetBaud(38400);
  c.Command(Bytes{'P', 'P', 0x08, 0x00}, 0);
  c.Sync();
  ASSERT_EQ(sim.camera.BlockSize(), 2048);
  ASSERT_GE(c.Command(Cmd("QR"), 0).checksum, 0);
  c.SetBaud(9600);
  c.Sync();
  EXPECT_EQ(sim.camera.BaudRate(), 9600);
  EXPECT_EQ(sim.camera.BlockSize(), 128);
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{5});
}

TEST(SimFraming, BytesAtTheWrongSpeedAreNoise) {
  Sim sim(Family::classic);
  {
    RawClient wrong(sim.camera.DevicePath(), 19200);
    EXPECT_EQ(wrong.Command(Cmd("MP"), 1, 300).enquiryAnswer, -1);
  }
  RawClient c(sim.camera.DevicePath());
  ASSERT_GE(c.Command(Bytes{'C', 'B', 0x03}, 0).checksum, 0);
  // The client forgets to switch: the camera hears nothing it understands.
  EXPECT_EQ(c.Command(Cmd("MP"), 1, 300).enquiryAnswer, -1);
  EXPECT_GT(sim.camera.Stats().noiseBytes, 0);
  c.SetBaud(115200);
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{5});
}

TEST(SimState, DeleteRenumbersAndDeleteAllEmpties) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  // Picture 2 is a fine picture; after deleting picture 1 it is picture 1.
  EXPECT_EQ(c.Command(Bytes{'D', 'Y', 0x02, 2}, 1).data, Bytes{2});
  EXPECT_EQ(c.Command(Bytes{'D', 'Y', 0x02, 1}, 1).data, Bytes{0});
  ASSERT_GE(c.Command(Bytes{'D', 'F', 1, 0xFF}, 0).checksum, 0);
  c.Sync();
  EXPECT_EQ(sim.camera.PictureCount(), 4);
  EXPECT_EQ(c.Command(Bytes{'D', 'Y', 0x02, 1}, 1).data, Bytes{2});
  // A number beyond the pictures is refused: no checksum byte.
  EXPECT_EQ(c.Command(Bytes{'D', 'F', 9, 0xFF}, 0, 300).checksum, -1);
  ASSERT_GE(c.Command(Cmd("DD"), 0).checksum, 0);
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{0});
  // Taking a picture adds one.
  EXPECT_EQ(c.Command(Cmd("DR"), 1).data, Bytes{kAck});
  EXPECT_EQ(c.Command(Cmd("MP"), 1).data, Bytes{1});
}

TEST(SimState, ExtendedRenumbersAfterDeleteAndClassicIgnoresXC) {
  Sim classic(Family::classic);
  RawClient cc(classic.camera.DevicePath());
  EXPECT_EQ(cc.Command(Cmd("XC"), 1, 300).checksum, -1);
  EXPECT_EQ(cc.Command(Cmd("MP"), 1).enquiryAnswer, kAck) << "still answers after the probe";

  Sim ext(Family::extended);
  RawClient c(ext.camera.DevicePath());
  EXPECT_EQ(c.Command(Cmd("XC"), 1).checksum, OnesComplementSum(Cmd("XC")));
  EXPECT_EQ(c.Command(Cmd("XP"), 2).data, (Bytes{0, 5}));
  EXPECT_EQ(c.Command(Bytes{'X', 'K', 0, 1}, 1).data, Bytes{1});
  EXPECT_EQ(c.Command(Bytes{'X', 'K', 0, 2}, 1).data, Bytes{2});
  c.Command(Bytes{'E', 'Y', 0, 0, 1}, 0);
  c.Command(Bytes{'X', 'F', 0, 1, 0, 1}, 0);
  EXPECT_EQ(c.Command(Cmd("XP"), 2).data, (Bytes{0, 4}));
  EXPECT_EQ(c.Command(Bytes{'X', 'K', 0, 1}, 1).data, Bytes{2}) << "old picture 2 is now 1";
  EXPECT_EQ(c.Command(Cmd("ZD"), 1, 300).checksum, -1) << "no file system";
}

TEST(SimState, FileSystemFoldersListsAndFiles) {
  Sim sim(Family::filesystem);
  RawClient c(sim.camera.DevicePath());
  // Climb to the top: 0 while going up, 0xFF at the top.
  int steps = 0;
  while (c.Command(Cmd("ZD"), 1).data != Bytes{0xFF} && steps < 5) ++steps;
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(c.Command(Named("CDNOPE"), 1, 300).checksum, -1);
  EXPECT_EQ(c.Command(Named("CDDCIM"), 1).checksum, OnesComplementSum(Named("CDDCIM")));
  c.Command(Cmd("ZH"), 0);
  EXPECT_EQ(Payload(c.ReceivePackets(), 128), Named("100CASIO"));
  c.Command(Named("CD100CASIO"), 1);
  c.Command(Cmd("ZE"), 0);
  Bytes list = Payload(c.ReceivePackets(), 128);
  std::string names(list.begin(), list.end());
  EXPECT_EQ(
      names,
      std::string("CIMG0001.JPG\0CIMG0002.JPG\0CIMG0003.JPG\0MOV0004.AVI\0CIMG0005.JPG\0", 64));
  c.Command(Named("ZGCIMG0002.JPG"), 0);
  Bytes jpeg = Payload(c.ReceivePackets(), 128);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(c.Command(Named("ZG../etc/passwd"), 0, 300).checksum, -1);
  c.Command(Named("CDPREVIEW"), 1);
  c.Command(Named("ZGMOV0004.JPG"), 0);
  Bytes preview = Payload(c.ReceivePackets(), 128);
  ASSERT_GT(preview.size(), 4u);
  EXPECT_EQ(preview[0], 0xFF);
}

TEST(SimState, CommandLogNamesCommandsAndRefusals) {
  Sim sim(Family::classic);
  RawClient c(sim.camera.DevicePath());
  c.Command(Bytes{'D', 'A', 3}, 0);
  c.Command(Cmd("XC"), 1, 300);
  c.Command(Bytes{'D', 'A', 7}, 0, 300);
  auto log = sim.camera.CommandLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "DA 03");
  EXPECT_EQ(log[1], "XC (unknown)");
  EXPECT_EQ(log[2], "DA 07 (refused)");
}

}  // namespace
}  // namespace vantlo::testing
