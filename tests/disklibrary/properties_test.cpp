#include <gtest/gtest.h>

#include <algorithm>

#include "library/pictureproperties.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ttempfolder;
using testing::WriteBytes;

std::vector<std::uint8_t> PutString(std::vector<std::uint8_t> rec, std::size_t at,
                                    const std::string& s) {
  rec[at] = static_cast<std::uint8_t>(s.size());
  std::copy(s.begin(), s.end(), rec.begin() + static_cast<long>(at) + 1);
  return rec;
}

TEST(CompanionNames, ExtensionsMapCaseInsensitively) {
  EXPECT_EQ(CompanionPath("/p/a.JPG"), "/p/a.QVJ");
  EXPECT_EQ(CompanionPath("/p/a.jpg"), "/p/a.QVJ");
  EXPECT_EQ(CompanionPath("/p/b.Cam"), "/p/b.QVC");
  EXPECT_EQ(CompanionPath("/p/c.avi"), "/p/c.QVV");
  EXPECT_THROW(CompanionPath("/p/d.jpeg"), tpropertieserror);
  try {
    CompanionPath("/p/e.png");
  } catch (const tpropertieserror& e) {
    EXPECT_STREQ(e.what(), "File is not a JPG, CAM or AVI");
  }
  EXPECT_EQ(PictureNameForCompanion("x.QVJ"), "x.jpg");
  EXPECT_EQ(PictureNameForCompanion("x.qvc"), "x.CAM");
  EXPECT_EQ(PictureNameForCompanion("x.QVV"), "x.AVI");
  EXPECT_FALSE(PictureNameForCompanion("x.QVX"));
  EXPECT_FALSE(PictureNameForCompanion("x.txt"));
}

TEST(PictureProperties, LayoutIsByteExact) {
  ttempfolder dir;
  tpictureproperties p;
  p.SetFile(dir / "pic.JPG");
  p.SetTitle("Harbour");
  p.Description() = {"red", "car"};
  p.Keywords().Add("Sea");
  p.Keywords().Add("boat");
  p.SetOrientation(poUpsideDown);
  p.Save();

  std::vector<std::uint8_t> expected(kPropertiesSize, 0);
  expected = PutString(expected, 0, "Harbour");
  expected = PutString(expected, 256, "red");
  expected = PutString(expected, 512, "car");
  expected = PutString(expected, 2263 + 41, "boat");
  expected = PutString(expected, 2263 + 82, "sea");
  expected[3944] = 2;
  EXPECT_EQ(ReadBytes(dir / "pic.QVJ"), expected);
}

