#include "library/fileops.h"

#include <gtest/gtest.h>

#include "library/companionfiles.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::ttempfolder;
using testing::WriteText;

std::string Text(const std::string& path) {
  auto b = ReadBytes(path);
  return std::string(b.begin(), b.end());
}

TEST(FileOps, RenameNeverReplacesUnlessAsked) {
  ttempfolder dir;
  WriteText(dir / "a.jpg", "A");
  WriteText(dir / "b.jpg", "B");
  tfileops ops;
  EXPECT_EQ(ops.Rename(dir / "a.jpg", dir / "b.jpg").status, tfilestatus::TargetExists);
  EXPECT_EQ(Text(dir / "b.jpg"), "B");
  EXPECT_TRUE(ops.Rename(dir / "a.jpg", dir / "b.jpg", true).Ok());
  EXPECT_EQ(Text(dir / "b.jpg"), "A");
  EXPECT_FALSE(Exists(dir / "a.jpg"));
  EXPECT_EQ(RenameNoReplace(dir / "b.jpg", dir / "c.jpg"), 0);
  EXPECT_EQ(ops.Rename("b.jpg", dir / "d.jpg").status, tfilestatus::NotAbsolute);
  EXPECT_EQ(ops.Rename(dir / "missing.jpg", dir / "d.jpg").status, tfilestatus::SourceMissing);
}

TEST(FileOps, CopyOntoItselfKeepsTheFile) {
  ttempfolder dir;
  WriteText(dir / "a.jpg", "picture");
  tfileops ops;
  EXPECT_EQ(ops.Copy(dir / "a.jpg", dir / "a.jpg", true).status, tfilestatus::SameFile);
  EXPECT_EQ(ops.Copy(dir / "a.jpg", dir / "./a.jpg", true).status, tfilestatus::SameFile);
  EXPECT_EQ(Text(dir / "a.jpg"), "picture");
}

TEST(FileOps, MoveOntoItselfDoesNothing) {
  ttempfolder dir;
  WriteText(dir / "a.jpg", "picture");
  tfileops ops(tfileopshooks{true, {}});
  EXPECT_EQ(ops.Move(dir / "a.jpg", dir / "a.jpg", true).status, tfilestatus::SameFile);
  EXPECT_EQ(
      ops.Move(dir / "a.jpg",
               dir / "../" + std::filesystem::path(dir.path()).filename().string() + "/a.jpg", true)
          .status,
      tfilestatus::Ok);  // same file, other spelling: a rename, nothing lost
  EXPECT_EQ(Text(dir / "a.jpg"), "picture");
}

TEST(FileOps, MoveAcrossFileSystemsCopiesThenDeletes) {
  ttempfolder a, b;
  WriteText(a / "p.jpg", std::string(100000, 'x'));
  tfileops ops(tfileopshooks{true, {}});
  ASSERT_TRUE(ops.Move(a / "p.jpg", b / "p.jpg").Ok());
  EXPECT_FALSE(Exists(a / "p.jpg"));
  EXPECT_EQ(ReadBytes(b / "p.jpg").size(), 100000u);
}

