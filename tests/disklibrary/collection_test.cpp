#include <gtest/gtest.h>

#include "library/imagecollection.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteText;

std::vector<std::string> Listing(const timagecollection& c) {
  std::vector<std::string> out;
  for (int n = 1; n <= c.Count(); ++n)
    out.push_back(std::string(1, KindLetter(c.Kind(n))) + ":" + c.DisplayName(n));
  return out;
}

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto name : {"b.jpg", "A.JPG", "c.cam", "PHOTO.JPEG", "m.AVI", "notes.txt", "a.QVJ"})
      WriteText(dir / name, "x");
    std::filesystem::create_directory(dir / "Zeta");
    std::filesystem::create_directory(dir / "alpha");
  }
  ttempfolder dir;
};

TEST_F(ScanTest, EachFlag) {
  timagecollection c;
  c.Scan(dir.path(), sfJpeg);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"J:A.JPG", "J:b.jpg"}));
  EXPECT_EQ(c.Folder(), dir.path() + "/");
  c.Scan(dir.path(), sfCam);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"M:c.cam"}));
  c.Scan(dir.path(), sfAvi);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"V:m.AVI"}));
  c.Scan(dir.path(), sfFolders);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"F:..", "F:alpha", "F:Zeta"}));
  c.Scan(dir.path(), kDefaultScanFlags);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"F:..", "F:alpha", "F:Zeta", "J:A.JPG", "J:b.jpg",
                                                  "M:c.cam", "V:m.AVI"}));
  // Every file: the .jpeg file appears only here, as "other"; companions never.
  c.Scan(dir.path(), sfAllFiles | sfJpeg);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"J:A.JPG", "J:b.jpg", "M:c.cam", "V:m.AVI",
                                                  "X:notes.txt", "X:PHOTO.JPEG"}));
}

TEST_F(ScanTest, ItemDataAndErrors) {
  timagecollection c;
  c.Scan(dir.path(), kDefaultScanFlags);
  EXPECT_EQ(c.Path(4), dir / "A.JPG");
  EXPECT_EQ(c.FileSize(4), 1u);
  EXPECT_EQ(c.FileSize(1), 0u);
  EXPECT_EQ(c.Path(0), "");
  EXPECT_EQ(c.Path(99), "");
  EXPECT_EQ(c.Kind(99), ikOther);
  try {
    c.Scan(dir / "missing", kDefaultScanFlags);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), dir / "missing" + " does not exist");
  }
  timagecollection list;
  list.AddFile(dir / "c.cam");
  EXPECT_THROW(list.AddFile(dir / "nope.jpg"), std::runtime_error);
  EXPECT_EQ(list.Count(), 1);
}

TEST(FileKinds, LastFourCharacters) {
  EXPECT_EQ(FileKind("x.CaM"), ikCam);
  EXPECT_EQ(FileKind("x.jpg"), ikJpeg);
  EXPECT_EQ(FileKind("x.avi"), ikAvi);
  EXPECT_EQ(FileKind("x.jpeg"), ikOther);
  EXPECT_EQ(FileKind(".jp"), ikOther);
  EXPECT_EQ(FileKind(".JPG"), ikJpeg);
}

TEST(DateFolders, CalendarOrderWithinRuns) {
  int d = 0;
  EXPECT_TRUE(ParseDateFolderName("05jan99", d));
  EXPECT_EQ(d, 19990105);
  EXPECT_TRUE(ParseDateFolderName("03FEB00", d));
  EXPECT_EQ(d, 20000203);
  EXPECT_FALSE(ParseDateFolderName("05XYZ99", d));
  EXPECT_FALSE(ParseDateFolderName("5JAN199", d));
  EXPECT_FALSE(ParseDateFolderName("05ANF99", d));  // month text must start on a month

  std::vector<std::string> paths = {"/p/..", "/p/03FEB00", "/p/05JAN99", "/p/12DEC98"};
  OrderDateFolders(paths);
  EXPECT_EQ(paths, (std::vector<std::string>{"/p/..", "/p/12DEC98", "/p/05JAN99", "/p/03FEB00"}));

  // A name in the middle that is not a date splits the runs.
  paths = {"/p/03FEB00", "/p/01JAN00", "/p/holiday", "/p/09MAR99", "/p/02MAR99"};
  OrderDateFolders(paths);
  EXPECT_EQ(paths, (std::vector<std::string>{"/p/01JAN00", "/p/03FEB00", "/p/holiday", "/p/02MAR99",
                                             "/p/09MAR99"}));
}

TEST(DateFolders, ScannedFolderIsOrdered) {
  ttempfolder dir;
  for (auto name : {"05JAN99", "03FEB00", "12DEC98"}) std::filesystem::create_directory(dir / name);
  timagecollection c;
  c.Scan(dir.path(), sfFolders);
  EXPECT_EQ(Listing(c), (std::vector<std::string>{"F:..", "F:12DEC98", "F:05JAN99", "F:03FEB00"}));
}

}  // namespace
}  // namespace vantlo
