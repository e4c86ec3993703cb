#include "library/findpics.h"

#include <gtest/gtest.h>

#include "library/keywords.h"
#include "library/pictureproperties.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteText;

void MakePicture(const std::string& path, const std::string& title,
                 std::vector<std::string> description, std::vector<std::string> keywords) {
  WriteText(path, "picture");
  tpictureproperties p;
  p.SetFile(path);
  p.SetTitle(title);
  p.Description() = std::move(description);
  for (auto& k : keywords) p.Keywords().Add(k);
  p.Save();
}

std::vector<std::string> Names(const tfindresult& r) {
  std::vector<std::string> out;
  for (auto& p : r.pictures) out.push_back(std::filesystem::path(p).filename().string());
  return out;
}

TEST(TextMatch, ShorterTextOccursInLonger) {
  EXPECT_TRUE(TextMatches("sea", "seaside"));
  EXPECT_TRUE(TextMatches("sea", "se"));
  EXPECT_TRUE(TextMatches("SEA", "sea"));
  EXPECT_FALSE(TextMatches("sea", "ocean"));
  EXPECT_FALSE(TextMatches("sea", ""));
  EXPECT_FALSE(TextMatches("", "sea"));
}

TEST(Wildcards, WindowsStylePatterns) {
  EXPECT_TRUE(WildcardMatches("*.*", "README"));
  EXPECT_TRUE(WildcardMatches("dsc*.*", "DSC0001.JPG"));
  EXPECT_TRUE(WildcardMatches("dsc*.*", "dscfile"));
  EXPECT_FALSE(WildcardMatches("dsc*.*", "img.jpg"));
  EXPECT_TRUE(WildcardMatches("*.jpg", "a.JPG"));
  EXPECT_FALSE(WildcardMatches("*.jpg", "a.jpeg"));
  EXPECT_TRUE(WildcardMatches("*.QV?", "a.qvc"));
}

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakePicture(dir / "a.jpg", "Harbour at dawn", {"red", "car"}, {"seaside"});
    MakePicture(dir / "b.CAM", "Mountain", {}, {"se"});
    MakePicture(dir / "sub/c.jpg", "Ocean", {}, {"ocean"});
    MakePicture(dir / "sub/d.avi", "Sea film", {}, {});
    MakePicture(dir / "sub/gone.jpg", "Sea gone", {}, {"sea"});
    std::filesystem::remove(dir / "sub/gone.jpg");
    WriteText(dir / "sub/stray.QVX", "junk");  // not a companion at all
    MakePicture(dir / "sub/zz.jpg", "last", {}, {"seaweed"});
    WriteText(dir / "dsc0001.jpg", "x");
    WriteText(dir / "DSC0002.CAM", "x");
  }
  tfindresult Run(tfindmode mode, const std::string& text, bool sub = true, bool jpg = true,
                  bool cam = true) {
    tfindoptions o;
    o.root = dir.path();
    o.text = text;
    o.mode = mode;
    o.subfolders = sub;
    o.jpg = jpg;
    o.cam = cam;
    return tfindpics().Find(o);
  }
  ttempfolder dir;
};

TEST_F(FindTest, KeywordModeMatchesBothWays) {
  auto r = Run(tfindmode::Keywords, "sea");
  EXPECT_EQ(Names(r), (std::vector<std::string>{"a.jpg", "b.CAM", "zz.jpg"}));
  // The companion without a picture and the stray file were skipped, and
  // the search went on past them.
  EXPECT_EQ(r.skipped.size(), 2u);
  EXPECT_EQ(r.Summary(), "3 pictures found");
}

TEST_F(FindTest, TitleDescriptionAndAny) {
  EXPECT_EQ(Names(Run(tfindmode::Title, "ocean")), std::vector<std::string>{"c.jpg"});
  EXPECT_EQ(Names(Run(tfindmode::Description, "redcar")), std::vector<std::string>{"a.jpg"});
  EXPECT_TRUE(Run(tfindmode::Description, "red car").pictures.empty());
  EXPECT_EQ(Names(Run(tfindmode::AnyProperty, "film")), std::vector<std::string>{"d.avi"});
  EXPECT_EQ(Names(Run(tfindmode::AnyProperty, "ocean")), std::vector<std::string>{"c.jpg"});
}

