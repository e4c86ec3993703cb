#include "app/core/cardfolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tempdir.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void Write(const std::string& path, const std::string& bytes) { testing::WriteText(path, bytes); }

// A card: DCIM with two picture folders, a MISC folder, stray files, and links that point out of
// the card at the user's own files.
class CardFoldersTest : public ::testing::Test {
 protected:
  CardFoldersTest() {
    Write(Home("precious.jpg"), "the user's own picture");
    fs::create_directories(Home("album"));
    Write(Home("album/a.JPG"), "album picture");
    Write(Dcim("101CASIO/CIMG0003.JPG"), "three");
    Write(Dcim("100CASIO/CIMG0002.JPG"), "two");
    Write(Dcim("100CASIO/cimg0001.jpg"), "one");
    Write(Dcim("100CASIO/CIMG0004.AVI"), "movie");
    Write(Dcim("100CASIO/notes.txt"), "not a picture");
    fs::create_directories(Dcim("100CASIO/FOLDER.JPG"));
    fs::create_symlink(Home("precious.jpg"), Dcim("100CASIO/LINK.JPG"));
    Write(Dcim("MISC/AUTPRINT.MRK"), "print order");
    Write(Dcim("123.JPG"), "a file, not a folder");
    fs::create_directory_symlink(Home("album"), Dcim("102LINK"));
  }
  std::string Home(const std::string& rest) { return dir / ("home/" + rest); }
  std::string Card() { return dir / "card"; }
  std::string Dcim(const std::string& rest) { return dir / ("card/DCIM/" + rest); }

  TempDir dir;
};

TEST_F(CardFoldersTest, PictureFoldersAreRealSubFoldersStartingWithADigit) {
  EXPECT_EQ(ListPictureFolders(Dcim("")),
            (std::vector<std::string>{Dcim("100CASIO/"), Dcim("101CASIO/")}));
  // Without the trailing slash the same.
  EXPECT_EQ(ListPictureFolders(dir / "card/DCIM").size(), 2u);
  EXPECT_TRUE(ListPictureFolders(dir / "nowhere").empty());
}

TEST_F(CardFoldersTest, PictureFilesJpegsThenMoviesInAnyCaseAndNoLinks) {
  EXPECT_EQ(ListPictureFiles(Dcim("100CASIO")),
            (std::vector<std::string>{Dcim("100CASIO/cimg0001.jpg"), Dcim("100CASIO/CIMG0002.JPG"),
                                      Dcim("100CASIO/CIMG0004.AVI")}));
  EXPECT_EQ(
      ListCameraPictureFiles(Dcim("")),
      (std::vector<std::string>{Dcim("100CASIO/cimg0001.jpg"), Dcim("100CASIO/CIMG0002.JPG"),
                                Dcim("100CASIO/CIMG0004.AVI"), Dcim("101CASIO/CIMG0003.JPG")}));
}

TEST_F(CardFoldersTest, OnlyMiscGivesNoPictures) {
  TempDir other;
  Write(other / "DCIM/MISC/AUTPRINT.MRK", "x");
  EXPECT_TRUE(ListCameraPictureFiles(other / "DCIM/").empty());
}

TEST_F(CardFoldersTest, FileSizeOfFilesOnlyAndMinusOneOtherwise) {
  EXPECT_EQ(CardFileSize(Dcim("100CASIO/CIMG0004.AVI")), 5);
  Write(dir / "empty", "");
  EXPECT_EQ(CardFileSize(dir / "empty"), 0);
  EXPECT_EQ(CardFileSize(Dcim("100CASIO/missing.jpg")), -1);
  EXPECT_EQ(CardFileSize(Dcim("100CASIO/LINK.JPG")), -1);
  EXPECT_EQ(CardFileSize(Dcim("100CASIO/FOLDER.JPG")), -1);
  ::mkfifo((dir / "fifo").c_str(), 0600);
  EXPECT_EQ(CardFileSize(dir / "fifo"), -1);  // and does not block
}

