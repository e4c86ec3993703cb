// The engine's link layer against a scripted camera on a pseudo-terminal:
// command exchange result codes, handshake limits, packet transfer with its
// repairs, speed change, block size, reset and the connection tools.
#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>

#include "camera/qv10int.h"
#include "tests/camera/scriptcamera.h"

namespace vantlo {
namespace {

using test::EndPacket;
using test::Packet;
using test::tbytes;
using test::tscriptanswer;
using test::tscriptcamera;

constexpr std::uint8_t ACK = 0x06, NAK = 0x15;

tscriptanswer Data(tbytes data, std::vector<tbytes> packets = {}) {
  tscriptanswer a;
  a.data = std::move(data);
  a.packets = std::move(packets);
  return a;
}

struct LinkTest : ::testing::Test {
  tscriptcamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine{camera.DevicePath(), 0, false, &waiter};

  void SetUp() override {
    ASSERT_TRUE(engine.Port().IsOpen()) << engine.Port().LastErrorText();
    engine.Port().SetReadTimeout(300);
  }
  unsigned LineSpeed() {
    termios tio{};
    tcgetattr(engine.Port().Handle(), &tio);
    return cfgetospeed(&tio);
  }
};

TEST_F(LinkTest, CommandSucceedsWithReplyBytes) {
  camera.SetHandler([](const tbytes&) { return Data({0x2A, 0x01}); });
  tbytes reply;
  EXPECT_EQ(engine.SendCommand({'X', 'P'}, 4, reply), 0);
  // ACK, the checksum of "XP" (~(0x58 + 0x50)), then the data.
  EXPECT_EQ(reply, (tbytes{ACK, static_cast<std::uint8_t>(~(0x58 + 0x50)), 0x2A, 0x01}));
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"XP"});
  // Each command byte has 1 ms before and after it; 1 ms after the enquiry.
  EXPECT_EQ(waiter.Waits(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(LinkTest, ShortReplyKeepsTheReplyEmptyAndArgumentsIncludingNul) {
  tbytes reply = {1, 2, 3};
  EXPECT_EQ(engine.SendCommand({'P', 'P', 0x00, 0x80}, 2, reply), 0);
  EXPECT_TRUE(reply.empty());
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"PP 00 80"});
}

TEST_F(LinkTest, ReplyLengthOver20ReturnsTenWithoutTouchingTheLine) {
  tbytes reply;
  EXPECT_EQ(engine.SendCommand({'M', 'P'}, 21, reply), 10);
  EXPECT_EQ(engine.SendCommand({'M', 'P'}, 20, reply), 2);  // camera sends no data: short
  EXPECT_EQ(camera.Enquiries(), 1);
}

TEST_F(LinkTest, SilentCameraAndShortAnswersGiveTwo) {
  tbytes reply;
  camera.QueueEnquiryAnswers({0});
  EXPECT_EQ(engine.SendCommand({'M', 'P'}, 3, reply), 2);
  camera.SetHandler([](const tbytes&) {
    tscriptanswer a;
    a.noChecksum = true;
    return a;
  });
  EXPECT_EQ(engine.SendCommand({'M', 'P'}, 3, reply), 2);
  camera.SetHandler([](const tbytes&) { return Data({1}); });
  EXPECT_EQ(engine.SendCommand({'X', 'P'}, 4, reply), 2);
}

TEST_F(LinkTest, ChecksumMismatchStillCompletesTheExchange) {
  camera.SetHandler([](const tbytes& c) {
    tscriptanswer a = Data({0x07});
    a.wrongChecksum = c[0] == 'M';
    return a;
  });
  tbytes reply;
  EXPECT_EQ(engine.SendCommand({'M', 'P'}, 3, reply), 4);
  ASSERT_EQ(reply.size(), 3u);
  EXPECT_EQ(reply[2], 0x07);  // the reply was consumed all the same
  // The line is in step: the next command works.
  EXPECT_EQ(engine.SendCommand({'B', 'C'}, 3, reply), 0);
  EXPECT_EQ(reply[2], 0x07);
}

TEST_F(LinkTest, WriteFailureGivesEight) {
  engine.Port().Close();
  tbytes reply;
  EXPECT_EQ(engine.SendCommand({'Q', 'R'}, 2, reply), 8);
}

TEST_F(LinkTest, CommandNakLimitIsEleven) {
  tbytes reply;
  camera.QueueEnquiryAnswers(tbytes(10, NAK));
  EXPECT_EQ(engine.SendCommand({'Q', 'R'}, 2, reply), 0);
  EXPECT_EQ(camera.Enquiries(), 11);
  camera.QueueEnquiryAnswers(tbytes(11, NAK));
  EXPECT_EQ(engine.SendCommand({'Q', 'R'}, 2, reply), 12);
  EXPECT_EQ(camera.Enquiries(), 22);
  // Another byte than ACK or NAK is refused at once.
  camera.QueueEnquiryAnswers({'x'});
  EXPECT_EQ(engine.SendCommand({'Q', 'R'}, 2, reply), 12);
  EXPECT_EQ(camera.Enquiries(), 23);
}

TEST_F(LinkTest, HandshakeNakLimitIsSix) {
  camera.QueueEnquiryAnswers(tbytes(5, NAK));
  EXPECT_TRUE(engine.CheckCamera());
  EXPECT_EQ(camera.Enquiries(), 6);
  const auto waits = waiter.Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 500), 5);
  camera.QueueEnquiryAnswers(tbytes(6, NAK));
  EXPECT_FALSE(engine.CheckCamera());
  EXPECT_EQ(camera.Enquiries(), 12);
}