TEST(FileOps, FailedCopyKeepsSourceAndTarget) {
  ttempfolder a, b;
  WriteText(a / "p.jpg", std::string(5000, 'n'));
  WriteText(b / "p.jpg", "old target");
  tfileopshooks hooks;
  hooks.forceCrossDevice = true;
  hooks.failCopy = [](const std::string&) { return true; };
  tfileops ops(hooks);
  tfileresult r = ops.Move(a / "p.jpg", b / "p.jpg", true);
  EXPECT_EQ(r.status, tfilestatus::Failed);
  EXPECT_EQ(ReadBytes(a / "p.jpg").size(), 5000u);
  EXPECT_EQ(Text(b / "p.jpg"), "old target");
  EXPECT_EQ(ops.Copy(a / "p.jpg", b / "q.jpg").status, tfilestatus::Failed);
  EXPECT_FALSE(Exists(b / "q.jpg"));
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(b.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST(FileOps, MoveAndCopyAskBeforeReplacing) {
  ttempfolder a, b;
  WriteText(a / "p.jpg", "new");
  WriteText(b / "p.jpg", "old");
  tfileops ops(tfileopshooks{true, {}});
  EXPECT_EQ(ops.Move(a / "p.jpg", b / "p.jpg").status, tfilestatus::TargetExists);
  EXPECT_EQ(ops.Copy(a / "p.jpg", b / "p.jpg").status, tfilestatus::TargetExists);
  EXPECT_EQ(Text(b / "p.jpg"), "old");
  EXPECT_TRUE(ops.Copy(a / "p.jpg", b / "p.jpg", true).Ok());
  EXPECT_EQ(Text(b / "p.jpg"), "new");
  EXPECT_TRUE(Exists(a / "p.jpg"));
}

TEST(CompanionFiles, FollowTheirPictures) {
  ttempfolder a, b;
  WriteText(a / "p.JPG", "pic");
  WriteText(a / "p.QVJ", "props");
  tfileops ops;
  tcompanionfiles files(ops);

  ASSERT_TRUE(files.Rename(a / "p.JPG", a / "q.jpg").Ok());
  EXPECT_TRUE(Exists(a / "q.jpg"));
  EXPECT_EQ(Text(a / "q.QVJ"), "props");
  EXPECT_FALSE(Exists(a / "p.QVJ"));

  ASSERT_TRUE(files.Copy(a / "q.jpg", b / "c.jpg").Ok());
  EXPECT_EQ(Text(b / "c.QVJ"), "props");
  EXPECT_TRUE(Exists(a / "q.QVJ"));

  ASSERT_TRUE(files.Move(a / "q.jpg", b / "m.jpg").Ok());
  EXPECT_FALSE(Exists(a / "q.jpg"));
  EXPECT_FALSE(Exists(a / "q.QVJ"));
  EXPECT_EQ(Text(b / "m.QVJ"), "props");

  ASSERT_TRUE(files.Delete(b / "m.jpg").Ok());
  EXPECT_FALSE(Exists(b / "m.jpg"));
  EXPECT_FALSE(Exists(b / "m.QVJ"));
}

TEST(CompanionFiles, ReplacedTargetLosesItsOldProperties) {
  ttempfolder dir;
  WriteText(dir / "a.cam", "A");
  WriteText(dir / "b.cam", "B");
  WriteText(dir / "b.QVC", "B's properties");
  tfileops ops;
  tcompanionfiles files(ops);
  EXPECT_EQ(files.Copy(dir / "a.cam", dir / "b.cam").status, tfilestatus::TargetExists);
  EXPECT_TRUE(Exists(dir / "b.QVC"));
  ASSERT_TRUE(files.Copy(dir / "a.cam", dir / "b.cam", true).Ok());
  EXPECT_FALSE(Exists(dir / "b.QVC"));
}

TEST(CompanionFiles, MoveAcrossFileSystemsWithFailedCopyLosesNothing) {
  ttempfolder a, b;
  WriteText(a / "p.avi", "movie");
  WriteText(a / "p.QVV", "props");
  tfileopshooks hooks;
  hooks.forceCrossDevice = true;
  hooks.failCopy = [](const std::string& src) { return src.ends_with(".avi"); };
  tfileops ops(hooks);
  tcompanionfiles files(ops);
  EXPECT_FALSE(files.Move(a / "p.avi", b / "p.avi").Ok());
  EXPECT_EQ(Text(a / "p.avi"), "movie");
  EXPECT_EQ(Text(a / "p.QVV"), "props");
  EXPECT_FALSE(Exists(b / "p.avi"));
  EXPECT_FALSE(Exists(b / "p.QVV"));
}

}  // namespace
}  // namespace vantlo
