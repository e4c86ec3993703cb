// tcomport on real pseudo-terminals: opening, exclusive use, error codes,
// reads bounded by their total time-out, line speeds and the IrDA waits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "camera/comport.h"
#include "camera/porterrors.h"
#include "camera/portmap.h"
#include "tests/camera/ptypair.h"

namespace vantlo {
namespace {

using test::tptypair;

tcommparams ParamsFor(const std::string& device) {
  tcommparams params;
  params.PortName = device;
  params.ReadTimeout = 200;
  return params;
}

TEST(ComPort, ConstructionDoesNotTouchTheDevice) {
  tcomport port(ParamsFor("/nonexistent/device"));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastError(), 0);
  EXPECT_EQ(port.Params().BaudIndex, 6);
}

TEST(ComPort, MissingDeviceGivesCodeTwo) {
  tcomport port(ParamsFor("/dev/vantlo-no-such-port"));
  port.Open();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastError(), 2);
  EXPECT_EQ(port.LastErrorText(), "Port not found (2)");
}

TEST(ComPort, SecondPortOnTheSameDeviceIsAlreadyOpen) {
  tptypair pty;
  tcomport first(ParamsFor(pty.SlavePath()));
  first.Open();
  ASSERT_TRUE(first.IsOpen()) << first.LastErrorText();
  tcomport second(ParamsFor(pty.SlavePath()));
  second.Open();
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(second.LastError(), 5);
  EXPECT_EQ(second.LastErrorText(), "Already Open");
  // Closing the first frees the device again.
  first.Close();
  second.Open();
  EXPECT_TRUE(second.IsOpen());
}

TEST(ComPort, RefusedLineSettingLeavesPortClosedWithNonZeroError) {
  // A regular file opens but takes no line settings.
  const auto path = std::filesystem::temp_directory_path() / "vantlo-comport-not-a-tty";
  std::ofstream(path) << "x";
  tcomport port(ParamsFor(path.string()));
  port.Open();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_NE(port.LastError(), 0);
  EXPECT_NE(port.LastErrorText(), "No Error");
  std::filesystem::remove(path);

  // Four data bits: no driver offers them.
  tptypair pty;
  tcommparams params = ParamsFor(pty.SlavePath());
  params.DataBitsIndex = 0;
  tcomport fourBits(params);
  fourBits.Open();
  EXPECT_FALSE(fourBits.IsOpen());
  EXPECT_NE(fourBits.LastError(), 0);
}

TEST(ComPort, PermissionFailureNamesTheGroup) {
  EXPECT_EQ(PortErrorFromErrno(EACCES), kErrorPermission);
  const std::string text = PermissionErrorText("/dev/null");
  EXPECT_NE(text.find("/dev/null"), std::string::npos);
  EXPECT_NE(text.find("group"), std::string::npos);
  EXPECT_NE(PortErrorText(kErrorPermission).find("dialout"), std::string::npos);
}

TEST(ComPort, ADeviceThatIsNoSerialPortGivesTheSystemsText) {
  // /dev/null opens but takes no line settings; there is no Windows code for
  // that, so the text is the system's own, not "Port not found (31)".
  tcomport port(ParamsFor("/dev/null"));
  port.Open();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastErrorText(), std::strerror(ENOTTY));
  EXPECT_EQ(PortErrorText(port.LastError()), std::strerror(ENOTTY));
  EXPECT_EQ(PortErrorText(PortErrorFromErrno(ELOOP)), std::strerror(ELOOP));
  EXPECT_EQ(PortErrorFromErrno(ENOENT), 2);  // codes of their own stay
}

TEST(ComPort, ErrorTextsOfTheConnectionWizard) {
  EXPECT_EQ(PortErrorText(0), "No Error");
  EXPECT_EQ(PortErrorText(3), "Port not found (3)");
  EXPECT_EQ(PortErrorText(6), "Port not found (6)");
  EXPECT_EQ(PortErrorText(21), "Port not ready (21)");
  EXPECT_EQ(PortErrorText(31), "Port not found (31)");
  EXPECT_EQ(PortErrorText(87), "Win32 code 87");
  EXPECT_EQ(PortErrorFromErrno(ENODEV), 2);
  EXPECT_EQ(PortErrorFromErrno(ENXIO), 2);
  EXPECT_EQ(PortErrorFromErrno(EBUSY), 5);
}