TEST_F(LinkTest, FailedHandshakeReturnsTo9600AndForgetsTheCamera) {
  engine.SetDesiredSpeed(12);
  engine.ApplySpeed(12);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B115200));
  camera.QueueEnquiryAnswers({'?'});
  EXPECT_FALSE(engine.CheckCamera());
  EXPECT_EQ(engine.CurrentSpeed(), 6);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
  EXPECT_EQ(engine.CameraType(), 0);
}

TEST_F(LinkTest, SpeedChangeSendsCodeAndSwitchesThePort) {
  engine.ApplySpeed(9);
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"CB 0B"});
  EXPECT_EQ(engine.CurrentSpeed(), 9);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B38400));
  engine.ApplySpeed(9);  // unchanged: nothing sent
  EXPECT_EQ(camera.Commands().size(), 1u);
  engine.ApplySpeed(12);
  EXPECT_EQ(camera.Commands().back(), "CB 03");
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B115200));
}

TEST_F(LinkTest, SpeedWithoutCodeChangesOnlyTheRecord) {
  engine.ApplySpeed(7);
  EXPECT_EQ(engine.CurrentSpeed(), 7);
  EXPECT_TRUE(camera.Commands().empty());
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
}

TEST_F(LinkTest, IrdaModeSendsNoSpeedChange) {
  engine.SetIrdaMode(true);
  ASSERT_TRUE(engine.Port().IsOpen());
  engine.ApplySpeed(12);
  EXPECT_EQ(engine.CurrentSpeed(), 12);
  EXPECT_TRUE(camera.Commands().empty());
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
  waiter.Clear();
  engine.ResetCamera();
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"QR"});
  const auto waits = waiter.Waits();
  EXPECT_NE(std::find(waits.begin(), waits.end(), 250), waits.end());
  EXPECT_TRUE(engine.Port().IsOpen());
}

TEST_F(LinkTest, ResetReturnsTo9600AndBlockSize128) {
  engine.ApplySpeed(11);
  engine.SetBlockSize(4096);
  EXPECT_EQ(engine.CameraBlockSize(), 4096);
  EXPECT_EQ(camera.Commands().back(), "PP 10 00");
  engine.ResetCamera();
  EXPECT_EQ(camera.Commands().back(), "QR");
  EXPECT_EQ(engine.CurrentSpeed(), 6);
  EXPECT_EQ(engine.CameraBlockSize(), 128);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
}

TEST_F(LinkTest, BlockSizeNegotiatedOnlyWhenDifferent) {
  engine.SetBlockSize(128);
  EXPECT_TRUE(camera.Commands().empty());
  engine.SetBlockSize(1024);
  engine.SetBlockSize(1024);
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"PP 04 00"});
  camera.QueueEnquiryAnswers({'?'});
  EXPECT_THROW(engine.SetBlockSize(2048), tqvnotconnected);
  EXPECT_EQ(engine.CameraBlockSize(), 1024);
  EXPECT_THROW(engine.SetBlockSize(0), std::out_of_range);
}

TEST_F(LinkTest, PowerOffFailureRaises) {
  camera.QueueEnquiryAnswers({'?'});
  EXPECT_THROW(engine.PowerOff(), tqvnotconnected);
  engine.PowerOff();
  EXPECT_EQ(camera.Commands().back(), "QX");
}