TEST_F(FindTest, FileKindsAndRecursion) {
  EXPECT_EQ(Names(Run(tfindmode::Keywords, "se", true, true, false)),
            (std::vector<std::string>{"a.jpg", "zz.jpg"}));
  EXPECT_EQ(Names(Run(tfindmode::Keywords, "se", true, false, true)),
            std::vector<std::string>{"b.CAM"});
  EXPECT_EQ(Names(Run(tfindmode::Keywords, "sea", false)),
            (std::vector<std::string>{"a.jpg", "b.CAM"}));
  EXPECT_THROW(Run(tfindmode::Keywords, "sea", true, false, false), tfinderror);
  EXPECT_TRUE(Run(tfindmode::Keywords, "").pictures.empty());
}

TEST_F(FindTest, FilenameMode) {
  EXPECT_EQ(Names(Run(tfindmode::Filename, "dsc")),
            (std::vector<std::string>{"dsc0001.jpg", "DSC0002.CAM"}));
  EXPECT_EQ(Run(tfindmode::Filename, "*.jpg").pictures.size(), 4u);  // a, c, zz and dsc0001
  EXPECT_EQ(Names(Run(tfindmode::Filename, "a", false)),
            std::vector<std::string>{"a.jpg"});  // not a.QVJ
  EXPECT_THROW(Run(tfindmode::Filename, "../*.jpg"), tfinderror);
  // With neither file kind ticked the search is refused in this mode too.
  try {
    Run(tfindmode::Filename, "*.jpg", true, false, false);
    ADD_FAILURE() << "searched with no file kind chosen";
  } catch (const tfinderror& e) {
    EXPECT_STREQ(e.what(), "You have not selected any files to Look For");
  }
  EXPECT_THROW(Run(tfindmode::Filename, "/etc/*.*"), tfinderror);
}

TEST_F(FindTest, StopEndsBeforeTheNextFolder) {
  tfindoptions o;
  o.root = dir.path();
  o.text = "sea";
  int folders = 0;
  auto r = tfindpics().Find(o, [&](const std::string& t) {
    if (t.rfind("Searching /", 0) == 0) ++folders;
    return folders < 2;
  });
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(Names(r), (std::vector<std::string>{"a.jpg", "b.CAM"}));
}

TEST(AddKeywords, FortyKeywordsStayForty) {
  ttempfolder dir;
  std::vector<std::string> pictures;
  for (int i = 0; i < 45; ++i) {
    pictures.push_back(dir / ("p" + std::to_string(i) + (i % 2 ? ".jpg" : ".CAM")));
    WriteText(pictures.back(), "x");
  }
  pictures.push_back(dir / "movie.avi");
  WriteText(pictures.back(), "x");
  std::vector<std::string> full;
  for (int k = 0; k < 40; ++k) full.push_back("m" + std::to_string(10 + k));
  MakePicture(pictures[0], "", {}, full);

  auto r = AddKeywordsToPictures(pictures, {"Beach", "", "beach", "a1"});
  EXPECT_EQ(r.updated, 45);
  EXPECT_EQ(r.skipped, 1);
  EXPECT_TRUE(r.failed.empty());
  EXPECT_FALSE(testing::Exists(dir / "movie.QVV"));

  tpictureproperties p;
  p.SetFile(pictures[0]);
  p.Load();
  ASSERT_EQ(p.Keywords().Size(), 40u);
  EXPECT_EQ(p.Keywords().Items()[0], "a1");
  EXPECT_EQ(p.Keywords().Items()[1], "beach");
  EXPECT_EQ(p.Keywords().Items().back(), "m47");
  p.SetFile(pictures[7]);
  p.Load();
  EXPECT_EQ(p.Keywords().Items(), (std::vector<std::string>{"a1", "beach"}));
  EXPECT_EQ(SelectedPicturesText(1), "You have selected 1 picture");
  EXPECT_EQ(SelectedPicturesText(46), "You have selected 46 pictures");
}

}  // namespace
}  // namespace vantlo