TEST(ComPort, LineErrorReportText) {
  EXPECT_EQ(LineErrorText(2, 0, 1117), "Receive Overrun Error;;1117");
  EXPECT_EQ(LineErrorText(1, 0b0100001, 5), "Receive Queue overflow ;fCtlHoldfEof;5");
  EXPECT_EQ(LineErrorText(3, 0, 9), "No error;;9");
  EXPECT_EQ(LineErrorText(32768, 64, 1), "Requested mode unsupported;fTxim;1");
}

TEST(ComPort, OpensRaw8N1At9600) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  termios tio{};
  ASSERT_EQ(tcgetattr(port.Handle(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
}

TEST(ComPort, WritesAndReadsBytes) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  const std::uint8_t out[] = {0x05, 0x00, 0xFF, 'Q', 'R'};
  std::size_t written = 0;
  EXPECT_EQ(port.WriteBytes(out, sizeof out, written), 0);
  EXPECT_EQ(written, sizeof out);
  EXPECT_EQ(pty.Read(5, 1000), std::vector<std::uint8_t>(out, out + 5));

  pty.Write({1, 2, 3});
  std::uint8_t in[3] = {};
  std::size_t read = 0;
  EXPECT_EQ(port.ReadBytes(in, 3, read), 0);
  EXPECT_EQ(read, 3u);
  EXPECT_EQ(in[2], 3);
}

TEST(ComPort, ReadCollectsPartialArrivalsWithinOneDeadline) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.SetReadTimeout(2000);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  std::thread writer([&] {
    for (std::uint8_t i = 0; i < 4; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      pty.Write({i, i});
    }
  });
  std::uint8_t in[8] = {};
  std::size_t read = 0;
  EXPECT_EQ(port.ReadBytes(in, 8, read), 0);
  writer.join();
  EXPECT_EQ(read, 8u);
  EXPECT_EQ(in[7], 3);
}

TEST(ComPort, ReadSurvivesSignalsWithinItsDeadline) {
  // Timer signals interrupt poll(); the read carries on against the same
  // deadline and still collects every byte.
  struct sigaction action {};
  action.sa_handler = [](int) {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART
  struct sigaction previous {};
  sigaction(SIGALRM, &action, &previous);
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.SetReadTimeout(3000);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  std::thread writer([&] {
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &block, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    pty.Write({1, 2});
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    pty.Write({3, 4});
  });
  itimerval every20ms{{0, 20000}, {0, 20000}};
  setitimer(ITIMER_REAL, &every20ms, nullptr);
  std::uint8_t in[4] = {};
  std::size_t read = 0;
  const int result = port.ReadBytes(in, 4, read);
  itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  writer.join();
  sigaction(SIGALRM, &previous, nullptr);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(in[3], 4);
}

TEST(ComPort, ReadTimeOutReturnsZeroWithShortCount) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.SetReadTimeout(50);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  pty.Write({9, 9});
  std::uint8_t in[5] = {};
  std::size_t read = 99;
  EXPECT_EQ(port.ReadBytes(in, 5, read), 0);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(port.ReadBytes(in, 1, read), 0);
  EXPECT_EQ(read, 0u);
}

TEST(ComPort, ReadAndWriteOnClosedPortFail) {
  tcomport port(ParamsFor("/dev/vantlo-no-such-port"));
  std::uint8_t b = 0;
  std::size_t n = 0;
  EXPECT_EQ(port.ReadBytes(&b, 1, n), -1);
  EXPECT_EQ(port.WriteBytes(&b, 1, n), -1);
  EXPECT_NE(port.LastError(), 0);
}

TEST(ComPort, PurgeReceiveDropsPendingInput) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.SetReadTimeout(30);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  pty.Write({1, 2, 3});
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  port.PurgeReceive();
  std::uint8_t in[3];
  std::size_t read = 0;
  port.ReadBytes(in, 3, read);
  EXPECT_EQ(read, 0u);
}

TEST(ComPort, BaudIndexWhileClosedTakesEffectAtOpen) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.SetBaudIndex(12);
  EXPECT_FALSE(port.IsOpen());
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  EXPECT_EQ(pty.OutputSpeedConstant(), static_cast<unsigned>(B115200));
}

TEST(ComPort, BaudIndexOnOpenPortChangesTheLine) {
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()));
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  port.SetBaudIndex(9);
  EXPECT_EQ(pty.OutputSpeedConstant(), static_cast<unsigned>(B38400));
  // 14400 baud has no termios constant: the custom-rate interface sets it.
  port.SetBaudIndex(7);
  EXPECT_EQ(pty.LineRate(), 14400u);
  port.Close();
  port.SetBaudIndex(14);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  EXPECT_EQ(pty.LineRate(), 256000u);
}