TEST_F(LinkTest, EmptyFirstPacketGivesEmptyStream) {
  camera.SetHandler([](const tbytes&) { return Data({}, {EndPacket()}); });
  tbytes reply, stream = {1, 2};
  engine.SendCommand({'M', 'K'}, 2, reply);
  int progress = 0;
  engine.OnProgress = [&](tqvProtocolEngine&, int, const std::string&, int) {
    ++progress;
    return tprogressanswer::carryOn;
  };
  engine.ReceiveData(stream);
  EXPECT_TRUE(stream.empty());
  EXPECT_EQ(camera.WaitPacketAnswers(1), tbytes{ACK});
  EXPECT_EQ(progress, 1);
  // DC2 is followed by the 10 ms wait.
  EXPECT_EQ(waiter.Waits().back(), 10);
}

TEST_F(LinkTest, PacketsAreJoinedInOrder) {
  camera.SetHandler([](const tbytes&) {
    return Data({}, {Packet({1, 2, 3}), Packet(tbytes(128, 9)), Packet({4}), EndPacket()});
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  engine.ReceiveData(stream);
  ASSERT_EQ(stream.size(), 132u);
  EXPECT_EQ(stream[0], 1);
  EXPECT_EQ(stream[3], 9);
  EXPECT_EQ(stream.back(), 4);
  EXPECT_EQ(camera.WaitPacketAnswers(4), (tbytes{ACK, ACK, ACK, ACK}));
}

TEST_F(LinkTest, PacketBadTwiceThenGoodIsAccepted) {
  camera.SetHandler([](const tbytes&) {
    return Data({}, {Packet({7, 7}, true), Packet({7, 7}, true), Packet({7, 7}), EndPacket()});
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  engine.ReceiveData(stream);
  EXPECT_EQ(stream, (tbytes{7, 7}));
  EXPECT_EQ(camera.WaitPacketAnswers(4), (tbytes{NAK, NAK, ACK, ACK}));
}

TEST_F(LinkTest, PacketBadThreeTimesRaises) {
  camera.SetHandler([](const tbytes&) {
    return Data({}, {Packet({7}, true), Packet({7}, true), Packet({7}, true), Packet({7})});
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  EXPECT_THROW(engine.ReceiveData(stream), tqvnotconnected);
  // Three NAKs, then the camera's transfer is ended: its fourth packet is
  // never taken.
  const tbytes answers = camera.WaitPacketAnswers(3);
  ASSERT_GE(answers.size(), 3u);
  EXPECT_EQ(tbytes(answers.begin(), answers.begin() + 3), (tbytes{NAK, NAK, NAK}));
  EXPECT_EQ(std::count(answers.begin(), answers.end(), ACK), 0);
}

// Bad packets that never come three in a row (noise on a failing line, a
// broken camera): the operation still ends, after a bounded number of them.
TEST_F(LinkTest, BadPacketsBetweenGoodOnesAreBoundedPerOperation) {
  camera.SetHandler([](const tbytes& c) {
    if (c[0] != 'M') return Data({});
    tscriptanswer a;
    a.packetSource = [](int index, tbytes& packet) {
      if (index > 30) return false;
      packet = index == 30 ? EndPacket() : Packet({9}, index % 3 != 2);  // bad, bad, good, ...
      return true;
    };
    return a;
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  EXPECT_THROW(engine.ReceiveData(stream), tqvnotconnected);
  const tbytes answers = camera.WaitPacketAnswers(10);
  EXPECT_LE(std::count(answers.begin(), answers.end(), NAK),
            tqvProtocolEngine::kMaxBadPacketsPerOperation + 1);
}

// A clock that moves on by a fixed step whenever it is read: each packet the
// engine reads then seems to take that long.
class tsteppedclock : public tclock {
 public:
  explicit tsteppedclock(std::int64_t step) : step_(step) {}
  std::int64_t NowMs() const override { return now_ += step_; }

 private:
  std::int64_t step_;
  mutable std::atomic<std::int64_t> now_{0};
};

TEST(LinkFailureBudget, SlowBadPacketsEndTheOperationWithinItsBudget) {
  tscriptcamera camera;
  trecordingwaiter waiter;
  tsteppedclock clock(1600);  // every packet read seems to take 1.6 s
  tqvProtocolEngine engine(camera.DevicePath(), 0, false, &waiter, &clock);
  ASSERT_TRUE(engine.Port().IsOpen());
  engine.Port().SetReadTimeout(300);
  // Bad and good packets by turns.
  camera.SetHandler([](const tbytes& c) {
    if (c[0] != 'M') return Data({});
    tscriptanswer a;
    a.packetSource = [](int index, tbytes& packet) {
      if (index > 10) return false;
      packet = index == 10 ? EndPacket() : Packet({4}, index % 2 == 0);
      return true;
    };
    return a;
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  EXPECT_THROW(engine.ReceiveData(stream), tqvnotconnected);
  // The fourth bad packet takes the operation over its 6 s, long before the
  // number of bad packets would end it.
  EXPECT_EQ(camera.WaitPacketAnswers(7), (tbytes{NAK, ACK, NAK, ACK, NAK, ACK, NAK}));
}

TEST_F(LinkTest, PacketLongerThanTheBlockIsDrainedAndRefused) {
  // The block size is 128; a 200-byte packet would overrun the buffer.
  camera.SetHandler([](const tbytes&) {
    return Data({}, {Packet(tbytes(200, 1)), Packet({5}), EndPacket()});
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  engine.ReceiveData(stream);
  EXPECT_EQ(stream, tbytes{5});
  EXPECT_EQ(camera.WaitPacketAnswers(3), (tbytes{NAK, ACK, ACK}));
}

TEST_F(LinkTest, EndPacketMustBeComplete) {
  // An end packet cut after its length bytes is bad; the resent one ends it.
  camera.SetHandler([](const tbytes&) {
    return Data({}, {Packet({1}), tbytes{0x02, 0x00, 0x00}, EndPacket()});
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  engine.ReceiveData(stream);
  EXPECT_EQ(stream, tbytes{1});
  EXPECT_EQ(camera.WaitPacketAnswers(3), (tbytes{ACK, NAK, ACK}));
}

TEST_F(LinkTest, LineNoiseInsteadOfPacketsEndsInNotConnected) {
  // Whatever the bytes say (lengths beyond the block, short frames, wrong
  // sums), three bad reads end the transfer: no crash, no hang.
  camera.SetHandler([](const tbytes&) {
    std::vector<tbytes> noise;
    std::uint32_t seed = 12345;
    for (int p = 0; p < 3; ++p) {
      tbytes junk(40);
      for (auto& b : junk) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
      }
      junk[0] = 0x02;
      noise.push_back(junk);
    }
    return Data({}, noise);
  });
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  EXPECT_THROW(engine.ReceiveData(stream), tqvnotconnected);
  EXPECT_EQ(camera.WaitPacketAnswers(3), (tbytes{NAK, NAK, NAK}));
}

TEST_F(LinkTest, ProgressListenerCanStopTheTransfer) {
  camera.SetHandler([](const tbytes& c) {
    if (c[0] != 'M') return Data({});
    return Data({}, {Packet({1}), Packet({2}), Packet({3}), EndPacket()});
  });
  int calls = 0;
  engine.OnProgress = [&](tqvProtocolEngine& sender, int position, const std::string& text,
                          int picture) {
    EXPECT_EQ(&sender, &engine);
    EXPECT_EQ(position, engine.ProgressStep());
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(picture, 0);
    return ++calls == 2 ? tprogressanswer::stop : tprogressanswer::carryOn;
  };
  engine.ApplySpeed(9);
  tbytes reply, stream;
  engine.SendCommand({'M', 'K'}, 2, reply);
  // A stop is not a lost camera: the transfer is ended and the link reset.
  EXPECT_THROW(engine.ReceiveData(stream), tqvcancelled);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(camera.Commands().back(), "QR");
  EXPECT_EQ(engine.CurrentSpeed(), 6);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
}

TEST_F(LinkTest, TransferIsBoundedInTotalSize) {
  engine.SetBlockSize(65535);
  const int packets = static_cast<int>(tqvProtocolEngine::kMaxTransferBytes / 65535) + 2;
  const tbytes full = Packet(tbytes(65535, 0xAB));
  camera.SetHandler([&](const tbytes&) {
    tscriptanswer a;
    a.packetSource = [&full, packets](int index, tbytes& packet) {
      if (index > packets) return false;
      packet = index < packets ? full : EndPacket();
      return true;
    };
    return a;
  });
  engine.Port().SetReadTimeout(3000);
  tbytes reply, stream;
  engine.SendCommand({'X', 'G', 0, 1}, 2, reply);
  EXPECT_THROW(engine.ReceiveData(stream), tqvnotconnected);
  EXPECT_LE(stream.size(), tqvProtocolEngine::kMaxTransferBytes);
}

TEST_F(LinkTest, NotConnectedReturnsTheLinkTo9600) {
  engine.ApplySpeed(12);
  camera.QueueEnquiryAnswers({'?'});
  try {
    engine.GetPictureCount();
    FAIL() << "no exception";
  } catch (const tqvnotconnected& e) {
    EXPECT_STREQ(e.what(), "Camera is not connected or communicating properly; check and reset");
  }
  EXPECT_EQ(engine.CurrentSpeed(), 6);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
}

TEST_F(LinkTest, TestLinkStatuses) {
  std::string first;
  int code = -1;
  EXPECT_EQ(engine.TestLink(first, code), 1);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(first, std::string(1, '\x06'));
  EXPECT_EQ(camera.Commands().back(), "QR");

  camera.QueueEnquiryAnswers({0x06, 'Z'});  // the check passes, the probe gets 'Z'
  EXPECT_EQ(engine.TestLink(first, code), 6);
  EXPECT_EQ(first, "Z");

  camera.QueueEnquiryAnswers({0x06, 0});
  EXPECT_EQ(engine.TestLink(first, code), 7);
  EXPECT_TRUE(first.empty());

  EXPECT_EQ(tqvProtocolEngine::TestLinkText(1), "Camera Connected");
  EXPECT_EQ(tqvProtocolEngine::TestLinkText(7), "No response");
  EXPECT_EQ(tqvProtocolEngine::TestLinkText(8), "Reset error");
}

TEST(LinkWithoutCamera, MissingPortFailsEverythingCleanly) {
  trecordingwaiter waiter;
  tqvProtocolEngine engine("/dev/vantlo-no-such-port", 0, false, &waiter);
  EXPECT_FALSE(engine.Port().IsOpen());
  EXPECT_EQ(engine.Port().LastError(), 2);
  EXPECT_FALSE(engine.CheckCamera());
  EXPECT_THROW(engine.GetPictureCount(), tqvnotconnected);
  std::string first;
  int code = 0;
  EXPECT_EQ(engine.TestLink(first, code), 2);
  EXPECT_EQ(code, 2);
}

TEST_F(LinkTest, SelectPortOpensTheNewPortAt9600) {
  engine.ApplySpeed(12);
  tscriptcamera other;
  engine.SelectPort(other.DevicePath());
  EXPECT_EQ(engine.PortName(), other.DevicePath());
  EXPECT_EQ(engine.CurrentSpeed(), 12);  // the record is kept; the next check decides
  ASSERT_TRUE(engine.Port().IsOpen());
  EXPECT_EQ(engine.Port().Params().BaudIndex, 6);
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
  EXPECT_EQ(engine.Port().Params().ReadTimeout, 300);  // line record copied
}

TEST_F(LinkTest, SendRawWritesAt9600WithoutHandshake) {
  engine.ApplySpeed(12);
  engine.SendRaw("Mm");
  EXPECT_EQ(LineSpeed(), static_cast<unsigned>(B9600));
  EXPECT_EQ(camera.Enquiries(), 1);  // only the one of "CB"
}

TEST(SpeedTable, CodesAndChoices) {
  EXPECT_EQ(SpeedCodeOfIndex(6), 0x2E);
  EXPECT_EQ(SpeedCodeOfIndex(8), 0x16);
  EXPECT_EQ(SpeedCodeOfIndex(9), 0x0B);
  EXPECT_EQ(SpeedCodeOfIndex(11), 0x07);
  EXPECT_EQ(SpeedCodeOfIndex(12), 0x03);
  EXPECT_EQ(SpeedCodeOfIndex(7), 0);
  EXPECT_EQ(BaudIndexOfSpeedChoice(0), 9);
  EXPECT_EQ(BaudIndexOfSpeedChoice(1), 6);
  EXPECT_EQ(BaudIndexOfSpeedChoice(5), 12);
  // Outside the list: the default speed, not "Auto".
  EXPECT_EQ(BaudIndexOfSpeedChoice(6), 6);
  EXPECT_EQ(BaudIndexOfSpeedChoice(-1), 6);
}

}  // namespace
}  // namespace vantlo