TEST_F(CardFoldersTest, DeletingContentsEmptiesTheTreeButNeverFollowsLinks) {
  ::chmod(Dcim("101CASIO").c_str(), 0500);  // a read-only folder on the card
  const tcarddeletion result = DeleteFolderContents(Dcim(""));
  EXPECT_TRUE(result.failed.empty());
  EXPECT_GT(result.removed, 8);
  EXPECT_TRUE(fs::is_directory(Dcim("")));  // the folder itself stays
  EXPECT_TRUE(fs::is_empty(Dcim("")));
  // What the links pointed at is untouched.
  EXPECT_TRUE(fs::exists(Home("precious.jpg")));
  EXPECT_TRUE(fs::exists(Home("album/a.JPG")));
}

TEST_F(CardFoldersTest, DeletingAFolderThatIsNotThereReportsIt) {
  const tcarddeletion result = DeleteFolderContents(dir / "nowhere");
  EXPECT_EQ(result.removed, 0);
  ASSERT_EQ(result.failed.size(), 1u);
}

TEST_F(CardFoldersTest, DeletingALinkedFolderDoesNotEmptyItsTarget) {
  // The folder given is itself a link to the user's album: nothing is removed.
  const tcarddeletion result = DeleteFolderContents(Dcim("102LINK"));
  EXPECT_EQ(result.removed, 0);
  EXPECT_TRUE(fs::exists(Home("album/a.JPG")));
}

TEST_F(CardFoldersTest, CameraFolderInAnyCaseButNotALink) {
  EXPECT_EQ(CameraFolderOf(Card()), Dcim(""));
  EXPECT_EQ(CameraFolderOf(Card() + "/"), Dcim(""));

  TempDir lower;
  fs::create_directories(lower / "dcim/100casio");
  EXPECT_EQ(CameraFolderOf(lower.path()), lower / "dcim/");

  TempDir linked;
  fs::create_directory_symlink(Dcim(""), linked / "DCIM");
  EXPECT_EQ(CameraFolderOf(linked.path()), "");

  TempDir file;
  Write(file / "DCIM", "a file");
  EXPECT_EQ(CameraFolderOf(file.path()), "");
  EXPECT_EQ(CameraFolderOf(dir / "nowhere"), "");
}

TEST_F(CardFoldersTest, TheLastVolumeHoldingDcimIsTheCard) {
  TempDir a, b, c;
  fs::create_directories(a / "DCIM");
  fs::create_directories(b / "Dcim");
  // c holds no DCIM.
  const std::vector<tcardvolume> volumes{{a.path(), "A"}, {b.path(), "B"}, {c.path(), ""}};
  const auto card = FindCard(volumes);
  ASSERT_TRUE(card.has_value());
  EXPECT_EQ(card->root, b.path());
  EXPECT_EQ(card->label, "B");

  EXPECT_FALSE(FindCard({{c.path(), ""}}).has_value());
  EXPECT_FALSE(FindCard({}).has_value());
}

TEST_F(CardFoldersTest, DriveListPutsTheUsersFoldersFirstOnce) {
  TempDir a, b;
  const auto list = CardDriveList({a.path() + "/", b.path(), a.path()});
  ASSERT_GE(list.size(), 2u);
  EXPECT_EQ(list[0].root, b.path());
  EXPECT_EQ(list[1].root, a.path());
  for (std::size_t i = 2; i < list.size(); ++i) {
    EXPECT_NE(list[i].root, a.path());
    EXPECT_NE(list[i].root, b.path());
  }
  fs::create_directories(a / "DCIM");
  // Only a named folder holds a card here (no mounted volume under a temp folder can).
  const auto card = ScanForCard({a.path()});
  ASSERT_TRUE(card.has_value());
  if (card->root != a.path()) {
    // A real card is mounted on this machine: it wins over the named folder.
    EXPECT_FALSE(CameraFolderOf(card->root).empty());
  }
}

}  // namespace
}  // namespace vantlo