TEST(PictureProperties, RoundTripKeepsEveryByte) {
  ttempfolder dir;
  std::vector<std::uint8_t> file(kPropertiesSize, 0);
  file = PutString(file, 0, "Title");
  file[100] = 0xAB;  // a byte past the title's length: kept as held
  file = PutString(file, 256, "line one");
  file = PutString(file, 2263 + 41, "alpha");
  file = PutString(file, 2263 + 82, "beta");
  file[3944] = 3;
  WriteBytes(dir / "x.cam", file);
  WriteBytes(dir / "x.QVC", file);

  tpictureproperties p;
  p.SetFile(dir / "x.cam");
  p.Load();
  EXPECT_EQ(p.Title(), "Title");
  EXPECT_EQ(p.Description(), std::vector<std::string>{"line one"});
  EXPECT_EQ(p.Keywords().Items(), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(p.Orientation(), 3u);
  p.Save();
  EXPECT_EQ(ReadBytes(dir / "x.QVC"), file);
}

TEST(PictureProperties, ListsAreSortedCutAndDeduplicated) {
  ttempfolder dir;
  tpictureproperties p;
  p.SetFile(dir / "a.jpg");
  for (int i = 0; i < 10; ++i) p.Description().push_back("line " + std::to_string(i));
  for (int i = 0; i < 41; ++i)
    p.Keywords().Add("kw" + std::string(1, static_cast<char>('A' + i / 10)) +
                     std::to_string(i % 10));
  p.Keywords().Add("KWA0");  // duplicate in another case
  p.Keywords().Add(std::string(60, 'z'));
  p.Save();

  tpictureproperties q;
  q.SetFile(dir / "a.jpg");
  q.Load();
  ASSERT_EQ(q.Description().size(), 8u);
  EXPECT_EQ(q.Description().back(), "line 7");
  ASSERT_EQ(q.Keywords().Size(), 40u);
  EXPECT_EQ(q.Keywords().Items().front(), "kwa0");
  EXPECT_EQ(q.Keywords().Items().back(), "kwd9");  // kwe0 and the z's fell off the end
}

TEST(PictureProperties, BlankDescriptionLineClosesOnReload) {
  ttempfolder dir;
  tpictureproperties p;
  p.SetFile(dir / "a.jpg");
  p.Description() = {"one", "", "three"};
  p.Save();
  auto bytes = ReadBytes(dir / "a.QVJ");
  EXPECT_EQ(bytes[512], 0);  // the blank line is an empty slot
  p.SetFile(dir / "a.jpg");
  p.Load();
  EXPECT_EQ(p.Description(), (std::vector<std::string>{"one", "three"}));
}

TEST(PictureProperties, SavingNothingRemovesTheCompanion) {
  ttempfolder dir;
  tpictureproperties p;
  p.SetFile(dir / "a.jpg");
  p.SetTitle("x");
  p.Save();
  ASSERT_TRUE(Exists(dir / "a.QVJ"));
  p.SetTitle("");
  p.Save();
  EXPECT_FALSE(Exists(dir / "a.QVJ"));
  EXPECT_EQ(p.PicturePath(), "");
  EXPECT_THROW(p.Save(), tpropertieserror);  // cleared: "No file specified"
  tpictureproperties none;
  EXPECT_THROW(none.Load(), tpropertieserror);
}

TEST(PictureProperties, SaveLeavesNoTemporaryFiles) {
  ttempfolder dir;
  tpictureproperties p;
  p.SetFile(dir / "a.jpg");
  p.SetTitle("t");
  p.Save();
  p.SetTitle("u");
  p.Save();
  // The companion and the folder's list of hidden names, nothing else.
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.QVJ"}));
}

TEST(DamagedCompanion, ShortFileAndLengthPastTheEnd) {
  ttempfolder dir;
  // Title claims 200 characters but the file ends after 10 bytes.
  std::vector<std::uint8_t> file = {200, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i'};
  WriteBytes(dir / "a.QVJ", file);
  tpictureproperties p;
  p.SetFile(dir / "a.jpg");
  p.Load();
  EXPECT_EQ(p.Title(), "abcdefghi");
  EXPECT_TRUE(p.Description().empty());
  EXPECT_TRUE(p.Keywords().Empty());
  EXPECT_EQ(p.Orientation(), 0u);

  // A description line cut by the end of the file.
  std::vector<std::uint8_t> cut(300, 0);
  cut[256] = 255;
  cut[257] = 'x';
  WriteBytes(dir / "b.QVJ", cut);
  p.SetFile(dir / "b.jpg");
  p.Load();
  ASSERT_EQ(p.Description().size(), 1u);
  EXPECT_EQ(p.Description()[0].size(), 300u - 257u);
}

TEST(DamagedCompanion, KeywordLength255IsClampedTo40) {
  ttempfolder dir;
  std::vector<std::uint8_t> file(kPropertiesSize, 'q');
  for (int line = 0; line <= 8; ++line) file[256 * static_cast<std::size_t>(line)] = 0;
  for (int k = 1; k <= 40; ++k) file[2263 + 41 * static_cast<std::size_t>(k)] = 0;
  file[2263 + 41] = 255;
  file[3944] = 9;  // orientation out of range
  file[3945] = file[3946] = file[3947] = 0;
  WriteBytes(dir / "a.QVC", file);
  tpictureproperties p;
  p.SetFile(dir / "a.CAM");
  p.Load();
  ASSERT_EQ(p.Keywords().Size(), 1u);
  EXPECT_EQ(p.Keywords().Items()[0], std::string(40, 'q'));
  EXPECT_EQ(p.Orientation(), 0u);
}

TEST(DamagedCompanion, OversizedFileReadsOnlyTheRecord) {
  ttempfolder dir;
  std::vector<std::uint8_t> file(kPropertiesSize + 500, 0);
  file = PutString(file, 0, "T");
  file[kPropertiesSize + 10] = 7;
  WriteBytes(dir / "a.QVV", file);
  tpictureproperties p;
  p.SetFile(dir / "a.avi");
  p.Load();
  EXPECT_EQ(p.Title(), "T");
  p.Save();
  EXPECT_EQ(ReadBytes(dir / "a.QVV").size(), kPropertiesSize);
}

}  // namespace
}  // namespace vantlo
