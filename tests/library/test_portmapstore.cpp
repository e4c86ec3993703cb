// The port map kept with the settings: its text form, tolerant reading of
// damaged files, atomic private writes and refusal of unusable devices.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "library/configfolder.h"
#include "library/portmapstore.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteFileBytes;

std::vector<unsigned char> Text(const std::string& s) { return {s.begin(), s.end()}; }

TEST(PortMapStore, MissingFileGivesAnEmptyMap) {
  ttempfolder tmp;
  tportmapstore store(tmp / "none");
  EXPECT_EQ(store.Load(), tportmapstore::tmap{});
}

TEST(PortMapStore, SavedMapLoadsBackAndIsPrivate) {
  ttempfolder tmp;
  tportmapstore store(tmp / "cfg");
  tportmapstore::tmap map;
  map[0] = "/dev/pts/7";
  map[2] = "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0";
  map[7] = "/dev/ttyS3";
  store.Save(map);
  EXPECT_EQ(store.Load(), map);
  const std::string text = tportmapstore::Format(map);
  EXPECT_EQ(text,
            "COM1: /dev/pts/7\n"
            "COM3: /dev/serial/by-id/usb-FTDI_FT232R-if00-port0\n"
            "COM8: /dev/ttyS3\n");
  struct stat st {};
  ASSERT_EQ(::stat(store.Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat((tmp / "cfg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(PortMapStore, DamagedLinesAreIgnored) {
  const auto map = tportmapstore::Parse(
      "# comment\n"
      "  com2:   /dev/ttyUSB5  \r\n"
      "COM9: /dev/ttyS9\n"
      "COM0: /dev/ttyS0\n"
      "COM4 /dev/ttyS1\n"
      "COM5: relative/device\n"
      "COM6: /dev/with\x01control\n"
      "COM7:\n"
      "garbage\n"
      "COM2: /dev/ttyACM0\n");  // a later line for the same port wins
  tportmapstore::tmap expected;
  expected[1] = "/dev/ttyACM0";
  EXPECT_EQ(map, expected);
}

TEST(PortMapStore, OversizedOrUnusableFileGivesAnEmptyMap) {
  ttempfolder tmp;
  tportmapstore store(tmp.Path());
  WriteFileBytes(store.Path(), Text("COM1: /dev/x\n" + std::string(70000, '#')));
  EXPECT_EQ(store.Load(), tportmapstore::tmap{});
  std::filesystem::remove(store.Path());
  std::filesystem::create_directory(store.Path());
  EXPECT_EQ(store.Load(), tportmapstore::tmap{});
}

TEST(PortMapStore, UnusableDeviceIsRefusedAndTheOldFileKept) {
  ttempfolder tmp;
  tportmapstore store(tmp.Path());
  tportmapstore::tmap good;
  good[0] = "/dev/ttyUSB0";
  store.Save(good);
  const std::string bads[] = {"ttyUSB0", "/dev/tty\nCOM2: /dev/evil", std::string(5000, '/')};
  for (const std::string& bad : bads) {
    tportmapstore::tmap map;
    map[3] = bad;
    EXPECT_THROW(store.Save(map), tregconfigerror);
  }
  EXPECT_EQ(store.Load(), good);
}

}  // namespace
}  // namespace vantlo
