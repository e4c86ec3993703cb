#include "library/picturecommands.h"

#include <gtest/gtest.h>

#include "library/pictureproperties.h"
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

// Answers from a script and records the questions.
struct tscript {
  std::vector<tanswer> answers;
  std::vector<std::string> asked;
  tconfirm Confirm() {
    return [this](const std::string& prompt, const std::string& path) {
      asked.push_back(prompt + path);
      tanswer a = answers.empty() ? tanswer::No : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      return a;
    };
  }
};

TEST(PictureCommands, DeleteAsksAndTakesCompanions) {
  ttempfolder dir;
  for (auto n : {"a.jpg", "a.QVJ", "b.jpg", "c.cam", "c.QVC"}) WriteText(dir / n, "x");
  tfileops ops;
  tscript script;
  script.answers = {tanswer::No, tanswer::YesToAll};
  auto r = DeletePictures({dir / "a.jpg", dir / "b.jpg", dir / "c.cam", dir / "gone.jpg"}, true,
                          script.Confirm(), ops);
  EXPECT_EQ(script.asked, (std::vector<std::string>{"Do you want to delete " + dir / "a.jpg",
                                                    "Do you want to delete " + dir / "b.jpg"}));
  EXPECT_EQ(r.done, 2);
  EXPECT_EQ(r.skipped, 1);
  EXPECT_EQ(r.failures, std::vector<std::string>{"Failed to delete " + dir / "gone.jpg"});
  EXPECT_TRUE(Exists(dir / "a.QVJ"));
  EXPECT_FALSE(Exists(dir / "c.QVC"));
  // Without confirmation nothing is asked.
  tscript silent;
  EXPECT_EQ(DeletePictures({dir / "a.jpg"}, false, silent.Confirm(), ops).done, 1);
  EXPECT_TRUE(silent.asked.empty());
  EXPECT_FALSE(Exists(dir / "a.QVJ"));
}

TEST(PictureCommands, CopyAsksBeforeOverwritingAndYesToAllStopsAsking) {
  ttempfolder src, dst;
  for (auto n : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) WriteText(src / n, std::string("new ") + n);
  WriteText(src / "b.QVJ", "props of b");
  for (auto n : {"a.jpg", "b.jpg", "c.jpg"}) WriteText(dst / n, "old");
  tfileops ops;
  tscript script;
  script.answers = {tanswer::No, tanswer::YesToAll};
  auto r = CopyPictures({src / "a.jpg", src / "b.jpg", src / "c.jpg", src / "d.jpg"},
                        dst.path() + "/", false, true, script.Confirm(), ops);
  EXPECT_EQ(script.asked.size(), 2u);
  EXPECT_EQ(r.done, 3);
  EXPECT_EQ(r.skipped, 1);
  EXPECT_EQ(Text(dst / "a.jpg"), "old");
  EXPECT_EQ(Text(dst / "c.jpg"), "new c.jpg");
  EXPECT_EQ(Text(dst / "b.QVJ"), "props of b");
  EXPECT_TRUE(Exists(src / "b.QVJ"));
}

TEST(PictureCommands, MoveIntoItsOwnFolderLosesNothing) {
  ttempfolder dir, other;
  WriteText(dir / "a.jpg", "pic");
  WriteText(dir / "a.QVJ", "props");
  tfileops ops;
  auto r = CopyPictures({dir / "a.jpg"}, dir.path(), true, true, {}, ops);
  EXPECT_EQ(r.done, 0);
  EXPECT_TRUE(r.failures.empty());
  EXPECT_EQ(Text(dir / "a.jpg"), "pic");
  EXPECT_EQ(Text(dir / "a.QVJ"), "props");
  r = CopyPictures({dir / "a.jpg"}, other.path(), true, false, {}, ops);
  EXPECT_EQ(r.done, 1);
  EXPECT_FALSE(Exists(dir / "a.jpg"));
  EXPECT_EQ(Text(other / "a.QVJ"), "props");
}

TEST(PictureCommands, RenameKeepsCompanionAndNeverReplaces) {
  ttempfolder dir;
  WriteText(dir / "a.jpg", "A");
  WriteText(dir / "a.QVJ", "props");
  WriteText(dir / "b.jpg", "B");
  WriteText(dir / "c.QVJ", "orphan");
  tfileops ops;
  try {
    RenamePicture(dir / "a.jpg", dir / "b.jpg", ops);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Unable to rename \"" + dir / "a.jpg" + "\" to \"" + dir / "b.jpg" + "\"");
  }
  EXPECT_EQ(Text(dir / "b.jpg"), "B");
  RenamePicture(dir / "a.jpg", dir / "A.JPG", ops);  // only the case changes
  EXPECT_EQ(Text(dir / "A.JPG"), "A");
  EXPECT_EQ(Text(dir / "A.QVJ"), "props");
  RenamePicture(dir / "b.jpg", dir / "c.jpg", ops);
  EXPECT_FALSE(Exists(dir / "c.QVJ"));  // the orphan did not attach to the renamed picture
}

TEST(PictureCommands, DeleteEmptyFoldersOneLevelAndNeverTheRoot) {
  ttempfolder dir;
  std::filesystem::create_directories(dir / "empty");
  std::filesystem::create_directories(dir / "outer/inner");
  WriteText(dir / "full/a.jpg", "x");
  auto r = DeleteEmptyFolders(dir.path());
  EXPECT_EQ(r.deleted, 1);
  EXPECT_EQ(r.skipped, 2);
  EXPECT_EQ(r.Summary(), "1 empty folders deleted. 2 folders skipped");
  EXPECT_TRUE(Exists(dir / "outer/inner"));
  EXPECT_THROW(DeleteEmptyFolders("/"), std::runtime_error);
  EXPECT_THROW(DeleteEmptyFolders(""), std::runtime_error);
  EXPECT_THROW(DeleteEmptyFolders("relative"), std::runtime_error);
  EXPECT_THROW(DeleteEmptyFolders(dir / "missing"), std::runtime_error);
}

TEST(PictureCommands, DefineOrientationForCamFiles) {
  ttempfolder dir;
  WriteText(dir / "a.cam", "x");
  WriteText(dir / "b.CAM", "x");
  auto r = DefineOrientation({dir / "a.cam", dir / "b.CAM", dir / "c.png"}, poUpsideDown);
  EXPECT_EQ(r.done, 2);
  EXPECT_EQ(r.failures.size(), 1u);
  tpictureproperties p;
  p.SetFile(dir / "b.CAM");
  p.Load();
  EXPECT_EQ(p.Orientation(), 2u);
  EXPECT_THROW(DefineOrientation({dir / "a.cam"}, 4), std::invalid_argument);
  EXPECT_EQ(SelectedCamFilesText(1), "You have selected 1 CAM file");
  EXPECT_EQ(SelectedCamFilesText(3), "You have selected 3 CAM files");
}

}  // namespace
}  // namespace vantlo
