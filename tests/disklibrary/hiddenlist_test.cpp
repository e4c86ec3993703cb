// The folder's ".hidden" list that keeps companion properties files out of file managers: names
// are added when the program writes a companion and taken out when it goes, and nothing else in
// the file changes.
#include "library/hiddenlist.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "library/companionfiles.h"
#include "library/fileops.h"
#include "library/pictureproperties.h"
#include "library/tidydb.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ttempfolder;
using testing::WriteText;

std::string ReadText(const std::string& path) {
  const auto b = ReadBytes(path);
  return std::string(b.begin(), b.end());
}

void SetTitle(const std::string& picture, const std::string& title) {
  tpictureproperties p;
  p.SetFile(picture);
  p.SetTitle(title);
  p.Save();
}

TEST(HiddenList, AddsAndDropsOnlyItsOwnLine) {
  ttempfolder dir;
  const std::string list = dir / ".hidden";
  EXPECT_EQ(HiddenListOf(dir / "a.QVJ"), list);

  // Other lines, one without a final newline and one with a Windows line end, stay as they are.
  WriteText(list, "notes.txt\r\nsnap\n\nold");
  ASSERT_TRUE(AddToHiddenList(dir / "a.QVJ"));
  EXPECT_EQ(ReadText(list), "notes.txt\r\nsnap\n\nold\na.QVJ\n");
  ASSERT_TRUE(AddToHiddenList(dir / "a.QVJ"));  // listed once
  ASSERT_TRUE(AddToHiddenList(dir / "b.QVC"));
  EXPECT_EQ(ReadText(list), "notes.txt\r\nsnap\n\nold\na.QVJ\nb.QVC\n");
  ASSERT_TRUE(DropFromHiddenList(dir / "a.QVJ"));
  EXPECT_EQ(ReadText(list), "notes.txt\r\nsnap\n\nold\nb.QVC\n");
  ASSERT_TRUE(DropFromHiddenList(dir / "not-listed.QVJ"));
  EXPECT_EQ(ReadText(list), "notes.txt\r\nsnap\n\nold\nb.QVC\n");

  // The file keeps its mode when rewritten.
  ASSERT_EQ(::chmod(list.c_str(), 0600), 0);
  ASSERT_TRUE(AddToHiddenList(dir / "c.QVV"));
  struct stat st {};
  ASSERT_EQ(::stat(list.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(HiddenList, MadeForTheFirstNameAndRemovedWithTheLast) {
  ttempfolder dir;
  ASSERT_TRUE(AddToHiddenList(dir / "x.QVJ"));
  EXPECT_EQ(ReadText(dir / ".hidden"), "x.QVJ\n");
  ASSERT_TRUE(DropFromHiddenList(dir / "x.QVJ"));
  EXPECT_FALSE(Exists(dir / ".hidden"));
}

TEST(HiddenList, LeavesALinkOrAFolderInItsPlaceAlone) {
  ttempfolder dir;
  WriteText(dir / "elsewhere", "keep\n");
  ASSERT_EQ(::symlink((dir / "elsewhere").c_str(), (dir / ".hidden").c_str()), 0);
  EXPECT_FALSE(AddToHiddenList(dir / "x.QVJ"));
  EXPECT_EQ(ReadText(dir / "elsewhere"), "keep\n");
  struct stat st {};
  ASSERT_EQ(::lstat((dir / ".hidden").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// Writing, renaming, copying, moving and deleting pictures keeps every folder's list in step
// with the companion files really there.
TEST(HiddenList, FollowsTheCompanionFiles) {
  ttempfolder dir;
  ttempfolder other;
  WriteText(dir / ".hidden", "mine\n");
  WriteText(dir / "a.jpg", "jpeg");
  SetTitle(dir / "a.jpg", "Harbour");
  EXPECT_EQ(ReadText(dir / ".hidden"), "mine\na.QVJ\n");

  tfileops ops;
  tcompanionfiles files(ops);
  ASSERT_TRUE(files.Rename(dir / "a.jpg", dir / "b.jpg").Ok());
  EXPECT_EQ(ReadText(dir / ".hidden"), "mine\nb.QVJ\n");
  ASSERT_TRUE(files.Copy(dir / "b.jpg", other / "c.jpg").Ok());
  EXPECT_EQ(ReadText(other / ".hidden"), "c.QVJ\n");
  ASSERT_TRUE(files.Move(dir / "b.jpg", other / "d.jpg").Ok());
  EXPECT_EQ(ReadText(dir / ".hidden"), "mine\n");
  EXPECT_EQ(ReadText(other / ".hidden"), "c.QVJ\nd.QVJ\n");
  ASSERT_TRUE(files.Delete(other / "c.jpg").Ok());
  EXPECT_EQ(ReadText(other / ".hidden"), "d.QVJ\n");

  // Properties cleared: the companion goes, and its line with it.
  SetTitle(other / "d.jpg", "");
  EXPECT_FALSE(Exists(other / "d.QVJ"));
  EXPECT_FALSE(Exists(other / ".hidden"));

  // Compress removes an orphan companion and its line.
  WriteText(other / "e.jpg", "jpeg");
  SetTitle(other / "e.jpg", "orphan");
  ASSERT_TRUE(ops.Delete(other / "e.jpg").Ok());
  EXPECT_EQ(ReadText(other / ".hidden"), "e.QVJ\n");
  EXPECT_EQ(ttidydb().Compress(other.path(), {}).removed, 1);
  EXPECT_FALSE(Exists(other / ".hidden"));
}

}  // namespace
}  // namespace vantlo