TEST(ComPort, IrdaModeBaudIndexOnlyStored) {
  tptypair pty;
  trecordingwaiter waiter;
  tcomport port(ParamsFor(pty.SlavePath()), &waiter);
  port.SetIrdaMode(true);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  port.SetBaudIndex(12);
  EXPECT_EQ(port.Params().BaudIndex, 12);
  EXPECT_EQ(pty.OutputSpeedConstant(), static_cast<unsigned>(B9600));
}

TEST(ComPort, IrdaSwitchReopensWithSettleWaits) {
  tptypair pty;
  trecordingwaiter waiter;
  tcomport port(ParamsFor(pty.SlavePath()), &waiter);
  port.Open();
  ASSERT_TRUE(port.IsOpen());
  EXPECT_TRUE(waiter.Waits().empty());  // a cable opens without waits
  port.SetIrdaMode(true);
  EXPECT_TRUE(port.IsOpen());
  // Close, 1000 ms; open: 1000 after the open call, 100 before and after the
  // line settings, 100 after the time-outs, 1000 at the end.
  EXPECT_EQ(waiter.Waits(), (std::vector<int>{1000, 1000, 100, 100, 100, 1000}));
  waiter.Clear();
  port.SetIrdaMode(true);  // unchanged: nothing happens
  EXPECT_TRUE(waiter.Waits().empty());
}

TEST(ComPort, ReadTimeoutSetterStoresOnlyChanges) {
  trecordingwaiter waiter;
  tptypair pty;
  tcomport port(ParamsFor(pty.SlavePath()), &waiter);
  port.SetIrdaMode(true);
  port.Open();
  waiter.Clear();
  port.SetReadTimeout(200);  // same value: nothing applied
  EXPECT_TRUE(waiter.Waits().empty());
  port.SetReadTimeout(1000);
  EXPECT_EQ(port.Params().ReadTimeout, 1000);
  EXPECT_EQ(waiter.Waits(), std::vector<int>{100});
}

TEST(ComPort, ShowErrorsReportsFailuresToTheListener) {
  tcomport port(ParamsFor("/dev/vantlo-no-such-port"));
  port.SetShowErrors(true);
  std::vector<std::string> reports;
  port.OnLineErrorReport = [&](const std::string& text) { reports.push_back(text); };
  std::uint8_t b = 0;
  std::size_t n = 0;
  port.ReadBytes(&b, 1, n);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), "No error;;6");
}

TEST(PortMap, DefaultsEnvironmentAndDevicePaths) {
  tportmap map;
  ::unsetenv("VANTLO_COM1");
  ::unsetenv("VANTLO_COM6");
  EXPECT_EQ(map.DevicePath("COM1:"), "/dev/ttyUSB0");
  EXPECT_EQ(map.DevicePath("COM4:"), "/dev/ttyUSB3");
  EXPECT_EQ(map.DevicePath("com5"), "/dev/ttyS0");
  EXPECT_EQ(map.DevicePath("COM8:"), "/dev/ttyS3");
  EXPECT_EQ(map.DevicePath("/dev/pts/5"), "/dev/pts/5");
  EXPECT_EQ(map.DevicePath("COM9:"), "COM9:");
  map.SetEntry(6, "/dev/ttyACM0");
  EXPECT_EQ(map.DevicePath("COM6:"), "/dev/ttyACM0");
  ::setenv("VANTLO_COM6", "/tmp/camera", 1);
  EXPECT_EQ(map.DevicePath("COM6:"), "/tmp/camera");
  ::unsetenv("VANTLO_COM6");
  map.SetEntry(6, "");
  EXPECT_EQ(map.DevicePath("COM6:"), "/dev/ttyS1");
  map.SetEntry(0, "/dev/x");  // ignored
  EXPECT_EQ(map.Entry(0), "");
}

TEST(PortMap, ComPortOpensThroughTheEnvironment) {
  tptypair pty;
  ::setenv("VANTLO_COM3", pty.SlavePath().c_str(), 1);
  tcomport port(ParamsFor("COM3:"));
  port.Open();
  ::unsetenv("VANTLO_COM3");
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), pty.SlavePath());
}

}  // namespace
}  // namespace vantlo
