#include "app/core/naming.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tempdir.h"

namespace vantlo {
namespace {

using testing::TempDir;

tlocaltime Dec6() { return tlocaltime{2026, 12, 6, 14, 5, 9}; }

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(DateText, BothStylesAndEveryMonth) {
  EXPECT_EQ(DateText(Dec6(), tdatestyle::Date1), "06Dec26");
  EXPECT_EQ(DateText(Dec6(), tdatestyle::Date2), "261206");
  EXPECT_EQ(DateText({2000, 1, 9}, tdatestyle::Date1), "09Jan00");
  EXPECT_EQ(DateText({2009, 5, 31}, tdatestyle::Date2), "090531");
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(DateText({2031, m, 15}, tdatestyle::Date1), std::string("15") + months[m - 1] + "31");
  }
}

TEST(NumberText, PaddingAround999) {
  EXPECT_EQ(NumberText(0), "000");
  EXPECT_EQ(NumberText(5), "005");
  EXPECT_EQ(NumberText(998), "998");
  EXPECT_EQ(NumberText(999), "0999");
  EXPECT_EQ(NumberText(1000), "1000");
  EXPECT_EQ(NumberText(9999), "9999");
  EXPECT_EQ(NumberText(123456), "123456");
}

class NamingTest : public ::testing::Test {
 protected:
  NamingTest() {
    settings.outputFolder = dir.path() + "/Pictures";
    std::filesystem::create_directory(settings.outputFolder);
    settings.prefix = "Holiday";
    settings.webcamPrefix = "WebCam";
    settings.autoCapturePrefix = "AutoCap";
  }
  std::string Out(const std::string& rest) { return settings.outputFolder + "/" + rest; }

