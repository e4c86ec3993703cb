#include "app/core/carddrives.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tempdir.h"

namespace vantlo {
namespace {

using testing::TempDir;

TEST(CardDrives, LettersAreGivenOnceAndKeptAcrossARestart) {
  TempDir dir;
  const std::string file = dir / "carddrives";
  {
    tcarddrives drives(file);
    EXPECT_EQ(drives.DriveOf("/media/me/CARD/"), 4);  // D:
    EXPECT_EQ(drives.DriveOf("/media/me/CARD"), 4);
    EXPECT_EQ(drives.DriveOf("/home/me/cards"), 5);
    EXPECT_EQ(drives.DriveOf("relative/folder"), 0);
    EXPECT_EQ(drives.DriveOf(""), 0);
    EXPECT_TRUE(drives.Save());
  }
  tcarddrives again(file);
  EXPECT_EQ(again.RootOf(4), "/media/me/CARD");
  EXPECT_EQ(again.RootOf(5), "/home/me/cards");
  EXPECT_EQ(again.RootOf(6), "");
  EXPECT_EQ(again.RootOf(0), "");
  EXPECT_EQ(again.RootOf(27), "");
  EXPECT_EQ(again.NamedFolders(), (std::vector<std::string>{"/home/me/cards"}));
  EXPECT_EQ(tcarddrives::LetterOf(5), "E:");
}

TEST(CardDrives, DamagedLinesAreNoDrivesAndAFullTableGivesNone) {
  TempDir dir;
  const std::string file = dir / "carddrives";
  std::ofstream(file) << "E:/media/x\ngarbage\nz:/lower\nF:relative\nG:/mnt/usb\n";
  tcarddrives drives(file);
  EXPECT_EQ(drives.Drives().size(), 2u);
  EXPECT_EQ(drives.RootOf(7), "/mnt/usb");
  for (int i = 0; i < 30; ++i) drives.DriveOf("/data/card" + std::to_string(i));
  EXPECT_EQ(drives.Drives().size(), 26u);
  EXPECT_EQ(drives.DriveOf("/data/one-more"), 0);
}

}  // namespace
}  // namespace vantlo