  TempDir dir;
  tnamingsettings settings;
  tlocaltime today = Dec6();
  tfilenamer namer{settings, [this] { return today; }};
};

TEST_F(NamingTest, StemOfEveryKindWithDateNaming) {
  EXPECT_EQ(namer.FileName(5, tnamekind::picture, "JPG"), Out("06dec26005.jpg"));
  EXPECT_EQ(namer.FileName(5, tnamekind::thumbnail, "JPG"), Out("th06dec26005.jpg"));
  EXPECT_EQ(namer.FileName(5, tnamekind::contactSheet, "JPG"), Out("cs06dec26005.jpg"));
  // Kinds with their own prefixes keep them while date naming is on.
  EXPECT_EQ(namer.FileName(5, tnamekind::webcam, "JPG"), Out("webcam005.jpg"));
  EXPECT_EQ(namer.FileName(5, tnamekind::webcamThumbnail, "JPG"), Out("thwebcam005.jpg"));
  EXPECT_EQ(namer.FileName(5, tnamekind::autoCapturePrefix, "CAM"), Out("autocap005.cam"));
  EXPECT_EQ(namer.FileName(5, tnamekind::autoCaptureDate, "AVI"), Out("06dec26005.avi"));
  EXPECT_EQ(namer.FileName(5, tnamekind::autoCaptureThumbnail, "JPG"), Out("thautocap005.jpg"));
  EXPECT_EQ(namer.FileName(5, tnamekind::folder, "JPG"), Out(""));
}

TEST_F(NamingTest, PrefixNamingAndDate2) {
  settings.dateNaming = false;
  EXPECT_EQ(namer.FileName(998, tnamekind::picture, "CAM"), Out("holiday998.cam"));
  EXPECT_EQ(namer.FileName(999, tnamekind::thumbnail, "JPG"), Out("thholiday0999.jpg"));
  EXPECT_EQ(namer.FileName(1000, tnamekind::contactSheet, "JPG"), Out("csholiday1000.jpg"));
  // Kind 6 is always the date, whatever the naming choice, and so is kind 8 after its "TH".
  EXPECT_EQ(namer.FileName(1, tnamekind::autoCaptureDate, "JPG"), Out("06dec26001.jpg"));
  EXPECT_EQ(namer.FileName(1, tnamekind::autoCaptureThumbnailDate, "JPG"),
            Out("th06dec26001.jpg"));
  settings.dateNaming = true;
  settings.dateStyle = tdatestyle::Date2;
  EXPECT_EQ(namer.FileName(7, tnamekind::picture, "JPG"), Out("261206007.jpg"));
}

TEST_F(NamingTest, UserFolderKeepsItsCaseOnlyBuiltPartIsLowered) {
  // The user's folder "Pictures" has an upper-case letter; it must stay as it is on Linux.
  settings.dailyFolder = true;
  EXPECT_EQ(namer.FileName(5, tnamekind::picture, "JPG"), Out("06dec26/06dec26005.jpg"));
  EXPECT_EQ(namer.Folder(), Out("06dec26/"));
}

TEST_F(NamingTest, DailyFolderUsesLastChosenDateStyleWithPrefixNaming) {
  settings.dailyFolder = true;
  settings.dateNaming = false;  // "Other"
  settings.dateStyle = tdatestyle::Date2;
  EXPECT_EQ(namer.FileName(3, tnamekind::picture, "JPG"), Out("261206/holiday003.jpg"));
}

TEST_F(NamingTest, TrailingSlashNotDoubledAndEmptyFolderBecomesCurrent) {
  const std::string expected = Out("06dec26001.jpg");
  settings.outputFolder += "/";
  EXPECT_EQ(namer.FileName(1, tnamekind::picture, "JPG"), expected);

  tnamingsettings empty;
  tfilenamer n2(
      empty, [this] { return today; }, [this] { return dir.path(); });
  EXPECT_EQ(n2.FileName(1, tnamekind::picture, "JPG"), dir.path() + "/06dec26001.jpg");
  EXPECT_EQ(empty.outputFolder, dir.path());  // stays the output folder from then on
}

// Without a folder provider an empty output folder is the user's Pictures folder (made when
// missing), wherever the program was started from.
TEST(NamingDefault, EmptyOutputFolderIsThePicturesFolder) {
  TempDir home;
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string keepXdg = oldXdg ? oldXdg : "";
  ::setenv("HOME", home.path().c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  std::filesystem::create_directories(home / ".config");
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";

  tnamingsettings empty;
  tfilenamer namer(empty, [] { return Dec6(); });
  EXPECT_EQ(namer.FileName(1, tnamekind::picture, "JPG"), home / "Bilder/06dec26001.jpg");
  EXPECT_EQ(empty.outputFolder, home / "Bilder");
  EXPECT_TRUE(std::filesystem::is_directory(home / "Bilder"));

  ::setenv("HOME", oldHome.c_str(), 1);
  if (oldXdg)
    ::setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(NamingTest, SeparatorInAPrefixCannotLeaveTheFolder) {
  settings.dateNaming = false;
  settings.prefix = "../x";
  EXPECT_EQ(namer.FileName(1, tnamekind::picture, "JPG"), Out(".._x001.jpg"));
}

TEST_F(NamingTest, EnsureDailyFolderCreatesOnceAndRemembersIt) {
  namer.EnsureDailyFolder();  // daily folder off: nothing
  EXPECT_TRUE(namer.CreatedFolders().empty());

  settings.dailyFolder = true;
  namer.EnsureDailyFolder();
  EXPECT_TRUE(std::filesystem::is_directory(Out("06dec26")));
  namer.EnsureDailyFolder();
  ASSERT_EQ(namer.CreatedFolders().size(), 1u);

  // The next day gets its own folder; at close the empty one goes, the used one stays.
  today.day = 7;
  namer.EnsureDailyFolder();
  Touch(Out("07dec26/07dec26001.jpg"));
  EXPECT_EQ(namer.RemoveEmptyCreatedFolders(), 1);
  EXPECT_FALSE(std::filesystem::exists(Out("06dec26")));
  EXPECT_TRUE(std::filesystem::exists(Out("07dec26")));
}

TEST_F(NamingTest, ExistingDailyFolderIsNeverRemoved) {
  settings.dailyFolder = true;
  std::filesystem::create_directory(Out("06dec26"));
  namer.EnsureDailyFolder();
  EXPECT_EQ(namer.RemoveEmptyCreatedFolders(), 0);
  EXPECT_TRUE(std::filesystem::exists(Out("06dec26")));
}

TEST_F(NamingTest, DailyFolderFailureEmptiesOutputFolder) {
  settings.dailyFolder = true;
  settings.outputFolder = dir.path() + "/missing/deeper";
  try {
    namer.EnsureDailyFolder();
    FAIL() << "no error";
  } catch (const tnamingerror& e) {
    EXPECT_EQ(std::string(e.what()),
              "Error creating daily directory : " + dir.path() + "/missing/deeper/06dec26/");
  }
  EXPECT_TRUE(settings.outputFolder.empty());
}

TEST_F(NamingTest, FirstFreeNumberLooksAtEveryExtensionUnderTheWrittenName) {
  EXPECT_EQ(namer.FirstFreeNumber(tnamekind::autoCapturePrefix, {"JPG", "CAM", "AVI"}), 0);
  Touch(Out("autocap000.jpg"));
  Touch(Out("autocap001.avi"));
  // An upper-case file is a different file on Linux: it is not what the program writes.
  Touch(Out("AUTOCAP002.JPG"));
  EXPECT_EQ(namer.FirstFreeNumber(tnamekind::autoCapturePrefix, {"JPG", "CAM", "AVI"}), 2);
  EXPECT_EQ(namer.FirstFreeNumber(tnamekind::autoCaptureDate, {"JPG", "CAM", "AVI"}), 0);
}

TEST_F(NamingTest, FirstFreeNumberEnsuresDailyFolder) {
  settings.dailyFolder = true;
  EXPECT_EQ(namer.FirstFreeNumber(tnamekind::autoCaptureDate, {"JPG"}), 0);
  EXPECT_TRUE(std::filesystem::is_directory(Out("06dec26")));
}

TEST(NameTaken, DanglingLinkCountsAsTaken) {
  TempDir dir;
  std::filesystem::create_symlink(dir / "nowhere", dir / "link");
  EXPECT_TRUE(NameTaken(dir / "link"));
  EXPECT_FALSE(NameTaken(dir / "other"));
}

}  // namespace
}  // namespace vantlo
